// Size, help and about dialogs, the Japanese standard buttons, the new puzzle and its background work.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app_test_support.h"
#include "core/complete/complete_solver.h"
#include "view/dialogs.h"

namespace {

QStringList LabelTexts(const QWidget* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (!label->text().isEmpty()) texts.append(label->text());
  return texts;
}

// Every control lies inside the dialog and every text has room for itself.
void VerifyLayout(QWidget* dialog) {
  for (const QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QVERIFY2(dialog->rect().contains(child->geometry()), qPrintable(child->objectName()));
    if (const auto* label = qobject_cast<const QLabel*>(child))
      QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
               qPrintable(label->text()));
  }
}

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QLatin1String(name));
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  // Opens on the current size, focus on the width. A refused entry warns and keeps the dialog
  // open, focus on its field (then 30 x 40). OK makes a new empty board even at the same size.
  void sizeCommand_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("refusal");
    const QString integer = "整数を入力してください。";
    const QString wide = "6 から 30 までの整数を入力してください。";
    const QString high = "6 から 40 までの整数を入力してください。";
    QTest::newRow("width 5") << "5" << "8" << "IDOK" << wide;
    QTest::newRow("width abc") << "abc" << "8" << "IDOK" << integer;
    QTest::newRow("height 41") << "8" << "41" << "IDOK" << high;
    QTest::newRow("height 5") << "8" << "5" << "IDOK" << high;
    QTest::newRow("30 x 40") << "30" << "40" << "IDOK" << "";
    QTest::newRow("same size") << "8" << "8" << "IDOK" << "";
    QTest::newRow("cancel") << "12" << "20" << "IDCANCEL" << "";
  }
  void sizeCommand() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, button);
    QFETCH(QString, refusal);
    Shell s;
    s.state.Board[1][1].number = 4;
    s.state.Mode = numbloc::SolvePlayed;
    const auto before = Bytes(s.state);
    QStringList seen;
    WhenModalShown([&](QWidget* modal) {
      auto* dlg = qobject_cast<CSizeDlg*>(modal);
      const auto focus = [dlg] { return dlg->focusWidget() == dlg->WidthField() ? "width" : "height"; };
      seen << dlg->windowTitle() << LabelTexts(dlg) << dlg->WidthField()->text() << dlg->HeightField()->text()
           << Button(dlg, "IDOK")->text() << Button(dlg, "IDCANCEL")->text() << focus()
           << (Button(dlg, "IDOK")->isDefault() ? "OK default" : "OK not default");
      VerifyLayout(dlg);
      dlg->WidthField()->setText(width);
      dlg->HeightField()->setText(height);
      QTest::mouseClick(Button(dlg, qPrintable(button)), Qt::LeftButton);
      if (!dlg->isVisible()) return;
      seen << focus();
      dlg->WidthField()->setText("30");
      dlg->HeightField()->setText("40");
      QTest::mouseClick(Button(dlg, "IDOK"), Qt::LeftButton);
    });
    s.frame->Action("ID_CHANGE_SIZE")->trigger();
    QStringList expected{"ｻｲｽﾞ変更", "横ｻｲｽﾞ(6～30)", "縦ｻｲｽﾞ(6～40)", "8", "8", "OK", "ｷｬﾝｾﾙ", "width", "OK default"};
    if (!refusal.isEmpty()) expected << (height == "8" ? "width" : "height");
    QCOMPARE(seen, expected);
    QCOMPARE(s.warnings, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    if (button == "IDCANCEL") {
      s.Repaint();
      QVERIFY(Bytes(s.state) == before);
      return;
    }
    const int w = refusal.isEmpty() ? width.toInt() : 30, h = refusal.isEmpty() ? height.toInt() : 40;
    QCOMPARE(QSize(s.state.BoardWidth, s.state.BoardHeight), QSize(w, h));
    s.Repaint();  // makes the empty board of the new size
    QCOMPARE(s.state.MaxNumber, w == 30 ? 40 : 10);
    QCOMPARE(s.state.Board[1][1].number, 0);
    QVERIFY(!s.frame->IsModified());
  }

  // Each help dialog: caption, number of lines (text anchors), default OK, the about box's icon.
  void helpCommandsShowTheirTextsAndChangeNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("rules") << "ID_HELP_RULES" << QStringList{"ルール説明", "5"};
    QTest::newRow("create") << "ID_HELP_CREATE" << QStringList{"操作説明（作成時）", "5"};
    QTest::newRow("solve") << "ID_HELP_SOLVE" << QStringList{"操作説明（解答時）", "6"};
    QTest::newRow("about") << "ID_APP_ABOUT" << QStringList{"ﾊﾞｰｼﾞｮﾝ", "1", "icon"};
  }
  void helpCommandsShowTheirTextsAndChangeNothing() {
    QFETCH(QString, command);
    QFETCH(QStringList, shown);
    Shell s;
    s.state.Mode = numbloc::SolveStart;
    const auto before = Bytes(s.state);
    QStringList seen;
    WhenModalShown([&](QWidget* modal) {
      const QStringList lines = LabelTexts(modal);
      seen << modal->windowTitle() << QString::number(lines.size());
      if (auto* icon = modal->findChild<QLabel*>("IDR_MAINFRAME"); icon && !icon->pixmap().isNull()) seen << "icon";
      if (QPushButton* ok = Button(modal, "IDOK"); ok && ok->isDefault()) seen << ok->text() + " default";
      VerifyLayout(modal);
      QTest::keyClick(modal, Qt::Key_Return);  // the default button
    });
    s.frame->Action(command)->trigger();
    QCOMPARE(seen, shown + QStringList{"OK default"});
    QVERIFY(Bytes(s.state) == before);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void standardButtonsSpeakJapanese() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));  // one anchor of the translation
  }

  // 問題を自動作成: the dialog keeps the largest number within the size; after the question the
  // puzzle is made in the background, unsaved and without a file; the choices are remembered.
  void generateCommand() {
    Shell s;
    s.state.Board[1][1].number = 4;
    s.frame->View()->BoardReplaced();
    const int narrow = s.frame->width(), canvas = s.frame->View()->CanvasSize().width();
    int generated = 0;  // generation jobs ended (the live verdict's are not counted)
    connect(s.frame->View(), &CNumblocView::workFinished, this,
            [&generated](numbloc::JobKind kind) { generated += kind == numbloc::JobKind::Generate; });
    s.answer = numbloc::SaveChoice::Discard;
    QStringList first;  // checked once the dialog is closed
    WhenModalShown([&first](QWidget* modal) {
      auto* dlg = qobject_cast<CGenerateDlg*>(modal);
      first << dlg->windowTitle() << QString::number(dlg->WidthBox()->value());
      dlg->WidthBox()->setValue(6);
      dlg->HeightBox()->setValue(7);
      first << QString::number(dlg->MaxNumberBox()->maximum());  // what a 6 x 7 board allows
      dlg->WidthBox()->setValue(16);
      dlg->HeightBox()->setValue(12);
      dlg->MaxNumberBox()->setValue(6);
      dlg->DifficultyBox()->setCurrentIndex(0);
      dlg->SymmetricBox()->setChecked(true);
      QTest::mouseClick(Button(dlg, "IDOK"), Qt::LeftButton);
    });
    s.frame->Action("ID_FILE_GENERATE")->trigger();
    QCOMPARE(first, (QStringList{"問題を自動作成", "10", "9"}));
    QCOMPARE(s.questions.size(), 1);
    QVERIFY(s.frame->View()->Busy());
    QVERIFY(!s.frame->Action("ID_FILE_GENERATE")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(generated, 1, 20000);
    QCOMPARE(s.state.Mode, numbloc::Creation);
    QCOMPARE(QSize(s.state.BoardWidth, s.state.BoardHeight), QSize(16, 12));
    int largest = 0;  // and the hints stand point-symmetric
    for (int x = 1; x <= 16; ++x)
      for (int y = 1; y <= 12; ++y) {
        largest = std::max(largest, int(s.state.Board[x][y].number));
        QCOMPARE(s.state.Board[x][y].number != 0, s.state.Board[17 - x][13 - y].number != 0);
      }
    QVERIFY(largest > 0 && largest <= 6);
    QCOMPARE(numbloc::complete::CompleteSolver().Solve(s.state).verdict, numbloc::complete::Verdict::Unique);
    QVERIFY(s.frame->isWindowModified());
    QVERIFY(s.frame->CurrentPath().isEmpty());
    // Laid out afresh: the canvas holds the new board and the window grows.
    s.Repaint();
    QVERIFY(s.frame->View()->CanvasSize().width() > canvas);
    QTRY_VERIFY(s.frame->width() > narrow);

    // The choices come back; cancelling the work leaves the board as it was.
    const auto made = Bytes(s.state);
    int maxNumber = 0;
    WhenModalShown([&maxNumber](QWidget* modal) {
      maxNumber = qobject_cast<CGenerateDlg*>(modal)->MaxNumberBox()->value();
      QTest::mouseClick(Button(modal, "IDCANCEL"), Qt::LeftButton);
    });
    s.frame->Action("ID_FILE_GENERATE")->trigger();
    QCOMPARE(maxNumber, 6);
    s.frame->View()->StartGenerate({.width = 30, .height = 40});
    QTest::qWait(50);
    s.frame->Action("ID_WORK_CANCEL")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(generated, 2, 2000);
    QVERIFY(Bytes(s.state) == made);
  }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
