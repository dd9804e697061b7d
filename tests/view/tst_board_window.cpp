// The board window as a real widget: the first repaint checked by pixels,
// mouse clicks through every Mode with their repaint requests, zoom and
// scroll, the automatic solve in the background and the analyses.
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
using numbloc::testing::Picture;
using Rows = std::vector<std::string>;
Q_DECLARE_METATYPE(Rows)

namespace {

// Records the repaint requests and the status each repaint saw.
class WatchedView : public CNumblocView {
 public:
  using CNumblocView::CNumblocView;

  QStringList requests;
  QList<int> paintedStatus;
  int buttonDown() const { return m_bButtonDown; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    paintedStatus << State().SolverStatus;
    CNumblocView::paintEvent(event);
  }
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

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

const QRgb kTeal = 0x008080, kWhite = 0xFFFFFF, kYellow = 0xFFFF00;

// Whether the window shows the atlas region `from` at canvas point `to`.
bool ShowsRegion(const QImage& shot, const QImage& atlas, Point to, Region from) {
  for (int y = 0; y < from.height; ++y)
    for (int x = 0; x < from.width; ++x)
      if (At(shot, to.x + x, to.y + y) != At(atlas, from.x + x, from.y + y)) return false;
  return true;
}

// Pixels in `area` of `colour`, or within `spread` of it in each channel so
// that text counts with its glyph edges blended into the teal.
int CountColour(const QImage& shot, QRect area, QRgb colour, int spread = 0) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = shot.pixel(x, y);
      n += std::abs(qRed(p) - qRed(colour)) <= spread && std::abs(qGreen(p) - qGreen(colour)) <= spread &&
           std::abs(qBlue(p) - qBlue(colour)) <= spread;
    }
  return n;
}

// The tile of cell (c, r) on the canvas, and a point in its middle.
QRect CellTile(int c, int r) { return QRect(CellOrigin(c, r).x, CellOrigin(c, r).y, 28, 28); }
QPoint CellPoint(int c, int r) { return CellTile(c, r).topLeft() + QPoint(13, 13); }

// Waits until the view has taken over the result of its running job.
bool WaitForWork(CNumblocView& view, int ms = 20000) {
  QSignalSpy done(&view, &CNumblocView::workFinished);
  return done.wait(ms);
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
  view.requests.clear();
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
}

// A puzzle with one solution: 4 3 1 / 4 3 3 / 4 4 1 / 1 2 2.
const Rows kOneSolution{"4 3 .", ". 3 .", ". 4 .", ". 2 2"};

// The buttons of a board 6 wide.
const QPoint kLower6(PanelX(6) + 50, 228), kUpper6(PanelX(6) + 50, 168);

// A board shown in its view and laid out: the default board, or `rows` in
// `mode` (Solving, nothing placed yet, unless told otherwise).
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
    numbloc::testing::LoadPicture(state, rows);
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

  // Whether the panel of a board W wide shows these buttons and this label.
  bool ShowsPanel(const QImage& shot, int W, ButtonPicture lower, ButtonPicture upper, Region label) {
    return ShowsRegion(shot, atlas_, {PanelX(W), kLowerButtonY}, ButtonRegion(lower)) &&
           ShowsRegion(shot, atlas_, {PanelX(W), kUpperButtonY}, ButtonRegion(upper)) &&
           ShowsRegion(shot, atlas_, {PanelX(W), kLabelY}, label);
  }

 private slots:
  void initTestCase() {
    atlas_ = numbloc::LoadAtlasImage();
    QVERIFY(!atlas_.isNull());
  }

  void firstRepaint() {
    Window w;
    auto& [state, view] = w;
    const QImage shot = Shot(view);
    QCOMPARE(int(state.BoardReady), 2);
    QCOMPARE(int(state.MaxNumber), 10);
    QCOMPARE(int(state.Mode), 0);
    QCOMPARE(int(state.SelectedNumber), 1);
    QCOMPARE(view.window()->frameGeometry().size(), QSize(476, 386));
    QCOMPARE(view.CanvasSize(), QSize(436, 330));
    for (int x = 0; x < numbloc::kBoardColumns; ++x)
      for (int y = 0; y < numbloc::kBoardRows; ++y)
        QCOMPARE(int(state.Board[x][y].number), state.IsPuzzleCell(x, y) ? 0 : 100);

    // 64 white tiles inside the black frame.
    for (int i = 1; i <= 8; ++i)
      for (int j = 1; j <= 8; ++j)
        QCOMPARE(CountColour(shot, CellTile(i, j).adjusted(3, 3, -5, -5), kWhite), 20 * 20);
    QCOMPARE(At(shot, 24, 150), 0u);           // the frame, left
    QCOMPARE(At(shot, 150, 27 * 8 + 50), 0u);  // the frame, bottom
    // The bar 1..10 in blue with the red 1 marker over its first entry.
    QVERIFY(ShowsRegion(shot, atlas_, MarkerOrigin(8, 1), {28, 0, 27, 27}));
    QVERIFY(ShowsRegion(shot, atlas_, BarEntryOrigin(8, 2), {0, 27, 28, 244}));
    QCOMPARE(At(shot, BarX(8) + 10, 27 * 10 + 53), kTeal);  // below the bar
    // Creation mode: lower 解答モードへ, upper 全クリア; the title.
    QVERIFY(ShowsPanel(shot, 8, ButtonPicture::ToSolving, ButtonPicture::ClearAll, CreationLabelRegion()));
    QVERIFY(ShowsRegion(shot, atlas_, TitleOrigin(), TitleBannerRegion()));
    // Blank status line, teal all round the pictures.
    QCOMPARE(CountColour(shot, QRect(30, 28, 380, 20), kTeal), 380 * 20);
    for (QPoint p : {QPoint(5, 200), QPoint(250, 100), QPoint(310, 100), QPoint(400, 130),
                     QPoint(350, 200), QPoint(350, 300), QPoint(100, 300), QPoint(260, 48)})
      QCOMPARE(At(shot, p.x(), p.y()), kTeal);
  }

  void clicksThroughEveryMode() {
    Window w;
    auto& [state, view] = w;
    QSignalSpy changed(&view, &CNumblocView::boardChanged);
    const int W = 8;
    const QPoint lower(PanelX(W) + 50, 228), upper(PanelX(W) + 50, 168);

    // Creation: select 2 on the bar, place two hints 2 by the first pixel of
    // cell (1, 1) and the last one of cell (2, 1).
    Click(view, QPoint(BarX(W) + 10, 27 * 2 + 33));
    QCOMPARE(int(state.SelectedNumber), 2);
    QCOMPARE(view.requests, QStringList{"274,50,302,321"});
    Click(view, QPoint(26, 51));
    Click(view, QPoint(78, 76));
    QCOMPARE(view.requests, QStringList{"50,48,81,79"});
    QCOMPARE(int(state.Board[2][1].number), 2);
    QImage shot = Shot(view);
    QVERIFY(ShowsRegion(shot, atlas_, MarkerOrigin(W, 2), {28, 27, 27, 27}));
    // Two incomplete 2s side by side: no line between them.
    const Point at = CellOrigin(2, 1), from = NumberTileAtlas(TileStyle::Hint, 2);
    QVERIFY(ShowsRegion(shot, atlas_, {at.x + 1, at.y + 3}, {from.x + 1, from.y + 3, 26, 24}));
    QCOMPARE(view.buttonDown(), 0);

    // To Solving mode.
    Click(view, lower);
    QCOMPARE(int(state.Mode), int(numbloc::SolveStart));
    QCOMPARE(view.requests, QStringList{"whole"});
    QVERIFY(ShowsPanel(Shot(view), W, ButtonPicture::ToCreation, ButtonPicture::AutoSolve, SolvingLabelRegion()));

    // First placement: SolvePlayed and a whole repaint; then only the cell.
    Click(view, CellPoint(3, 3));
    QCOMPARE(int(state.Mode), int(numbloc::SolvePlayed));
    QCOMPARE(view.requests, QStringList{"whole"});
    Click(view, CellPoint(4, 3));
    QCOMPARE(view.requests, QStringList{"104,102,135,133"});
    QCOMPARE(int(state.Board[4][3].number), 102);
    QVERIFY(ShowsPanel(Shot(view), W, ButtonPicture::BackToStart, ButtonPicture::UndoOne, SolvingLabelRegion()));

    // Erase with the right button, undo it.
    Click(view, CellPoint(4, 3), Qt::RightButton);
    QCOMPARE(int(state.Board[4][3].number), 0);
    QCOMPARE(view.requests, QStringList{"25,50,243,268"});
    Click(view, upper);
    QCOMPARE(int(state.Board[4][3].number), 102);
    QCOMPARE(view.requests, QStringList{"25,50,243,268"});

    // Back to start, then to Creation mode, then clear all (what each does:
    // input_test).
    Click(view, lower);
    QCOMPARE(int(state.Board[1][1].number), 2);
    Click(view, lower);
    QCOMPARE(int(state.Mode), int(numbloc::Creation));
    Click(view, upper);
    QCOMPARE(int(state.Board[1][1].number), 0);
    QCOMPARE(view.requests, QStringList{"whole"});
    QCOMPARE(changed.count(), 11);
  }

  // The old view had no double-click handler, so a double click acted once;
  // counting its second press too cleared a puzzle right after its automatic
  // solve (the upper button is clear all by then) and switched modes back.
  // A double click on undo, which keeps the mode, is two presses.
  void doubleClickOnAButtonThatChangesModeActsOnce() {
    Window w(Picture(6, 6, {"1"}), numbloc::Creation);
    auto& [state, view] = w;
    DoubleClick(view, kLower6);
    QCOMPARE(int(state.Mode), int(numbloc::SolveStart));
    for (int c = 2; c <= 4; ++c) Click(view, CellPoint(c, 1));
    DoubleClick(view, kUpper6);
    QCOMPARE(state.history.HistoryCount, 1);
    QCOMPARE(int(state.Board[3][1].number), 0);
    QCOMPARE(int(state.Board[2][1].number), 101);

    Click(view, kLower6);  // back to start
    DoubleClick(view, kUpper6);
    if (view.Busy()) QVERIFY(WaitForWork(view));
    QCOMPARE(int(state.Mode), int(numbloc::SolveAuto));
    QCOMPARE(int(state.Board[1][1].number), 1);  // the hint is still there
    QCOMPARE(view.requests.count("solve"), 1);
    QCOMPARE(view.buttonDown(), 0);
  }

  void solveRunsInTheBackgroundAndCancelLeavesTheBoard() {
    // An empty 20 x 20 board keeps the trials busy for many seconds.
    Window w(Picture(20, 20));
    auto& [state, view] = w;
    const BoardState before = state;
    view.paintedStatus.clear();
    Click(view, QPoint(PanelX(20) + 50, 168));
    QVERIFY(view.Busy());
    QTest::qWait(500);
    QVERIFY(view.paintedStatus.contains(4));  // message 4 shows while it runs
    QVERIFY(view.Overlay().progress[0].endsWith(QStringLiteral("秒")));
    QVERIFY(view.Overlay().progress[1].startsWith(QStringLiteral("試行")));
    auto* cancel = view.viewport()->findChild<QPushButton*>("cancelButton");
    QVERIFY(cancel && cancel->isVisible());
    QCOMPARE(cancel->geometry().topLeft(), QPoint(PanelX(20), kUpperButtonY) - view.ScrollPosition());

    // Clicks and keys made meanwhile are dropped, not kept for later.
    Click(view, CellPoint(1, 1));
    Click(view, QPoint(BarX(20) + 10, 27 * 3 + 33));
    Click(view, QPoint(PanelX(20) + 50, 228));
    QTest::keyClick(&view, Qt::Key_3);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(&view, Qt::Key_Escape);
    QVERIFY(WaitForWork(view, 2000));
    QVERIFY2(clock.elapsed() < 100 + 50, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!view.Busy() && !cancel->isVisible());
    QVERIFY(state == before);
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
    auto& [state, view] = w;
    BoardState direct = state;
    numbloc::Solver(direct).AutoSolve();
    direct.Mode = numbloc::SolveAuto;
    Click(view, kUpper6);
    QVERIFY(WaitForWork(view));
    QVERIFY(state == direct);
    QCOMPARE(int(state.Mode), int(numbloc::SolveAuto));
  }

  void analysisVerdictsAndTheDifferenceMark_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marks");
    QTest::newRow("one") << kOneSolution << QStringLiteral("解は一つです") << false;
    QTest::newRow("several") << Rows{". . .", ". 3 .", ". . ."}
                             << QStringLiteral("解が複数あります（赤枠の升で異なります）") << true;
    QTest::newRow("none") << Rows{"1 1 .", ". . .", ". . ."} << QStringLiteral("解がありません") << false;
  }
  void analysisVerdictsAndTheDifferenceMark() {
    QFETCH(Rows, rows);
    QFETCH(QString, text);
    QFETCH(bool, marks);
    Window w(rows);
    auto& [state, view] = w;
    const BoardState before = state;
    view.StartAnalysis(numbloc::JobKind::Count);
    QVERIFY(WaitForWork(view));
    QCOMPARE(view.Overlay().statusText, text);
    QCOMPARE(view.Overlay().differs.any(), marks);
    QVERIFY(state == before);  // counting changes nothing
    QImage shot = Shot(view);
    QVERIFY(CountColour(shot, QRect(30, 30, 150, 16), kYellow, 60) > 50);
    // A red frame in exactly the cells where the solutions differ.
    const int W = state.BoardWidth;
    for (int x = 1; x <= W; ++x)
      for (int y = 1; y <= state.BoardHeight; ++y)
        QCOMPARE(CountColour(shot, CellTile(x, y).adjusted(3, 3, -3, -3), 0xE60000) > 0,
                 view.Overlay().differs.test((y - 1) * W + (x - 1)));
    // The next change of the board clears the answer and its marks.
    Click(view, CellPoint(3, 3));
    QVERIFY(view.Overlay().statusText.isEmpty() && view.Overlay().differs.none());
  }

  void liveVerdictFollowsTheHintsInCreationMode() {
    Window w(Picture(3, 3), numbloc::Creation);
    auto& [state, view] = w;
    Click(view, CellPoint(1, 1));
    QCOMPARE(view.Overlay().verdict, QStringLiteral("確認中…"));
    QVERIFY(!view.Busy());  // clicking stays free meanwhile
    QVERIFY(WaitForWork(view));
    QCOMPARE(view.Overlay().verdict, QStringLiteral("解が複数"));
    Click(view, CellPoint(2, 1));  // two 1s side by side
    QVERIFY(WaitForWork(view));
    QCOMPARE(view.Overlay().verdict, QStringLiteral("解なし"));
    // In white under the mode label.
    QVERIFY(CountColour(Shot(view), QRect(PanelX(3), kLabelY + kLabelHeight + 6, 100, 18), kWhite, 60) > 20);
  }

  void keyboardPlayTypesTwoDigitNumbersAndMovesTheCursor() {
    Window w(Picture(6, 6, {"", "", ". 2"}));
    auto& [state, view] = w;
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);  // shows the cursor at (1, 1), then moves it
    QTest::keyClick(&view, Qt::Key_Right);
    QCOMPARE(view.Cursor(), QPoint(2, 1));
    QTest::keyClick(&view, Qt::Key_1);
    QTest::keyClick(&view, Qt::Key_2);  // within 0.8 s: twelve, one move
    QCOMPARE(int(state.Board[2][1].number), 112);
    QCOMPARE(state.history.HistoryCount, 1);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_4);
    QTest::qWait(CNumblocView::kTwoDigitMs + 100);
    QTest::keyClick(&view, Qt::Key_5);  // too late: 5 replaces the 4
    QCOMPARE(int(state.Board[2][2].number), 105);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_7);  // a hint stays
    QCOMPARE(int(state.Board[2][3].number), 2);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Delete);
    QCOMPARE(int(state.Board[2][2].number), 0);
    QTest::keyClick(&view, Qt::Key_PageDown);  // the bar's next number, placed with Enter
    QCOMPARE(int(state.SelectedNumber), 2);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(int(state.Board[2][2].number), 102);
    QVERIFY(CountColour(Shot(view), CellTile(2, 2), 0xA000C8) > 20);
  }

  void dragFillsTheEmptyCellsItPasses() {
    Window w(Picture(6, 6, {". 3 . +4"}), numbloc::SolvePlayed);
    auto& [state, view] = w;
    state.SelectedNumber = 6;
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, CellPoint(1, 1));
    for (int c = 2; c <= 6; ++c) QTest::mouseMove(view.viewport(), CellPoint(c, 1));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, CellPoint(6, 1));
    QCOMPARE(int(state.Board[1][1].number), 106);
    QCOMPARE(int(state.Board[2][1].number), 3);    // a hint stays
    QCOMPARE(int(state.Board[4][1].number), 104);  // so does a filled cell
    for (int c : {3, 5, 6}) QCOMPARE(int(state.Board[c][1].number), 106);
    QCOMPARE(state.history.HistoryCount, 4);  // one move per cell
  }

  void finishedMessageAndWarningFrames() {
    Window w({"3 3 .", "1 2 .", "3 . 3"});
    auto& [state, view] = w;
    state.SelectedNumber = 3;
    Click(view, CellPoint(3, 1));
    state.SelectedNumber = 2;
    Click(view, CellPoint(3, 2));
    Click(view, CellPoint(2, 3));  // a wrong 2: the board is full but not right
    QVERIFY(view.Overlay().statusText.isEmpty());
    QVERIFY(view.Overlay().warnings.any());  // the 2s grew to three cells
    QVERIFY(CountColour(Shot(view), CellTile(2, 3), 0xFF8C00) > 20);
    state.SelectedNumber = 3;
    Click(view, CellPoint(2, 3));  // replaced: now right
    QCOMPARE(view.Overlay().statusText, QStringLiteral("正解です！　おめでとうございます"));
    QVERIFY(view.Overlay().warnings.none());
    QCOMPARE(int(state.Board[2][3].complete), 1);
    QVERIFY(CountColour(Shot(view), QRect(30, 30, 200, 16), kYellow, 60) > 100);
  }

  void answerCheckHintAndCompleteSolve() {
    Window w(kOneSolution);
    auto& [state, view] = w;
    state.SelectedNumber = 2;
    Click(view, CellPoint(3, 1));  // wrong: the solution has 1
    view.StartAnalysis(numbloc::JobKind::CheckEntries);
    QVERIFY(WaitForWork(view));
    QCOMPARE(view.Overlay().statusText, QStringLiteral("違う数字が 1 個あります（赤枠）"));
    QVERIFY(view.Overlay().differs.test(2));
    Click(view, CellPoint(3, 1), Qt::RightButton);
    view.StartAnalysis(numbloc::JobKind::Hint);
    QVERIFY(WaitForWork(view));
    QVERIFY(view.Overlay().statusText.startsWith(QStringLiteral("ヒント：")));
    const QPoint at = view.Cursor();
    const int solution[4][3] = {{4, 3, 1}, {4, 3, 3}, {4, 4, 1}, {1, 2, 2}};
    QCOMPARE(int(state.Board[at.x()][at.y()].number), 100 + solution[at.y() - 1][at.x() - 1]);
    QCOMPARE(int(state.Mode), int(numbloc::SolvePlayed));
    // The complete solve writes a unique solution, and only a unique one.
    view.StartAnalysis(numbloc::JobKind::CompleteSolve);
    QVERIFY(WaitForWork(view));
    QCOMPARE(int(state.Mode), int(numbloc::SolveAuto));
    QCOMPARE(int(state.Board[3][1].number), 101);
    QCOMPARE(state.SolverStatus, numbloc::kStatusOk);
    Window::Load(state, {". . .", ". 3 .", ". . ."}, numbloc::SolveStart);
    Shot(view);  // laid out
    const BoardState before = state;
    view.StartAnalysis(numbloc::JobKind::CompleteSolve);
    QVERIFY(WaitForWork(view));
    QVERIFY(state == before);
    QCOMPARE(view.Overlay().statusText, QStringLiteral("解が複数あるため解答できません"));
  }

  // At twice the pixel density the tiles come from the 2x atlas pixel for
  // pixel, and grid lines keep hard edges: no band of blended colour wider
  // than one device pixel where a line meets a tile.
  void sharpAtTwiceThePixelDensity() {
    BoardState state;
    numbloc::testing::LoadPicture(state, {"12 . .", ". 3 .", ". . ."});
    QImage shot(2 * 400, 2 * 300, QImage::Format_RGB32);
    shot.setDevicePixelRatio(2);
    {
      QPainter painter(&shot);
      numbloc::PainterSurface surface(painter, true);
      numbloc::DrawBoardWindow(state, surface);
    }
    const QImage atlas2 = numbloc::LoadAtlasImage(2);
    QVERIFY(!atlas2.isNull());
    const Point at = CellOrigin(1, 1), from = NumberTileAtlas(TileStyle::Hint, 12);
    for (int y = 6; y < 50; ++y)
      for (int x = 6; x < 50; ++x)
        QCOMPARE(At(shot, 2 * at.x + x, 2 * at.y + y), At(atlas2, 2 * from.x + x, 2 * from.y + y));
    // Across the line between cells (2, 2) and (3, 2): white, black, white,
    // with at most one blended pixel at each side.
    const Point right = CellOrigin(3, 2);
    const int y = 2 * right.y + 20;
    int run = 0, widest = 0;
    for (int x = 2 * right.x - 8; x < 2 * right.x + 8; ++x) {
      const QRgb p = At(shot, x, y);
      const bool pure = p == 0xFFFFFF || p == 0x000000;
      run = pure ? 0 : run + 1;
      widest = std::max(widest, run);
    }
    QVERIFY2(widest <= 1, qPrintable(QString::number(widest)));
  }

  // Zoomed and scrolled: clicks, repaint requests and the picture all go
  // through the zoom and the scroll offset.
  void zoomAndScrollApplyToClicksRequestsAndPicture() {
    Window w(Picture(6, 6), numbloc::SolvePlayed);
    auto& [state, view] = w;
    view.SetZoom(2.0);
    QCOMPARE(view.Zoom(), 2.0);
    view.SetZoom(9);
    QCOMPARE(view.Zoom(), CNumblocView::kMaxZoom);
    view.SetZoom(2.0);
    view.resize(300, 250);  // small enough to scroll both ways
    QCoreApplication::processEvents();
    const QSize canvas = view.CanvasSize() * 2;
    QCOMPARE(view.horizontalScrollBar()->maximum(), canvas.width() - view.viewport()->width());
    view.horizontalScrollBar()->setValue(30);
    view.verticalScrollBar()->setValue(20);
    QCOMPARE(view.ScrollPosition(), QPoint(30, 20));
    const Point cell = CellOrigin(3, 2);
    const QPoint client = QPoint(2 * (cell.x + 13), 2 * (cell.y + 13)) - view.ScrollPosition();
    QCOMPARE(view.ToCanvas(client), QPoint(cell.x + 13, cell.y + 13));
    Click(view, client);
    QCOMPARE(int(state.Board[3][2].number), 101);
    QCOMPARE(view.requests, QStringList{"124,130,186,192"});  // the cell's 77,75,108,106 twice, less the scroll
    // The tile is drawn twice as large, from the 2x atlas.
    const QImage shot = Shot(view);
    const QImage atlas2 = numbloc::LoadAtlasImage(2);
    const Point from = NumberTileAtlas(TileStyle::Placed, 1);
    const QPoint tile = QPoint(2 * cell.x, 2 * cell.y) - view.ScrollPosition();
    for (int y = 8; y < 48; y += 3)
      for (int x = 8; x < 48; x += 3)
        QCOMPARE(At(shot, tile.x() + x, tile.y() + y), At(atlas2, 2 * from.x + x, 2 * from.y + y));
  }
};

QTEST_MAIN(TestBoardWindow)
#include "tst_board_window.moc"
