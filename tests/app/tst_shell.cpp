// The shell: menu, keys, file commands, the unsaved-work question, a running solve, the window size.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "app_test_support.h"
#include "view/layout.h"

using numbloc::BoardState;

namespace {

// A 10 x 7 puzzle in SolvePlayed with two hints and one placed number.
QString WritePuzzle(const QString& path) {
  BoardState state = Board(10, 7, {"3", ". 1 2"});
  state.Board[10][7].number = 105;
  state.Mode = numbloc::SolvePlayed;
  state.SelectedNumber = 5;
  return WriteNbl(path, state);
}


}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  void menuHasItsPopupsAndTheSizeCommandOnTheBar() {
    Shell s;
    // Six items on the bar, the size command among them without a pop-up;
    // no recent files yet, so the File pop-up hides their items and
    // separator. Its texts as anchors, not the whole menu.
    const QList<QAction*> bar = s.frame->menuBar()->actions();
    QCOMPARE(bar.size(), 6);
    QCOMPARE(bar[2]->text(), QStringLiteral("ｻｲｽﾞ変更(&S)"));
    QVERIFY(!bar[2]->menu());
    int shown = 0;
    for (const QAction* item : bar[0]->menu()->actions()) shown += item->isVisible();
    QCOMPARE(shown, 10);  // open, save, -, generate, -, print, preview, setup, -, exit
    QVERIFY(!s.frame->Action("ID_WORK_CANCEL")->isEnabled());  // nothing runs
    QCOMPARE(s.frame->windowTitle(), QStringLiteral("ナムブロック[*] - 解答ツール"));
    QVERIFY(!s.frame->isWindowModified());
    QCOMPARE(s.frame->findChild<QStatusBar*>(), nullptr);
    QCOMPARE(s.frame->findChild<QToolBar*>(), nullptr);
    QVERIFY(s.frame->close());  // nothing placed: no question
    QVERIFY(s.questions.isEmpty());
  }

  // Regression: the first repaint's deferred reset wiped the command-line puzzle or its error.
  void aFileOnTheCommandLineOutlivesTheFirstRepaint_data() {
    QTest::addColumn<bool>("readable");
    QTest::newRow("readable") << true;
    QTest::newRow("unreadable") << false;
  }
  void aFileOnTheCommandLineOutlivesTheFirstRepaint() {
    QFETCH(bool, readable);
    QTemporaryDir dir;
    Shell s({readable ? WritePuzzle(dir.filePath("start.nbl")) : dir.filePath("nothing.nbl")});
    s.Repaint();
    QCOMPARE(s.state.SolverStatus, readable ? numbloc::kStatusOk : numbloc::kStatusUnreadable);
    QCOMPARE(s.state.BoardWidth, readable ? 10 : 8);
    QCOMPARE(s.state.MaxNumber, readable ? 12 : 10);
    QCOMPARE(s.state.Board[2][2].number, readable ? 1 : 0);
    QCOMPARE(s.state.Board[9][1].number, readable ? 0 : numbloc::WALL);
    // The loaded board counts as saved; a number chosen on the bar is no work, one on the board is.
    QVERIFY(!s.frame->IsModified());
    s.state.SelectedNumber = 3;
    QVERIFY(!s.frame->IsModified());
    s.state.Board[5][5].number = 4;
    QVERIFY(s.frame->IsModified());
  }

  void openingAsksBeforeWorkIsLostAndReadsThePuzzle() {
    QTemporaryDir dir;
    const QString first = WritePuzzle(dir.filePath("first.nbl"));
    Shell s;
    s.state.Board[1][1].number = 7;
    for (const char* name : {"a.nbl", "b.nbl", "c.nbl", "d.nbl"}) s.app.RecentFiles().Add(dir.filePath(name));
    // Cancel at the question: no dialog, the work stays.
    s.openPaths = {first};
    QTest::keyClick(s.frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(s.questions.size(), 1);
    QCOMPARE(s.openCalls, 0);
    QCOMPARE(s.state.Board[1][1].number, 7);
    // Discard: the file opens, laid out for its size at the repaint.
    s.answer = numbloc::SaveChoice::Discard;
    QTest::keyClick(s.frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(s.openCalls, 1);
    QCOMPARE(s.state.BoardHeight, 7);
    QCOMPARE(s.state.Mode, numbloc::SolvePlayed);
    QCOMPARE(s.state.Board[1][1].number, 3);
    s.Repaint();
    QCOMPARE(s.state.MaxNumber, 12);
    QCOMPARE(s.frame->windowTitle(), QStringLiteral("first.nbl[*] - 解答ツール"));

    // Cancelling the dialog does nothing (an unreadable file: the command-line test).
    const auto before = Bytes(s.state);
    s.frame->Action("ID_FILE_OPEN")->trigger();
    QCOMPARE(s.openCalls, 2);
    QVERIFY(Bytes(s.state) == before);

    // The recent files in the menu: the opened one first, the list capped at four.
    QCOMPARE(s.frame->Action("ID_FILE_MRU_FILE1")->text(), QStringLiteral("&1 first.nbl"));
    QCOMPARE(numbloc::RecentFileList().Files().size(), 4);
  }

  // Solving with the keys alone: the mode key, keys without a command, undo and redo.
  void playingWithTheKeyboardAloneUndoAndRedo() {
    Shell s;
    s.state = Board(6, 6, {"3"});
    s.frame->View()->BoardReplaced();
    s.Repaint();
    s.frame->View()->setFocus();
    QTest::keyClick(s.frame, Qt::Key_F3);  // 解答モードへ
    QCOMPARE(s.state.Mode, numbloc::SolveStart);
    // Ctrl+N and the keys without a handler leave the board alone.
    const auto before = Bytes(s.state);
    for (const char* keys : {"Ctrl+N", "Ctrl+Z", "Alt+Backspace", "Ctrl+X", "Ctrl+C", "Ctrl+V", "F6"})
      QTest::keySequence(s.frame, QKeySequence(QString::fromLatin1(keys)));
    s.Repaint();
    QVERIFY(Bytes(s.state) == before);
    QVERIFY(s.frame->isVisible() && s.openCalls + s.saveCalls == 0);
    // Undo and redo are enabled only with something to do.
    QAction* undo = s.frame->Action("ID_EDIT_UNDO");
    QAction* redo = s.frame->Action("ID_EDIT_REDO");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_3}) QTest::keyClick(s.frame->View(), key);
    QCOMPARE(s.state.Board[2][1].number, 103);
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QTest::keyClick(s.frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.state.Board[2][1].number, 0);
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QTest::keyClick(s.frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(s.state.Board[2][1].number, 103);
    QTest::keyClick(s.frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(s.frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.state.Board[2][1].number, 103);
    // A new move empties the redo list; the undo ended the first 3's wait for a second digit.
    QTest::keyClick(s.frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(s.frame->View(), Qt::Key_3);
    QCOMPARE(s.state.Board[2][1].number, 103);
    QVERIFY(!redo->isEnabled());  // the finished message: tst_board_window
  }

  void theWindowGrowsToShowTheWholeBoard_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("18 x 10") << 18 << 10;
    QTest::newRow("30 x 40") << 30 << 40;
  }
  void theWindowGrowsToShowTheWholeBoard() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir dir;
    const QString path = WriteNbl(dir.filePath("big.nbl"), Board(width, height));
    Shell s;
    QVERIFY(s.frame->OpenPuzzlePath(path));
    CNumblocView* view = s.frame->View();
    s.Repaint();
    QTest::qWait(50);  // the window resizes after the repaint
    const QSize screen = s.frame->screen()->availableGeometry().size();
    QVERIFY(s.frame->frameGeometry().width() <= screen.width());
    QVERIFY(s.frame->frameGeometry().height() <= screen.height());
    // Either the canvas fits, or scrolling brings the lower button and the bar's end into view.
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    const QPoint scroll = view->ScrollPosition();
    const QSize shown = view->viewport()->size();
    using namespace numbloc::layout;
    QVERIFY(PanelX(width) + kButtonWidth - scroll.x() <= shown.width());
    QVERIFY(kLowerButtonY + kButtonHeight - scroll.y() <= shown.height());
    QVERIFY(kPitch * height + kBoardTop - scroll.y() <= shown.height());
    // A window the user made larger stays so at the next open.
    const QSize larger = s.frame->size() + QSize(40, 30);
    s.frame->resize(larger);
    QVERIFY(s.frame->OpenPuzzlePath(path));
    s.Repaint();
    QTest::qWait(50);
    QCOMPARE(s.frame->size(), larger);
  }

  // A hint on an empty 20 x 20 board makes the automatic solve run long:
  // meanwhile the commands that touch the board are held, and closing stops
  // it first. Then saving: a name is asked for until the board has a file,
  // and a failed save says why, leaves nothing half-written and the window.
  void closingStopsASolveAndSavingKeepsTheWork() {
    QTemporaryDir dir;
    Shell s;
    s.state = Board(20, 20, {"2"});
    s.state.Mode = numbloc::SolveStart;
    const auto before = Bytes(s.state);
    QTest::keyClick(s.frame, Qt::Key_F2);  // 自動解答
    QVERIFY(s.frame->View()->Busy());
    for (const char* id : {"ID_FILE_OPEN", "ID_FILE_SAVE", "ID_FILE_SAVE_AS", "ID_FILE_PRINT",
                           "ID_CHANGE_SIZE", "ID_ANALYZE_COUNT", "ID_ANALYZE_SOLVE"})
      QVERIFY2(!s.frame->Action(id)->isEnabled(), id);
    QVERIFY(s.frame->Action("ID_WORK_CANCEL")->isEnabled());
    QTest::keyClick(s.frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(s.openCalls, 0);
    QVERIFY(!s.frame->close());  // Cancel at the question
    QVERIFY(!s.frame->View()->Busy());
    QCOMPARE(s.questions.size(), 1);
    QVERIFY(Bytes(s.state) == before);
    QVERIFY(s.frame->Action("ID_FILE_OPEN")->isEnabled());

    // Save at the question: the dialog is cancelled, then a folder blocks the file; the window stays.
    QVERIFY(QDir(dir.path()).mkdir("taken.nbl"));
    s.answer = numbloc::SaveChoice::Save;
    s.frame->Action("ID_APP_EXIT")->trigger();
    s.savePaths = {dir.filePath("taken.nbl"), dir.filePath("keys.nbl"), dir.filePath("menu.nbl")};
    QVERIFY(!s.frame->close());
    QCOMPARE(s.saveCalls, 2);
    QCOMPARE(s.errors.size(), 1);
    QVERIFY(s.errors[0].contains(QStringLiteral("保存できませんでした")) && s.errors[0].contains("taken.nbl"));
    QVERIFY(QFileInfo(dir.filePath("taken.nbl")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(s.frame->isVisible() && s.frame->IsModified());

    // Without a file Ctrl+S asks for a name, as the menu item does.
    QTest::keyClick(s.frame, Qt::Key_S, Qt::ControlModifier);
    s.frame->Action("ID_FILE_SAVE_AS")->trigger();
    QCOMPARE(s.saveCalls, 4);
    QVERIFY(QFileInfo::exists(dir.filePath("keys.nbl")));
    QCOMPARE(s.app.RecentFiles().Files().size(), 2);
    QCOMPARE(s.frame->windowTitle(), QStringLiteral("menu.nbl[*] - 解答ツール"));
    // Now the board has a file: Ctrl+S and Save at the question write it without a dialog.
    s.state.Board[1][2].number = 3;
    emit s.frame->View()->boardChanged();
    QVERIFY(s.frame->isWindowModified());
    QTest::keyClick(s.frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!s.frame->isWindowModified());
    s.state.Board[2][2].number = 5;
    QVERIFY(s.frame->close());
    QCOMPARE(s.saveCalls, 4);
    BoardState saved;
    QVERIFY(numbloc::ReadNblFile(QFile::encodeName(dir.filePath("menu.nbl")).toStdString(), saved).ok);
    QVERIFY(saved.Board[1][1].number == 2 && saved.Board[1][2].number == 3 && saved.Board[2][2].number == 5);
    // Saved: no question.
    s.frame->show();
    QVERIFY(s.frame->close());
    QCOMPARE(s.questions.size(), 4);
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
