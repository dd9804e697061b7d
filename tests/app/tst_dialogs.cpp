// The size dialog's checks and effect, the help dialogs and the about box:
// captions, texts, layout, and the Japanese standard buttons.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/numbloc_app.h"
#include "app_test_support.h"
#include "core/board/nbl_file.h"
#include "view/dialogs.h"
#include "view/numbloc_view.h"

using numbloc::BoardState;

namespace {

QStringList LabelTexts(const QWidget* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (!label->text().isEmpty()) texts.append(label->text());
  return texts;
}

// Every control lies inside the dialog and every text has room for itself.
void VerifyLayout(QWidget* dialog) {
  const QRect inside = dialog->rect();
  for (const QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QVERIFY2(inside.contains(child->geometry()), qPrintable(child->objectName()));
    if (const auto* label = qobject_cast<const QLabel*>(child)) {
      const int needed = label->fontMetrics().horizontalAdvance(label->text());
      QVERIFY2(label->width() >= needed, qPrintable(label->text()));
    }
  }
  // Saves a picture for a person to look at, when asked to.
  const QByteArray shots = qgetenv("NUMBLOC_SCREENSHOT_DIR");
  if (!shots.isEmpty())
    dialog->grab().save(QDir(QString::fromLocal8Bit(shots)).filePath(dialog->objectName() + ".png"));
}

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QLatin1String(name));
}

CMainFrame* StartShown(CNumblocApp& app) {
  app.InitInstance();
  CMainFrame* frame = app.MainFrame();
  frame->activateWindow();
  if (!QTest::qWaitForWindowActive(frame)) return nullptr;
  frame->View()->viewport()->grab();
  return frame;
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  void sizeDialogOpensWithTheGivenSizeAndTheFocusOnTheWidth() {
    ShellDoubles doubles;
    CSizeDlg dlg;
    dlg.m_nWidth = 8;
    dlg.m_nHeight = 8;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("ｻｲｽﾞ変更"));
    QCOMPARE(LabelTexts(&dlg), QStringList({"横ｻｲｽﾞ(6～30)", "縦ｻｲｽﾞ(6～40)"}));
    QCOMPARE(dlg.WidthField()->text(), QStringLiteral("8"));
    QCOMPARE(dlg.HeightField()->text(), QStringLiteral("8"));
    QCOMPARE(dlg.focusWidget(), dlg.WidthField());
    QCOMPARE(Button(&dlg, "IDOK")->text(), QStringLiteral("OK"));
    QVERIFY(Button(&dlg, "IDOK")->isDefault());
    QCOMPARE(Button(&dlg, "IDCANCEL")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    VerifyLayout(&dlg);
  }

  void sizeDialogRefusesEntriesOutsideTheRange_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<bool>("widthRefused");
    QTest::newRow("width 5") << "5" << "8" << true;
    QTest::newRow("width 31") << "31" << "8" << true;
    QTest::newRow("width abc") << "abc" << "8" << true;
    QTest::newRow("width empty") << "" << "8" << true;
    QTest::newRow("width 7.5") << "7.5" << "8" << true;
    QTest::newRow("height 5") << "8" << "5" << false;
    QTest::newRow("height 41") << "8" << "41" << false;
    QTest::newRow("height abc") << "8" << "abc" << false;
  }

  void sizeDialogRefusesEntriesOutsideTheRange() {
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(bool, widthRefused);
    ShellDoubles doubles;
    CSizeDlg dlg;
    dlg.m_nWidth = 12;
    dlg.m_nHeight = 9;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.WidthField()->setText(width);
    dlg.HeightField()->setText(height);
    QTest::mouseClick(Button(&dlg, "IDOK"), Qt::LeftButton);

    QCOMPARE(doubles.prompts.warnings.size(), 1);
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.result() != QDialog::Accepted);
    QCOMPARE(dlg.focusWidget(), widthRefused ? dlg.WidthField() : dlg.HeightField());
    QCOMPARE(dlg.m_nWidth, 12);
    QCOMPARE(dlg.m_nHeight, 9);
    const bool notANumber = (widthRefused ? width : height).toInt() == 0 ||
                            (widthRefused ? width : height).contains('.');
    if (notANumber)
      QCOMPARE(doubles.prompts.warnings[0], QStringLiteral("整数を入力してください。"));
    else
      QCOMPARE(doubles.prompts.warnings[0],
               widthRefused ? QStringLiteral("6 から 30 までの整数を入力してください。")
                            : QStringLiteral("6 から 40 までの整数を入力してください。"));
  }

  void sizeCommandAccepts30By40AndTheRepaintMakesTheNewBoard() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    PlaceHints(state, {"3", "3"});
    state.Mode = numbloc::SolvePlayed;

    // First a refused entry: the dialog stays open and takes a correction.
    QStringList seen;
    WhenModalShown([&](QWidget* modal) {
      auto* dlg = qobject_cast<CSizeDlg*>(modal);
      seen << dlg->WidthField()->text() << dlg->HeightField()->text();
      dlg->WidthField()->setText("31");
      dlg->HeightField()->setText("40");
      QTest::mouseClick(Button(dlg, "IDOK"), Qt::LeftButton);
      seen << (dlg->isVisible() ? "open" : "closed");
      dlg->WidthField()->setText("30");
      QTest::mouseClick(Button(dlg, "IDOK"), Qt::LeftButton);
    });
    frame->Action("ID_CHANGE_SIZE")->trigger();

    QCOMPARE(seen, QStringList({"8", "8", "open"}));
    QCOMPARE(doubles.prompts.warnings.size(), 1);
    QCOMPARE(state.BoardWidth, 30);
    QCOMPARE(state.BoardHeight, 40);
    QCOMPARE(state.BoardReady, 0);
    frame->View()->viewport()->grab();
    QCOMPARE(state.MaxNumber, 40);
    QCOMPARE(state.Mode, numbloc::Creation);
    QCOMPARE(state.Board[1][1].number, 0);
    QCOMPARE(state.Board[30][40].number, 0);
    QCOMPARE(state.Board[31][40].number, numbloc::WALL);
    QVERIFY(!frame->IsModified());
  }

  void sizeCommandOkWithTheSameSizeStillClearsTheBoard() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    PlaceHints(state, {"12"});
    state.Mode = numbloc::SolveAuto;
    WhenModalShown([](QWidget* modal) { QTest::mouseClick(Button(modal, "IDOK"), Qt::LeftButton); });
    frame->Action("ID_CHANGE_SIZE")->trigger();
    frame->View()->viewport()->grab();
    QCOMPARE(state.Board[1][1].number, 0);
    QCOMPARE(state.Mode, numbloc::Creation);
    QCOMPARE(state.BoardWidth, 8);
  }

  void sizeCommandCancelChangesNothing() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    PlaceHints(state, {"4.", ".4"});
    state.Mode = numbloc::SolvePlayed;
    const auto before = numbloc::WriteNblBytes(state);
    const auto ready = state.BoardReady;
    WhenModalShown([](QWidget* modal) {
      auto* dlg = qobject_cast<CSizeDlg*>(modal);
      dlg->WidthField()->setText("12");
      dlg->HeightField()->setText("20");
      QTest::mouseClick(Button(dlg, "IDCANCEL"), Qt::LeftButton);
    });
    frame->Action("ID_CHANGE_SIZE")->trigger();
    frame->View()->viewport()->grab();
    QVERIFY(numbloc::WriteNblBytes(state) == before);
    QCOMPARE(state.BoardReady, ready);
  }

  void helpCommandsShowTheirTextsAndChangeNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("rules") << "ID_HELP_RULES" << "ルール説明"
                           << QStringList{"以下のルールに従い，すべてのマスに数字を１つずつ入れます．",
                                          "・タテヨコにひとつながりとなった同じ数字を１つのブロックとし，",
                                          "　全体をいくつかのブロックに分割します",
                                          "・１つのブロックのマスの数は，その数字と同じでなければいけません．",
                                          "・同じ数字のブロックどうしが，辺で接してはいけません．"};
    QTest::newRow("create") << "ID_HELP_CREATE" << "操作説明（作成時）"
                            << QStringList{"マウス左クリック：ヒント数をセットします．",
                                           "マウス右クリック：セットした数をクリアします．",
                                           "数字バークリック：セットする数を選択します．",
                                           "「全クリア」　　：全ての数をクリアします．",
                                           "「解答モードへ」：解答モードへ移行します．"};
    QTest::newRow("solve") << "ID_HELP_SOLVE" << "操作説明（解答時）"
                           << QStringList{"マウス左クリック：空マスに数字を入れます．",
                                          "マウス右クリック：数字をクリアします．",
                                          "「一つ戻る」　　：一つ前の手順に戻します．",
                                          "「最初に戻る」　：解答モードの初期状態に戻ります．",
                                          "「自動解答」　　：自動解答を行います．",
                                          "「作製モードへ」：作製モードへ移行します．"};
    QTest::newRow("about") << "ID_APP_ABOUT" << "ﾊﾞｰｼﾞｮﾝ"
                           << QStringList{"簡易ナムブロック　Ver 1.3"};
  }

  void helpCommandsShowTheirTextsAndChangeNothing() {
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    state.Mode = numbloc::SolveStart;
    const auto before = numbloc::WriteNblBytes(state);

    QString seenCaption;
    QStringList seenTexts;
    bool okDefault = false;
    bool hasIcon = false;
    WhenModalShown([&](QWidget* modal) {
      seenCaption = modal->windowTitle();
      seenTexts = LabelTexts(modal);
      QPushButton* ok = Button(modal, "IDOK");
      okDefault = ok && ok->isDefault() && ok->text() == "OK";
      if (auto* icon = modal->findChild<QLabel*>("IDR_MAINFRAME")) hasIcon = !icon->pixmap().isNull();
      VerifyLayout(modal);
      QTest::keyClick(modal, Qt::Key_Return);  // the default button
    });
    frame->Action(command)->trigger();

    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenTexts, texts);
    QVERIFY(okDefault);
    QCOMPARE(hasIcon, command == "ID_APP_ABOUT");
    QVERIFY(numbloc::WriteNblBytes(state) == before);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void standardButtonsSpeakJapanese() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    QCOMPARE(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
  }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
