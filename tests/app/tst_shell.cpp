// The application shell: menu, accelerators, puzzle file commands, the
// command-line file, the question before unsaved work is lost, the commands
// while a solve runs and the window's size.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "app/main_frame.h"
#include "app/numbloc_app.h"
#include "app_test_support.h"
#include "core/board/nbl_file.h"
#include "view/layout.h"
#include "view/numbloc_view.h"

using numbloc::BoardState;

namespace {

std::vector<std::uint8_t> Bytes(const BoardState& state) { return numbloc::WriteNblBytes(state); }

// A 10 x 7 puzzle in SolvePlayed with two hints and one placed number.
QString WritePuzzle(const QString& path) {
  BoardState state;
  state.BoardWidth = 10;
  state.BoardHeight = 7;
  state.ResetBoard();
  PlaceHints(state, {"3..", ".12"});
  state.Board[10][7].number = 105;
  state.Mode = numbloc::SolvePlayed;
  state.SelectedNumber = 5;
  const numbloc::NblResult written = numbloc::WriteNblFile(QFile::encodeName(path).toStdString(), state);
  Q_ASSERT(written.ok);
  return path;
}

// Shows the frame, makes it active and lets the first repaint run.
CMainFrame* StartShown(CNumblocApp& app, const QStringList& files = {}) {
  app.InitInstance(files);
  CMainFrame* frame = app.MainFrame();
  frame->activateWindow();
  if (!QTest::qWaitForWindowActive(frame)) return nullptr;
  frame->View()->viewport()->grab();
  return frame;
}

QStringList MenuTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions())
    if (action->isVisible()) texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}



}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  void menuHasItsPopupsAndTheSizeCommandOnTheBar() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);

    const QList<QAction*> bar = frame->menuBar()->actions();
    QCOMPARE(bar.size(), 6);
    QCOMPARE(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    QVERIFY(bar[0]->menu());
    QCOMPARE(bar[1]->text(), QStringLiteral("編集(&E)"));
    QCOMPARE(bar[2]->text(), QStringLiteral("ｻｲｽﾞ変更(&S)"));
    QCOMPARE(bar[2]->menu(), nullptr);
    QCOMPARE(bar[2]->objectName(), QStringLiteral("ID_CHANGE_SIZE"));
    QCOMPARE(bar[3]->text(), QStringLiteral("表示(&V)"));
    QCOMPARE(bar[4]->text(), QStringLiteral("解析(&A)"));
    QCOMPARE(bar[5]->text(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    QVERIFY(bar[5]->menu());

    // No recent files yet: their items and separator are hidden.
    QCOMPARE(MenuTexts(bar[0]->menu()),
             QStringList({"ﾃﾞｰﾀを読み込む(&O)", "ﾃﾞｰﾀを保存する(&A)", "-", "印刷(&P)",
                          "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "ﾌﾟﾘﾝﾀの設定(&R)", "-", "終了(&X)"}));
    QCOMPARE(MenuTexts(bar[1]->menu()),
             QStringList({"元に戻す(&U)", "やり直し(&R)", "-", "全クリア", "解答モードへ"}));
    QCOMPARE(MenuTexts(bar[3]->menu()),
             QStringList({"拡大(&I)", "縮小(&O)", "等倍(&N)", "-", "ルール違反を表示(&W)"}));
    QCOMPARE(MenuTexts(bar[4]->menu()),
             QStringList({"解の個数を調べる(&C)", "完全解答(&S)", "-", "答え合わせ(&K)",
                          "ヒント(&H)", "-", "中止(&X)"}));
    QCOMPARE(MenuTexts(bar[5]->menu()),
             QStringList({"ﾙｰﾙ説明(&R)", "-", "操作説明(作成時)", "操作説明(解答時)", "-",
                          "ﾊﾞｰｼﾞｮﾝ情報(&V)"}));
    QVERIFY(!frame->Action("ID_WORK_CANCEL")->isEnabled());  // nothing runs

    QCOMPARE(frame->windowTitle(), QStringLiteral("ナムブロック[*] - 解答ツール"));
    QVERIFY(!frame->isWindowModified());
    QCOMPARE(frame->findChild<QStatusBar*>(), nullptr);
    QCOMPARE(frame->findChild<QToolBar*>(), nullptr);
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("numbloc"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.1"));
  }

  void ctrlOAndTheMenuRunThePuzzleReader() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    const QString path = WritePuzzle(dir.filePath("p.nbl"));
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();

    doubles.dialogs.openPaths = {path};
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(doubles.dialogs.openCalls, 1);
    QCOMPARE(state.BoardWidth, 10);
    QCOMPARE(state.BoardHeight, 7);
    QCOMPARE(state.Mode, numbloc::SolvePlayed);
    QCOMPARE(state.Board[1][1].number, 3);
    QCOMPARE(state.Board[10][7].number, 105);
    frame->View()->viewport()->grab();
    QCOMPARE(state.MaxNumber, 12);  // laid out for the loaded size
    QCOMPARE(state.SolverStatus, numbloc::kStatusOk);
    QCOMPARE(app.RecentFiles().Files().value(0), QFileInfo(path).absoluteFilePath());

    // The menu item reaches the same reader: a name that does not exist
    // shows message 3 and leaves the board as it was.
    const auto before = Bytes(state);
    doubles.dialogs.openPaths = {dir.filePath("missing.nbl")};
    frame->Action("ID_FILE_OPEN")->trigger();
    QCOMPARE(doubles.dialogs.openCalls, 2);
    QCOMPARE(state.SolverStatus, numbloc::kStatusUnreadable);
    state.SolverStatus = numbloc::kStatusOk;
    QVERIFY(Bytes(state) == before);

    // Cancelling the dialog does nothing.
    frame->Action("ID_FILE_OPEN")->trigger();
    QCOMPARE(doubles.dialogs.openCalls, 3);
    QVERIFY(Bytes(state) == before);
  }

  void ctrlNAndTheKeysWithoutHandlerLeaveTheBoardAlone() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    PlaceHints(state, {"12", ".3"});
    state.Mode = numbloc::SolveStart;
    const auto before = Bytes(state);

    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    for (const auto& [key, modifiers] : QList<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_X, Qt::ControlModifier},
             {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
             {Qt::Key_Backspace, Qt::AltModifier}, {Qt::Key_Delete, Qt::ShiftModifier},
             {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
             {Qt::Key_F6, Qt::NoModifier}, {Qt::Key_F6, Qt::ShiftModifier}})
      QTest::keyClick(frame, key, modifiers);
    frame->View()->viewport()->grab();

    QVERIFY(Bytes(state) == before);
    QCOMPARE(doubles.dialogs.openCalls + doubles.dialogs.saveCalls, 0);
    QVERIFY(frame->isVisible());
  }

  void ctrlSSavesToTheCurrentFileAndTheMenuAsks() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    PlaceHints(state, {"4", ".", "2"});

    doubles.dialogs.savePaths = {dir.filePath("keys.nbl"), dir.filePath("menu.nbl")};
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    frame->Action("ID_FILE_SAVE_AS")->trigger();
    QCOMPARE(doubles.dialogs.saveCalls, 2);
    for (const char* name : {"keys.nbl", "menu.nbl"}) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray data = file.readAll();
      const auto expected = Bytes(state);
      QCOMPARE(data.size(), 817);
      QVERIFY(std::equal(expected.begin(), expected.end(),
                         reinterpret_cast<const std::uint8_t*>(data.constData())));
    }
    QVERIFY(doubles.prompts.errors.isEmpty());
    QCOMPARE(app.RecentFiles().Files().size(), 2);

    // Now the board has a file: Ctrl+S writes it without a dialog.
    QCOMPARE(frame->windowTitle(), QStringLiteral("menu.nbl[*] - 解答ツール"));
    state.Board[1][2].number = 3;
    emit frame->View()->boardChanged();
    QVERIFY(frame->isWindowModified());
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(doubles.dialogs.saveCalls, 2);
    QVERIFY(!frame->isWindowModified());
    BoardState saved;
    QVERIFY(numbloc::ReadNblFile(QFile::encodeName(dir.filePath("menu.nbl")).toStdString(), saved).ok);
    QCOMPARE(saved.Board[1][2].number, 3);
  }

  void openAsksBeforeUnsavedWorkIsLost() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    const QString first = WritePuzzle(dir.filePath("first.nbl"));
    const QString second = WritePuzzle(dir.filePath("second.nbl"));
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    PlaceHints(app.State(), {"7"});

    // Cancel at the question: no dialog, the work stays.
    doubles.dialogs.openPaths = {first};
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(doubles.prompts.questions.size(), 1);
    QCOMPARE(doubles.dialogs.openCalls, 0);
    QCOMPARE(app.State().Board[1][1].number, 7);
    // Discard: the file opens.
    doubles.prompts.answer = numbloc::SaveChoice::Discard;
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(doubles.dialogs.openCalls, 1);
    QCOMPARE(app.State().BoardWidth, 10);
    QCOMPARE(frame->windowTitle(), QStringLiteral("first.nbl[*] - 解答ツール"));

    // The recent files, newest first, open from the menu, asking the same.
    QVERIFY(frame->OpenPuzzlePath(second));
    QCOMPARE(frame->Action("ID_FILE_MRU_FILE1")->text(), QStringLiteral("&1 second.nbl"));
    QCOMPARE(frame->Action("ID_FILE_MRU_FILE2")->text(), QStringLiteral("&2 first.nbl"));
    QVERIFY(!frame->Action("ID_FILE_MRU_FILE3")->isVisible());
    app.State().Board[5][5].number = 104;
    doubles.prompts.answer = numbloc::SaveChoice::Cancel;
    frame->Action("ID_FILE_MRU_FILE2")->trigger();
    QCOMPARE(frame->CurrentPath(), second);
    doubles.prompts.answer = numbloc::SaveChoice::Discard;
    frame->Action("ID_FILE_MRU_FILE2")->trigger();
    QCOMPARE(frame->CurrentPath(), first);
    QCOMPARE(doubles.prompts.questions.size(), 4);
  }

  void aRunningSolveHoldsTheCommandsAndClosingStopsIt() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    state.BoardWidth = state.BoardHeight = 20;  // an empty 20 x 20: a long automatic solve
    state.BoardReady = 0;
    frame->View()->viewport()->grab();
    PlaceHints(state, {"2"});
    state.Mode = numbloc::SolveStart;
    const auto before = Bytes(state);
    QTest::mouseClick(frame->View()->viewport(), Qt::LeftButton, {},
                      QPoint(numbloc::layout::PanelX(20) + 50, 168) - frame->View()->ScrollPosition());
    QVERIFY(frame->View()->Busy());
    for (const char* id : {"ID_FILE_OPEN", "ID_FILE_SAVE", "ID_FILE_SAVE_AS", "ID_FILE_PRINT",
                           "ID_CHANGE_SIZE", "ID_ANALYZE_COUNT", "ID_ANALYZE_SOLVE"})
      QVERIFY2(!frame->Action(id)->isEnabled(), id);
    QVERIFY(frame->Action("ID_WORK_CANCEL")->isEnabled());
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(doubles.dialogs.openCalls, 0);

    // Closing stops the solve, then asks about the hint placed.
    doubles.prompts.answer = numbloc::SaveChoice::Cancel;
    QVERIFY(!frame->close());
    QVERIFY(!frame->View()->Busy());
    QCOMPARE(doubles.prompts.questions.size(), 1);
    QVERIFY(Bytes(state) == before);
    QVERIFY(frame->Action("ID_FILE_OPEN")->isEnabled());
  }

  void undoAndRedoAreMenuItemsEnabledOnlyWithSomethingToDo() {
    ShellDoubles doubles;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    BoardState& state = app.State();
    state.Mode = numbloc::SolveStart;
    frame->UpdateCommandUI();
    QAction* undo = frame->Action("ID_EDIT_UNDO");
    QAction* redo = frame->Action("ID_EDIT_REDO");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    const QPoint cell(numbloc::layout::CellOrigin(2, 2).x + 13, numbloc::layout::CellOrigin(2, 2).y + 13);
    QTest::mouseClick(frame->View()->viewport(), Qt::LeftButton, {}, cell);
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(state.Board[2][2].number, 0);
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(state.Board[2][2].number, 101);
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(state.Board[2][2].number, 101);
    // A new move empties the redo list.
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseClick(frame->View()->viewport(), Qt::LeftButton, {}, cell + QPoint(27, 0));
    QVERIFY(!redo->isEnabled());
  }

  void aWholePuzzleWithTheKeyboardAlone() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    // A finished 6 x 6 board with two cells left open: (2, 1) holds 3, (6, 6) holds 4.
    BoardState puzzle;
    puzzle.BoardWidth = puzzle.BoardHeight = 6;
    puzzle.ResetBoard();
    const char* rows[6] = {"333221", "444433", "125553", "625154", "666644", "612214"};
    for (int y = 1; y <= 6; ++y)
      for (int x = 1; x <= 6; ++x) puzzle.Board[x][y].number = static_cast<std::uint8_t>(rows[y - 1][x - 1] - '0');
    puzzle.Board[2][1].number = puzzle.Board[6][6].number = 0;
    const QString path = dir.filePath("keys.nbl");
    QVERIFY(numbloc::WriteNblFile(QFile::encodeName(path).toStdString(), puzzle).ok);
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    doubles.dialogs.openPaths = {path};
    QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
    frame->View()->viewport()->grab();
    frame->View()->setFocus();
    QTest::keyClick(frame, Qt::Key_F3);  // 解答モードへ
    QCOMPARE(app.State().Mode, numbloc::SolveStart);
    QTest::keyClick(frame->View(), Qt::Key_Right);
    QTest::keyClick(frame->View(), Qt::Key_Right);
    QTest::keyClick(frame->View(), Qt::Key_3);
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(frame->View(), Qt::Key_Right);
      QTest::keyClick(frame->View(), Qt::Key_Down);
    }
    QTest::keyClick(frame->View(), Qt::Key_4);
    QCOMPARE(frame->View()->Overlay().statusText, QStringLiteral("正解です！　おめでとうございます"));
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
    ShellDoubles doubles;
    QTemporaryDir dir;
    BoardState puzzle;
    puzzle.BoardWidth = static_cast<std::uint8_t>(width);
    puzzle.BoardHeight = static_cast<std::uint8_t>(height);
    puzzle.ResetBoard();
    const QString path = dir.filePath("big.nbl");
    QVERIFY(numbloc::WriteNblFile(QFile::encodeName(path).toStdString(), puzzle).ok);
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    QVERIFY(frame->OpenPuzzlePath(path));
    CNumblocView* view = frame->View();
    view->viewport()->grab();
    QTest::qWait(50);  // the window resizes after the repaint
    const QSize screen = frame->screen()->availableGeometry().size();
    QVERIFY(frame->frameGeometry().width() <= screen.width());
    QVERIFY(frame->frameGeometry().height() <= screen.height());
    // Either the canvas fits, or the scroll bars reach its far corner: the
    // lower button and the end of the number bar can be brought into view.
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    const QPoint scroll = view->ScrollPosition();
    const QSize shown = view->viewport()->size();
    using namespace numbloc::layout;
    QVERIFY(PanelX(width) + kButtonWidth - scroll.x() <= shown.width());
    QVERIFY(kLowerButtonY + kButtonHeight - scroll.y() <= shown.height());
    QVERIFY(kPitch * height + kBoardTop - scroll.y() <= shown.height());
    // A window the user made larger stays so at the next open.
    const QSize larger = frame->size() + QSize(40, 30);
    frame->resize(larger);
    QVERIFY(frame->OpenPuzzlePath(path));
    view->viewport()->grab();
    QTest::qWait(50);
    QCOMPARE(frame->size(), larger);
  }

  void aFailedSaveSaysWhyAndKeepsNothingHalfWritten() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    PlaceHints(app.State(), {"5"});
    // A folder stands where the file should be written: nothing can replace it.
    QVERIFY(QDir(dir.path()).mkdir("taken.nbl"));
    doubles.dialogs.savePaths = {dir.filePath("taken.nbl")};
    frame->Action("ID_FILE_SAVE_AS")->trigger();
    QCOMPARE(doubles.prompts.errors.size(), 1);
    QVERIFY(doubles.prompts.errors[0].contains(QStringLiteral("保存できませんでした")));
    QVERIFY(doubles.prompts.errors[0].contains(QStringLiteral("taken.nbl")));
    QVERIFY(QFileInfo(dir.filePath("taken.nbl")).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(frame->IsModified());  // still unsaved
  }

  void aFileOnTheCommandLineIsLoadedAtStartUp() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    const QString path = WritePuzzle(dir.filePath("start.nbl"));
    CNumblocApp app;
    CMainFrame* frame = StartShown(app, {path});
    QVERIFY(frame);
    const BoardState& state = app.State();
    // The first repaint laid the loaded board out instead of resetting it.
    QCOMPARE(state.BoardWidth, 10);
    QCOMPARE(state.Board[2][2].number, 1);
    QCOMPARE(state.Mode, numbloc::SolvePlayed);
    QCOMPARE(state.MaxNumber, 12);
    QCOMPARE(state.BoardReady, 2);
    QVERIFY(!frame->IsModified());
  }

  void anUnreadableCommandLineFileShowsMessage3OnTheStartBoard() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    CNumblocApp app;
    CMainFrame* frame = StartShown(app, {dir.filePath("nothing.nbl")});
    QVERIFY(frame);
    frame->View()->viewport()->grab();
    const BoardState& state = app.State();
    QCOMPARE(state.SolverStatus, numbloc::kStatusUnreadable);
    QCOMPARE(state.BoardWidth, 8);
    QCOMPARE(state.MaxNumber, 10);
    QCOMPARE(state.Board[9][1].number, numbloc::WALL);
    QCOMPARE(state.Board[1][1].number, 0);
  }

  void closingAsksOnlyWhenWorkWouldBeLost() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    {
      // Nothing placed: closes without a question.
      CNumblocApp app;
      CMainFrame* frame = StartShown(app);
      QVERIFY(frame);
      QVERIFY(frame->close());
      QVERIFY(doubles.prompts.questions.isEmpty());
    }
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    PlaceHints(app.State(), {".6"});

    doubles.prompts.answer = numbloc::SaveChoice::Cancel;
    QVERIFY(!frame->close());
    QCOMPARE(doubles.prompts.questions.size(), 1);
    QVERIFY(frame->isVisible());

    // Save, but the save dialog is cancelled: the window stays.
    doubles.prompts.answer = numbloc::SaveChoice::Save;
    frame->Action("ID_APP_EXIT")->trigger();
    QCOMPARE(doubles.prompts.questions.size(), 2);
    QCOMPARE(doubles.dialogs.saveCalls, 1);
    QVERIFY(frame->isVisible());

    // Save to a file: the window closes and the file holds the board.
    doubles.dialogs.savePaths = {dir.filePath("kept.nbl")};
    QVERIFY(frame->close());
    QCOMPARE(doubles.prompts.questions.size(), 3);
    QVERIFY(QFileInfo(dir.filePath("kept.nbl")).size() == 817);

    // Saved, then changed again, then discarded.
    frame->show();
    QVERIFY(frame->close());  // saved: no question
    QCOMPARE(doubles.prompts.questions.size(), 3);
    frame->show();
    app.State().Board[3][3].number = 2;
    doubles.prompts.answer = numbloc::SaveChoice::Discard;
    QVERIFY(frame->close());
    QCOMPARE(doubles.prompts.questions.size(), 4);
  }

  void theRecentFileListKeepsTheFourNewest() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    numbloc::RecentFileList recent;
    for (const char* name : {"a.nbl", "b.nbl", "c.nbl", "d.nbl", "e.nbl", "c.nbl"})
      recent.Add(dir.filePath(name));
    QStringList names;
    for (const QString& file : numbloc::RecentFileList().Files()) names.append(QFileInfo(file).fileName());
    QCOMPARE(names, QStringList({"c.nbl", "e.nbl", "d.nbl", "b.nbl"}));
  }

  void anOpenedPuzzleIsUnchangedUntilTheBoardChanges() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    const QString path = WritePuzzle(dir.filePath("o.nbl"));
    CNumblocApp app;
    CMainFrame* frame = StartShown(app);
    QVERIFY(frame);
    PlaceHints(app.State(), {"7"});
    QVERIFY(frame->IsModified());
    // Opening by path (the command line) replaces the board without asking;
    // the loaded board counts as saved.
    QVERIFY(frame->OpenPuzzlePath(path));
    QVERIFY(!frame->IsModified());
    // Choosing another number on the bar is no work to lose.
    app.State().SelectedNumber = 3;
    QVERIFY(!frame->IsModified());
    app.State().Board[5][5].number = 104;
    QVERIFY(frame->IsModified());
  }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
