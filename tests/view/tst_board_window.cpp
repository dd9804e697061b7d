// The board window as a real widget: pixels, mouse, keys, repaints, zoom, background work, analyses.
#include <QtTest>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "board_picture.h"
#include "core/board/board_state.h"
#include "core/solver/solver.h"
#include "platform/draw_surface.h"
#include "view/board_drawing.h"
#include "view/layout.h"
#include "view/numbloc_view.h"

using namespace numbloc::layout;
using numbloc::BoardState;
using namespace numbloc::testing;
using Rows = std::vector<std::string>;
Q_DECLARE_METATYPE(Rows)

namespace {

// Records the repaint requests and the start of the automatic solve.
class WatchedView : public CNumblocView {
 public:
  using CNumblocView::CNumblocView;

  QStringList requests;

 protected:
  void InvalidateClientRect(const QRect& rect) override {
    requests << QString("%1,%2,%3,%4").arg(rect.left()).arg(rect.top()).arg(rect.right() + 1).arg(rect.bottom() + 1);
    CNumblocView::InvalidateClientRect(rect);
  }
  void InvalidateWholeView() override {
    requests << "whole";
    CNumblocView::InvalidateWholeView();
  }
  void StartAutoSolve() override {
    requests << "solve";
    CNumblocView::StartAutoSolve();
  }
};

const QRgb kTeal = 0x008080, kWhite = 0xFFFFFF, kYellow = 0xFFFF00;

// Whether `shot` shows the atlas region `from` at canvas point `to`, pixel for pixel.
bool ShowsRegion(const QImage& shot, const QImage& atlas, Point to, Region from) {
  return shot.copy(to.x, to.y, from.width, from.height) == atlas.copy(from.x, from.y, from.width, from.height);
}

// Cell (c, r)'s tile and a point in its middle; points on bar entry n and the buttons (W wide).
QRect CellTile(int c, int r) { return QRect(CellOrigin(c, r).x, CellOrigin(c, r).y, 28, 28); }
QPoint CellPoint(int c, int r) { return CellTile(c, r).topLeft() + QPoint(13, 13); }
QPoint BarPoint(int W, int n) { return QPoint(BarX(W) + 10, 27 * n + 33); }
QPoint ButtonPoint(int W, bool upper) { return QPoint(PanelX(W) + 50, upper ? 168 : 228); }

// Waits until the view has taken over the result of its running job.
bool WaitForWork(CNumblocView& view, int ms = 20000) {
  return QSignalSpy(&view, &CNumblocView::workFinished).wait(ms);
}

QImage Shot(CNumblocView& view) {
  QCoreApplication::processEvents();
  return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Click(WatchedView& view, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  view.requests.clear();
  QTest::mouseClick(view.viewport(), button, {}, at);
}

// A real double click arrives as press, release, double click, release.
void DoubleClick(WatchedView& view, QPoint at) {
  Click(view, at);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
}

// A puzzle with one solution: 4 3 1 / 4 3 3 / 4 4 1 / 1 2 2.
const Rows kOneSolution{"4 3 .", ". 3 .", ". 4 .", ". 2 2"};

// A shown, laid-out view of the default board, or of `rows` in `mode` (SolveStart by default).
struct Window {
  BoardState state;
  WatchedView view;

  explicit Window(const Rows& rows = {}, int mode = numbloc::SolveStart) : view(Load(state, rows, mode)) {
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) qWarning("the view was not exposed");
    Shot(view);
  }
  static BoardState& Load(BoardState& state, const Rows& rows, int mode) {
    if (rows.empty()) return state;
    LoadPicture(state, rows);
    state.Mode = static_cast<std::uint8_t>(mode);
    state.LayoutPending = 1;
    return state;
  }
};

}  // namespace

class TestBoardWindow : public QObject {
  Q_OBJECT

 private:
  QImage atlas_;

 private slots:
  void initTestCase() {
    atlas_ = numbloc::LoadAtlasImage();
    QVERIFY(!atlas_.isNull());
  }

  void firstRepaint() {
    Window w;
    const QImage shot = Shot(w.view);
    QCOMPARE(int(w.state.BoardReady), 2);
    QCOMPARE(w.view.window()->frameGeometry().size(), QSize(476, 386));
    QCOMPARE(w.view.CanvasSize(), QSize(436, 330));  // laid out for the bar 1..10
    // The painted steps (which steps: drawing_test): 64 white tiles, the bar,
    // the Creation buttons, teal on the blank status line.
    for (int i = 1; i <= 8; ++i)
      for (int j = 1; j <= 8; ++j)
        QCOMPARE(CountColour(shot, CellTile(i, j).adjusted(3, 3, -5, -5), kWhite), 20 * 20);
    QVERIFY(ShowsRegion(shot, atlas_, BarEntryOrigin(8, 2), {0, 27, 28, 244}));
    QVERIFY(ShowsRegion(shot, atlas_, {PanelX(8), kLowerButtonY}, ButtonRegion(ButtonPicture::ToSolving)));
    QVERIFY(ShowsRegion(shot, atlas_, {PanelX(8), kUpperButtonY}, ButtonRegion(ButtonPicture::ClearAll)));
    QCOMPARE(CountColour(shot, QRect(30, 28, 380, 20), kTeal), 380 * 20);
  }

  void clicksAndTheirRepaintRequests() {
    Window w;
    QSignalSpy changed(&w.view, &CNumblocView::boardChanged);
    // Creation: select 2, place hints 2 by the first pixel of (1, 1) and the last of (2, 1).
    Click(w.view, BarPoint(8, 2));
    QCOMPARE(w.view.requests, QStringList{"274,50,302,321"});
    Click(w.view, QPoint(26, 51));
    Click(w.view, QPoint(78, 76));
    QCOMPARE(w.view.requests, QStringList{"50,48,81,79"});
    const QImage shot = Shot(w.view);
    QVERIFY(ShowsRegion(shot, atlas_, MarkerOrigin(8, 2), {28, 27, 27, 27}));
    // Two incomplete 2s side by side: no line between them.
    const Point at = CellOrigin(2, 1), from = NumberTileAtlas(TileStyle::Hint, 2);
    QVERIFY(ShowsRegion(shot, atlas_, {at.x + 1, at.y + 3}, {from.x + 1, from.y + 3, 26, 24}));

    QCOMPARE(changed.count(), 3);  // which press repaints what in the other modes: input_test
  }

  // A double click on a mode-changing button acts once (its second press cleared a just
  // solved puzzle); on undo, which keeps the mode, it is two presses.
  void doubleClickOnAButtonThatChangesModeActsOnce() {
    Window w(Picture(6, 6, {"1"}), numbloc::Creation);
    DoubleClick(w.view, ButtonPoint(6, false));
    QCOMPARE(int(w.state.Mode), int(numbloc::SolveStart));
    for (int c = 2; c <= 4; ++c) Click(w.view, CellPoint(c, 1));
    DoubleClick(w.view, ButtonPoint(6, true));
    QCOMPARE(w.state.history.HistoryCount, 1);  // two moves taken back

    Click(w.view, ButtonPoint(6, false));  // back to start
    DoubleClick(w.view, ButtonPoint(6, true));
    if (w.view.Busy()) QVERIFY(WaitForWork(w.view));
    QCOMPARE(int(w.state.Mode), int(numbloc::SolveAuto));
    QCOMPARE(int(w.state.Board[1][1].number), 1);  // the hint is still there
    QCOMPARE(w.view.requests.count("solve"), 1);
  }

  void solveRunsInTheBackgroundAndCancelLeavesTheBoard() {
    // An empty 20 x 20 board keeps the trials busy for many seconds.
    Window w(Picture(20, 20));
    const BoardState before = w.state;
    Click(w.view, ButtonPoint(20, true));
    QVERIFY(w.view.Busy());
    QTest::qWait(500);
    QCOMPARE(w.state.SolverStatus, numbloc::kStatusSolving);  // message 4 shows while it runs
    QVERIFY(w.view.Overlay().progress[0].endsWith(QStringLiteral("秒")));
    QVERIFY(w.view.Overlay().progress[1].startsWith(QStringLiteral("試行")));
    auto* cancel = w.view.viewport()->findChild<QPushButton*>("cancelButton");
    QVERIFY(cancel && cancel->isVisible());
    QCOMPARE(cancel->geometry().topLeft(), QPoint(PanelX(20), kUpperButtonY) - w.view.ScrollPosition());

    // Clicks and keys made meanwhile are dropped, not kept for later.
    Click(w.view, CellPoint(1, 1));
    Click(w.view, BarPoint(20, 3));
    Click(w.view, ButtonPoint(20, false));
    QTest::keyClick(&w.view, Qt::Key_3);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(&w.view, Qt::Key_Escape);
    QVERIFY(WaitForWork(w.view, 2000));
    QVERIFY2(clock.elapsed() < 100 + 50, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!w.view.Busy() && !cancel->isVisible());
    QVERIFY(w.state == before);
  }

  void backgroundSolveEndsAsADirectSolve_data() {
    QTest::addColumn<Rows>("rows");
    // Solved (three forced cells), and a contradiction with its conflict cell.
    QTest::newRow("solved") << Rows{"6 6 6 6 6 .", "1 2 2 3 3 3", "4 4 4 4 . 2",
                                    "5 5 5 5 5 2", "3 3 3 6 6 6", "1 2 2 . 6 6"};
    QTest::newRow("overfilled") << Rows{"3 3 3 2 2 1", "4 4 4 4 3 3", "1 2 5 5 5 .",
                                        "6 2 5 1 5 3", "6 6 6 6 4 4", "6 1 2 2 1 4"};
  }
  void backgroundSolveEndsAsADirectSolve() {
    QFETCH(Rows, rows);
    Window w(rows);
    BoardState direct = w.state;
    numbloc::Solver(direct).AutoSolve();
    direct.Mode = numbloc::SolveAuto;
    Click(w.view, ButtonPoint(6, true));
    QVERIFY(WaitForWork(w.view));
    QVERIFY(w.state == direct);
  }

  // Counting several solutions: the verdict (others: same line) and the cells where two differ.
  void analysisVerdictAndTheDifferenceMark() {
    Window w({". . .", ". 3 .", ". . ."});
    const BoardState before = w.state;
    w.view.StartAnalysis(numbloc::JobKind::Count);
    QVERIFY(WaitForWork(w.view));
    QCOMPARE(w.view.Overlay().statusText, QStringLiteral("解が複数あります（赤枠の升で異なります）"));
    QVERIFY(w.view.Overlay().differs.any());
    QVERIFY(w.state == before);  // counting changes nothing
    const QImage shot = Shot(w.view);
    QVERIFY(CountColour(shot, QRect(30, 30, 150, 16), kYellow, 60) > 50);
    // A red frame in exactly the cells where the solutions differ.
    const int W = w.state.BoardWidth;
    for (int x = 1; x <= W; ++x)
      for (int y = 1; y <= w.state.BoardHeight; ++y)
        QCOMPARE(CountColour(shot, CellTile(x, y).adjusted(3, 3, -3, -3), 0xE60000) > 0,
                 w.view.Overlay().differs.test((y - 1) * W + (x - 1)));
    // The next change of the board clears the answer and its marks.
    Click(w.view, CellPoint(3, 3));
    QVERIFY(w.view.Overlay().statusText.isEmpty() && w.view.Overlay().differs.none());
  }

  void liveVerdictFollowsTheHintsInCreationMode() {
    Window w(Picture(3, 3), numbloc::Creation);
    Click(w.view, CellPoint(1, 1));
    QCOMPARE(w.view.Overlay().verdict, QStringLiteral("確認中…"));
    QVERIFY(!w.view.Busy());  // clicking stays free meanwhile
    QVERIFY(WaitForWork(w.view));
    QCOMPARE(w.view.Overlay().verdict, QStringLiteral("解が複数"));
    Click(w.view, CellPoint(2, 1));  // two 1s side by side
    QVERIFY(WaitForWork(w.view));
    QCOMPARE(w.view.Overlay().verdict, QStringLiteral("解なし"));
    // In white under the mode label.
    QVERIFY(CountColour(Shot(w.view), QRect(PanelX(3), kLabelY + kLabelHeight + 6, 100, 18), kWhite, 60) > 20);
  }

  void keyboardPlayTypesTwoDigitNumbersAndMovesTheCursor() {
    Window w(Picture(6, 6));
    w.view.setFocus();
    QTest::keyClick(&w.view, Qt::Key_Right);  // shows the cursor at (1, 1), then moves it
    QTest::keyClick(&w.view, Qt::Key_Right);
    QCOMPARE(w.view.Cursor(), QPoint(2, 1));
    QTest::keyClicks(&w.view, "12");  // within 0.8 s: twelve, one move
    QCOMPARE(int(w.state.Board[2][1].number), 112);
    QCOMPARE(w.state.history.HistoryCount, 1);
    QTest::keyClick(&w.view, Qt::Key_Down);
    QTest::keyClick(&w.view, Qt::Key_4);
    QTest::qWait(CNumblocView::kTwoDigitMs + 100);
    QTest::keyClick(&w.view, Qt::Key_5);  // too late: 5 replaces the 4
    QCOMPARE(int(w.state.Board[2][2].number), 105);
    QTest::keyClick(&w.view, Qt::Key_Delete);
    QCOMPARE(int(w.state.Board[2][2].number), 0);
    QTest::keyClick(&w.view, Qt::Key_PageDown);  // the bar's next number, placed with Enter
    QCOMPARE(int(w.state.SelectedNumber), 2);
    QTest::keyClick(&w.view, Qt::Key_Return);
    QCOMPARE(int(w.state.Board[2][2].number), 102);
    QVERIFY(CountColour(Shot(w.view), CellTile(2, 2), 0xA000C8) > 20);
  }

  void dragFillsTheEmptyCellsItPasses() {
    Window w(Picture(6, 6, {". 3 . +4"}), numbloc::SolvePlayed);
    w.state.SelectedNumber = 6;
    QTest::mousePress(w.view.viewport(), Qt::LeftButton, {}, CellPoint(1, 1));
    for (int c = 2; c <= 6; ++c) QTest::mouseMove(w.view.viewport(), CellPoint(c, 1));
    QTest::mouseRelease(w.view.viewport(), Qt::LeftButton, {}, CellPoint(6, 1));
    for (int c : {1, 3, 5, 6}) QCOMPARE(int(w.state.Board[c][1].number), 106);
    QCOMPARE(int(w.state.Board[2][1].number), 3);    // a hint stays
    QCOMPARE(int(w.state.Board[4][1].number), 104);  // so does a filled cell
    QCOMPARE(w.state.history.HistoryCount, 4);  // one move per cell
  }

  void finishedMessageAndWarningFrames() {
    Window w({"3 3 .", "1 2 .", "3 . 3"});
    w.state.SelectedNumber = 3;
    Click(w.view, CellPoint(3, 1));
    w.state.SelectedNumber = 2;
    Click(w.view, CellPoint(3, 2));
    Click(w.view, CellPoint(2, 3));  // a wrong 2: the board is full but not right
    QVERIFY(w.view.Overlay().statusText.isEmpty());
    QVERIFY(w.view.Overlay().warnings.any());  // the 2s grew to three cells
    QVERIFY(CountColour(Shot(w.view), CellTile(2, 3), 0xFF8C00) > 20);
    w.state.SelectedNumber = 3;
    Click(w.view, CellPoint(2, 3));  // replaced: now right
    QCOMPARE(w.view.Overlay().statusText, QStringLiteral("正解です！　おめでとうございます"));
    QVERIFY(w.view.Overlay().warnings.none());
    QCOMPARE(int(w.state.Board[2][3].complete), 1);
  }

  void answerCheckHintAndCompleteSolve() {
    Window w(kOneSolution);
    w.state.SelectedNumber = 2;
    Click(w.view, CellPoint(3, 1));  // wrong: the solution has 1
    w.view.StartAnalysis(numbloc::JobKind::CheckEntries);
    QVERIFY(WaitForWork(w.view));
    QCOMPARE(w.view.Overlay().statusText, QStringLiteral("違う数字が 1 個あります（赤枠）"));
    QVERIFY(w.view.Overlay().differs.test(2));
    Click(w.view, CellPoint(3, 1), Qt::RightButton);
    w.view.StartAnalysis(numbloc::JobKind::Hint);
    QVERIFY(WaitForWork(w.view));
    QVERIFY(w.view.Overlay().statusText.startsWith(QStringLiteral("ヒント：")));
    const QPoint at = w.view.Cursor();
    const int solution[4][3] = {{4, 3, 1}, {4, 3, 3}, {4, 4, 1}, {1, 2, 2}};
    QCOMPARE(int(w.state.Board[at.x()][at.y()].number), 100 + solution[at.y() - 1][at.x() - 1]);
    // The complete solve writes a unique solution, and only a unique one.
    w.view.StartAnalysis(numbloc::JobKind::CompleteSolve);
    QVERIFY(WaitForWork(w.view));
    QCOMPARE(int(w.state.Mode), int(numbloc::SolveAuto));
    QCOMPARE(int(w.state.Board[3][1].number), 101);
    Window::Load(w.state, {". . .", ". 3 .", ". . ."}, numbloc::SolveStart);
    Shot(w.view);  // laid out
    const BoardState before = w.state;
    w.view.StartAnalysis(numbloc::JobKind::CompleteSolve);
    QVERIFY(WaitForWork(w.view));
    QVERIFY(w.state == before);
    QCOMPARE(w.view.Overlay().statusText, QStringLiteral("解が複数あるため解答できません"));
  }

  // At twice the density tiles come from the 2x atlas pixel for pixel, and grid lines
  // keep hard edges: no blended band wider than one device pixel.
  void sharpAtTwiceThePixelDensity() {
    BoardState state;
    LoadPicture(state, {"12 . .", ". 3 .", ". . ."});
    QImage shot(2 * 400, 2 * 300, QImage::Format_RGB32);
    shot.setDevicePixelRatio(2);
    {
      QPainter painter(&shot);
      numbloc::PainterSurface surface(painter, true);
      numbloc::DrawBoardWindow(state, surface);
    }
    const Point at = CellOrigin(1, 1), from = NumberTileAtlas(TileStyle::Hint, 12);
    QVERIFY(ShowsRegion(shot, numbloc::LoadAtlasImage(2), {2 * at.x + 6, 2 * at.y + 6},
                        {2 * from.x + 6, 2 * from.y + 6, 44, 44}));
    // Across the line between (2, 2) and (3, 2): white, black, white, one blended pixel at most.
    const Point right = CellOrigin(3, 2);
    int run = 0, widest = 0;
    for (int x = 2 * right.x - 8; x < 2 * right.x + 8; ++x) {
      const QRgb p = At(shot, x, 2 * right.y + 20);
      run = p == kWhite || p == 0 ? 0 : run + 1;
      widest = std::max(widest, run);
    }
    QVERIFY2(widest <= 1, qPrintable(QString::number(widest)));
  }

  // Zoomed and scrolled: clicks, repaint requests and the picture all go through both.
  void zoomAndScrollApplyToClicksRequestsAndPicture() {
    Window w(Picture(6, 6), numbloc::SolvePlayed);
    w.view.SetZoom(9);
    QCOMPARE(w.view.Zoom(), CNumblocView::kMaxZoom);
    w.view.SetZoom(2.0);
    w.view.resize(300, 250);  // small enough to scroll both ways
    QCoreApplication::processEvents();
    QCOMPARE(w.view.horizontalScrollBar()->maximum(), 2 * w.view.CanvasSize().width() - w.view.viewport()->width());
    w.view.horizontalScrollBar()->setValue(30);
    w.view.verticalScrollBar()->setValue(20);
    const Point cell = CellOrigin(3, 2);
    const QPoint client = QPoint(2 * (cell.x + 13), 2 * (cell.y + 13)) - w.view.ScrollPosition();
    QCOMPARE(w.view.ToCanvas(client), QPoint(cell.x + 13, cell.y + 13));
    Click(w.view, client);
    QCOMPARE(int(w.state.Board[3][2].number), 101);
    QCOMPARE(w.view.requests, QStringList{"124,130,186,192"});  // the cell's 77,75,108,106 twice, less the scroll
    // The tile is drawn twice as large, from the 2x atlas.
    const Point from = NumberTileAtlas(TileStyle::Placed, 1);
    const QPoint tile = QPoint(2 * cell.x + 8, 2 * cell.y + 8) - w.view.ScrollPosition();
    QVERIFY(ShowsRegion(Shot(w.view), numbloc::LoadAtlasImage(2), {tile.x(), tile.y()},
                        {2 * from.x + 8, 2 * from.y + 8, 40, 40}));
  }
};

QTEST_MAIN(TestBoardWindow)
#include "tst_board_window.moc"
