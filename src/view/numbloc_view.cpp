// The board window: paints through the drawing surface, lays the window out
// when the board state asks for it, hands mouse presses to the input rules
// with the scroll position added, and runs the solvers in the background.
#include "view/numbloc_view.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "platform/draw_surface.h"
#include "view/board_input.h"
#include "view/layout.h"

namespace {

constexpr int kProgressIntervalMs = 200;  // progress lines refresh five times a second

// The answers of the analysis menu on the status line, and the live verdict.
QString CountText(numbloc::complete::Verdict v) {
  switch (v) {
    case numbloc::complete::Verdict::Unique: return QStringLiteral("解は一つです");
    case numbloc::complete::Verdict::Several:
      return QStringLiteral("解が複数あります（赤枠の升で異なります）");
    default: return QStringLiteral("解がありません");
  }
}

// Why an analysis that needs a unique solution did not act: "解が複数あるため"
// or "解がないため" before what it could not do.
QString WhyNot(numbloc::complete::Verdict v, const QString& cannot) {
  return (v == numbloc::complete::Verdict::Several ? QStringLiteral("解が複数あるため")
                                                    : QStringLiteral("解がないため")) +
         cannot;
}

QString VerdictText(numbloc::complete::Verdict v) {
  switch (v) {
    case numbloc::complete::Verdict::Unique: return QStringLiteral("解は一つ");
    case numbloc::complete::Verdict::Several: return QStringLiteral("解が複数");
    default: return QStringLiteral("解なし");
  }
}

const QString kChecking = QStringLiteral("確認中…");

// What the automatic solve writes (the board, the status, the counters and
// the conflict cell) goes over to the window's state; then SolveAuto, as the
// button has always left it.
void TakeSolvedBoard(const numbloc::BoardState& from, numbloc::BoardState& to) {
  for (int x = 0; x < numbloc::kBoardColumns; ++x) {
    std::copy(std::begin(from.Board[x]), std::end(from.Board[x]), std::begin(to.Board[x]));
  }
  to.SolverStatus = from.SolverStatus;
  to.EmptyCount = from.EmptyCount;
  to.ProgressMade = from.ProgressMade;
  to.ConflictColumn = from.ConflictColumn;
  to.ConflictRow = from.ConflictRow;
  to.ConflictNumber = from.ConflictNumber;
  to.Mode = numbloc::SolveAuto;
}

}  // namespace

// Carries the repaint requests of one press back to the view, turning canvas
// rectangles into viewport rectangles.
class CNumblocView::Host : public numbloc::InputHost {
 public:
  explicit Host(CNumblocView& view) : view_(view) {}

  void InvalidateCanvasRect(const numbloc::layout::Rect& r) override {
    view_.InvalidateClientRect(view_.ToClient(r));
  }
  void InvalidateWholeView() override { view_.InvalidateWholeView(); }
  void StartAutoSolve() override { view_.StartAutoSolve(); }

 private:
  CNumblocView& view_;
};

CNumblocView::CNumblocView(numbloc::BoardState& state, QWidget* parent)
    : QAbstractScrollArea(parent), state_(state) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  connect(&job_, &numbloc::BackgroundJob::finished, this, &CNumblocView::TakeOver);
  progressTimer_.setInterval(kProgressIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, &CNumblocView::ShowProgress);
  cancelButton_ = new QPushButton(QStringLiteral("中止 (Esc)"), viewport());
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  cancelButton_->setFocusPolicy(Qt::NoFocus);
  cancelButton_->hide();
  connect(cancelButton_, &QPushButton::clicked, this, &CNumblocView::CancelWork);
  OnInitialUpdate();
}

CNumblocView::~CNumblocView() { job_.StopAndWait(); }

void CNumblocView::OnInitialUpdate() {
  const auto size = numbloc::layout::InitialScrollSize(state_.BoardWidth, state_.BoardHeight);
  SetCanvasSize(QSize(size.width, size.height));
}

void CNumblocView::SetCanvasSize(QSize size) {
  canvas_ = size;
  UpdateScrollBars();
}

QPoint CNumblocView::ScrollPosition() const {
  return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint CNumblocView::ToCanvas(QPoint client) const {
  const QPointF at = QPointF(client + ScrollPosition()) / zoom_;
  return QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

QRect CNumblocView::ToClient(const numbloc::layout::Rect& r) const {
  const QPoint scroll = ScrollPosition();
  const int left = static_cast<int>(std::floor(r.left * zoom_)) - scroll.x();
  const int top = static_cast<int>(std::floor(r.top * zoom_)) - scroll.y();
  const int right = static_cast<int>(std::ceil(r.right * zoom_)) - scroll.x();
  const int bottom = static_cast<int>(std::ceil(r.bottom * zoom_)) - scroll.y();
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QSize CNumblocView::ZoomedCanvas() const {
  return QSize(static_cast<int>(std::ceil(canvas_.width() * zoom_)),
               static_cast<int>(std::ceil(canvas_.height() * zoom_)));
}

void CNumblocView::SetZoom(double zoom) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (zoom == zoom_) return;
  zoom_ = zoom;
  UpdateScrollBars();
  PlaceCancelButton();
  GrowWindow(false);
  RepaintAll();
}

void CNumblocView::UpdateScrollBars() {
  // Page step a tenth of the canvas, line step a tenth of the page.
  const QSize canvas = ZoomedCanvas();
  const QSize view = viewport()->size();
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, canvas.width() - view.width()));
  v->setRange(0, std::max(0, canvas.height() - view.height()));
  h->setPageStep(std::max(1, canvas.width() / 10));
  v->setPageStep(std::max(1, canvas.height() / 10));
  h->setSingleStep(std::max(1, canvas.width() / 100));
  v->setSingleStep(std::max(1, canvas.height() / 100));
}

void CNumblocView::LayOut() {
  state_.MaxNumber = numbloc::DeriveMaxNumber(state_.BoardWidth, state_.BoardHeight);
  state_.LayoutPending = 0;
  const auto scroll = numbloc::layout::ScrollSize(state_.BoardWidth, state_.MaxNumber);
  canvas_ = QSize(scroll.width, scroll.height);
  const bool first = !laidOut_;
  laidOut_ = true;
  // The window and the scroll bars change after this repaint has finished:
  // resizing from inside a paint event would nest paints.
  QMetaObject::invokeMethod(
      this,
      [this, first] {
        UpdateScrollBars();
        PlaceCancelButton();
        GrowWindow(first);
      },
      Qt::QueuedConnection);
}

// Grows the window to show the whole (zoomed) canvas, within the screen's
// free area; never shrinks it, so a window the user made larger stays so.
// The first window is at least the program's usual size.
void CNumblocView::GrowWindow(bool first) {
  QWidget* frame = window();
  if (frame->isMaximized() || frame->isFullScreen()) return;
  const auto usual = numbloc::layout::FrameWindowSize(state_.BoardWidth, state_.BoardHeight);
  const QSize around = frame->size() - viewport()->size();
  QSize want = ZoomedCanvas() + around;
  const QSize decorations = frame->frameGeometry().size() - frame->geometry().size();
  if (first) want = want.expandedTo(QSize(usual.width, usual.height) - decorations);
  if (const QScreen* screen = frame->screen()) {
    want = want.boundedTo(screen->availableGeometry().size() - decorations);
  }
  const QSize target = first ? want : frame->size().expandedTo(want);
  if (target != frame->size()) frame->resize(target);
}

void CNumblocView::OnDraw(numbloc::DrawSurface& surface) {
  surface.SetBackgroundColor(QColor(0, 128, 128));
  surface.SetDefaultFont();
  if (state_.BoardReady == 0) {
    state_.ResetBoard();
    LayOut();
  } else if (state_.LayoutPending == 1) {
    LayOut();
  }
  if (state_.BoardReady == 1) state_.BoardReady = 2;
  numbloc::DrawBoardWindow(state_, surface, overlay_);
}

void CNumblocView::RepaintAll() { viewport()->update(); }

void CNumblocView::BoardReplaced() {
  overlay_ = {};
  finishedShown_ = false;
  AfterChange();
  RepaintAll();
}

void CNumblocView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPoint scroll = ScrollPosition();
  painter.translate(-scroll.x(), -scroll.y());
  painter.scale(zoom_, zoom_);
  numbloc::PainterSurface surface(painter, true);
  OnDraw(surface);
}

void CNumblocView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CNumblocView::scrollContentsBy(int, int) {
  PlaceCancelButton();
  viewport()->update();
}

void CNumblocView::mousePressEvent(QMouseEvent* event) {
  // While a solve runs the board takes nothing: what is clicked meanwhile is
  // dropped, not kept for later.
  if (Busy()) return;
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    OnLButtonDown(at);
  } else if (event->button() == Qt::RightButton) {
    OnRButtonDown(at);
  } else {
    QAbstractScrollArea::mousePressEvent(event);
  }
}

// The second press of a quick double click is a press like any other, so
// that clicking the undo button twice in a row takes back two moves. When
// the first press changed Mode, the buttons under the pointer are others by
// now: a double click on the automatic solve would clear the solved puzzle
// at once, one on a mode button would switch back. Such a second press is
// ignored, as a window without a double-click handler would.
void CNumblocView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (modeChangedByLastPress_) return;
  mousePressEvent(event);
}

void CNumblocView::keyPressEvent(QKeyEvent* event) {
  if (Busy()) {
    if (event->key() == Qt::Key_Escape) CancelWork();
    return;  // no key reaches the board meanwhile
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const int key = event->key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    TypeDigit(key - Qt::Key_0);
    return;
  }
  pendingDigit_ = 0;
  switch (key) {
    case Qt::Key_Left: MoveCursor(-1, 0); return;
    case Qt::Key_Right: MoveCursor(1, 0); return;
    case Qt::Key_Up: MoveCursor(0, -1); return;
    case Qt::Key_Down: MoveCursor(0, 1); return;
    case Qt::Key_PageUp:
    case Qt::Key_Minus: ChangeSelection(-1); return;
    case Qt::Key_PageDown:
    case Qt::Key_Plus: ChangeSelection(1); return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      SetCursor(cursorColumn_, cursorRow_, true);
      if (numbloc::EraseNumber(state_, cursorColumn_, cursorRow_)) {
        AfterChange();
        emit boardChanged();
      }
      return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // The selected number, as a click on the cursor's cell.
      SetCursor(cursorColumn_, cursorRow_, true);
      const numbloc::layout::Point at = numbloc::layout::CellOrigin(cursorColumn_, cursorRow_);
      OnLButtonDown(ToClient({at.x + 13, at.y + 13, at.x + 14, at.y + 14}).topLeft());
      OnLButtonUp();
      return;
    }
    default: QAbstractScrollArea::keyPressEvent(event);
  }
}

bool CNumblocView::CellAt(QPoint client, int* c, int* r) const {
  const QPoint at = ToCanvas(client);
  const numbloc::layout::Hit hit = numbloc::layout::HitTest(
      state_.BoardWidth, state_.BoardHeight, state_.MaxNumber, at.x(), at.y());
  if (hit.kind != numbloc::layout::HitKind::Board) return false;
  *c = hit.column;
  *r = hit.row;
  return true;
}

// A click moves the cursor; it shows once the keyboard is used, so that the
// board looks as it always did to those who play with the mouse.
void CNumblocView::SetCursor(int c, int r, bool show) {
  cursorColumn_ = std::clamp(c, 1, int(state_.BoardWidth));
  cursorRow_ = std::clamp(r, 1, int(state_.BoardHeight));
  if (show) cursorShown_ = true;
  overlay_.cursorColumn = cursorShown_ ? cursorColumn_ : 0;
  overlay_.cursorRow = cursorShown_ ? cursorRow_ : 0;
  viewport()->update();
}

void CNumblocView::MoveCursor(int dx, int dy) {
  if (!cursorShown_) {
    SetCursor(cursorColumn_, cursorRow_, true);
    return;
  }
  SetCursor(cursorColumn_ + dx, cursorRow_ + dy, true);
}

void CNumblocView::ChangeSelection(int delta) {
  const int n = std::clamp(state_.SelectedNumber + delta, 1, std::max(1, int(state_.MaxNumber)));
  if (n == state_.SelectedNumber) return;
  state_.SelectedNumber = static_cast<std::uint8_t>(n);
  viewport()->update();
  emit boardChanged();
}

// A digit puts its number in the cursor's cell at once; a second digit
// within kTwoDigitMs turns it into a two-digit number (10..40) in the same
// move, so that one undo takes the whole number back.
void CNumblocView::TypeDigit(int digit) {
  SetCursor(cursorColumn_, cursorRow_, true);
  const int c = cursorColumn_, r = cursorRow_;
  if (pendingDigit_ != 0 && pendingClock_.elapsed() < kTwoDigitMs &&
      pendingDigit_ * 10 + digit <= numbloc::kMaxCellNumber) {
    const int n = pendingDigit_ * 10 + digit;
    pendingDigit_ = 0;
    state_.Board[c][r].number = static_cast<std::uint8_t>(state_.Mode == numbloc::Creation ? n : n + 100);
    AfterChange();
    emit boardChanged();
    return;
  }
  pendingDigit_ = 0;
  if (digit == 0) return;
  const std::uint8_t before = state_.Board[c][r].number;
  PlayMove(c, r, digit, true);
  if (state_.Board[c][r].number != before && digit * 10 <= numbloc::kMaxCellNumber) {
    pendingDigit_ = digit;
    pendingClock_.start();
  }
}

void CNumblocView::PlayMove(int c, int r, int number, bool overHint) {
  const int modeBefore = state_.Mode;
  if (!numbloc::PlaceNumber(state_, c, r, number, overHint)) return;
  if (state_.Mode != modeBefore) {
    viewport()->update();  // the buttons change
  } else {
    InvalidateWholeView();
  }
  AfterChange();
  emit boardChanged();
}

void CNumblocView::Undo() {
  if (!CanUndo() || !redo_.Undo(state_)) return;
  AfterChange(true);
  RepaintAll();
  emit boardChanged();
}

void CNumblocView::Redo() {
  if (!CanRedo() || !redo_.Redo(state_)) return;
  AfterChange(true);
  RepaintAll();
  emit boardChanged();
}

void CNumblocView::PressButton(bool upper) {
  using namespace numbloc::layout;
  if (Busy()) return;
  const int x = PanelX(state_.BoardWidth) + kButtonWidth / 2;
  const int y = (upper ? kUpperButtonY : kLowerButtonY) + kButtonHeight / 2;
  OnLButtonDown(ToClient({x, y, x + 1, y + 1}).topLeft());
  OnLButtonUp();
}

void CNumblocView::SetShowWarnings(bool show) {
  showWarnings_ = show;
  AfterChange(true);
  RepaintAll();
}

void CNumblocView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    OnLButtonUp();
  } else if (event->button() == Qt::RightButton) {
    OnRButtonUp();
  } else {
    QAbstractScrollArea::mouseReleaseEvent(event);
  }
}

// The press keeps the mouse until its release through Qt's implicit grab of
// the pressed widget, which is the capture the press takes.
void CNumblocView::OnLButtonDown(QPoint client) {
  m_bButtonDown = 1;
  m_ptPress = client;
  Host host(*this);
  const QPoint click = ToCanvas(m_ptPress);
  const int modeBefore = state_.Mode;
  pendingDigit_ = 0;
  int c = 0, r = 0;
  dragging_ = CellAt(client, &c, &r);
  if (dragging_) {
    dragColumn_ = c;
    dragRow_ = r;
    SetCursor(c, r, false);
  }
  const bool changed = numbloc::LeftPress(state_, click.x(), click.y(), host);
  modeChangedByLastPress_ = state_.Mode != modeBefore;
  if (changed) {
    AfterChange();
    emit boardChanged();
  }
}

void CNumblocView::OnLButtonUp() {
  m_bButtonDown = 0;
  dragging_ = false;
}

// A left drag places the selected number in each empty cell it passes, one
// move per cell, as separate clicks would.
void CNumblocView::mouseMoveEvent(QMouseEvent* event) {
  int c = 0, r = 0;
  if (!dragging_ || Busy() || !(event->buttons() & Qt::LeftButton)) return;
  if (!CellAt(event->position().toPoint(), &c, &r) || (c == dragColumn_ && r == dragRow_)) return;
  dragColumn_ = c;
  dragRow_ = r;
  SetCursor(c, r, false);
  if (state_.Board[c][r].number == 0) PlayMove(c, r, state_.SelectedNumber, false);
}

void CNumblocView::OnRButtonDown(QPoint client) {
  m_bButtonDown = 1;
  m_ptPress = client;
  Host host(*this);
  const QPoint click = ToCanvas(m_ptPress);
  modeChangedByLastPress_ = false;  // a right press never changes Mode
  pendingDigit_ = 0;
  int c = 0, r = 0;
  if (CellAt(client, &c, &r)) SetCursor(c, r, false);
  if (numbloc::RightPress(state_, click.x(), click.y(), host)) {
    AfterChange();
    emit boardChanged();
  }
}

void CNumblocView::OnRButtonUp() { m_bButtonDown = 0; }

void CNumblocView::InvalidateClientRect(const QRect& rect) { viewport()->update(rect); }

void CNumblocView::InvalidateWholeView() { viewport()->update(); }


void CNumblocView::StartAutoSolve() {
  // The solver works on a copy, as the button has always run it: status 0
  // at its start. Message 4 shows meanwhile.
  statusBeforeSolve_ = state_.SolverStatus;
  numbloc::BoardState input = state_;
  input.SolverStatus = numbloc::kStatusOk;
  ClearAnalysis();
  state_.SolverStatus = numbloc::kStatusSolving;
  StartJob(numbloc::JobKind::AutoSolve, input);
}

bool CNumblocView::Busy() const {
  return job_.Running() && job_.Kind() != numbloc::JobKind::LiveVerdict;
}

void CNumblocView::StartAnalysis(numbloc::JobKind kind) {
  if (Busy() || kind == numbloc::JobKind::AutoSolve || kind == numbloc::JobKind::LiveVerdict) return;
  ClearAnalysis();
  StartJob(kind, state_);
}

void CNumblocView::StartGenerate(const numbloc::complete::GenerateOptions& options) {
  if (Busy()) return;
  ClearAnalysis();
  generating_ = options;
  StartJob(numbloc::JobKind::Generate, state_, options);
}

void CNumblocView::StartJob(numbloc::JobKind kind, const numbloc::BoardState& input,
                            const numbloc::complete::GenerateOptions& generate) {
  job_.Start(kind, input, generate);
  if (kind == numbloc::JobKind::LiveVerdict) {
    overlay_.verdict = kChecking;
  } else {
    overlay_.verdict.clear();
    PlaceCancelButton();
    cancelButton_->show();
    progressTimer_.start();
    ShowProgress();
    emit busyChanged(true);
  }
  RepaintAll();
}

void CNumblocView::CancelWork() {
  if (Busy()) job_.Cancel();
}

void CNumblocView::StopWork() {
  const bool busy = Busy();
  const numbloc::JobKind kind = job_.Kind();
  job_.StopAndWait();
  if (!busy) return;
  numbloc::JobResult dropped;
  dropped.kind = kind;
  dropped.stopped = true;
  TakeOver(dropped);
}

// A job's end: its result replaces what it worked on, all at once.
void CNumblocView::TakeOver(const numbloc::JobResult& result) {
  using numbloc::JobKind;
  using numbloc::complete::Verdict;
  const bool blocking = result.kind != JobKind::LiveVerdict;
  if (blocking) {
    progressTimer_.stop();
    cancelButton_->hide();
    overlay_.progress[0].clear();
    overlay_.progress[1].clear();
  }
  bool changed = false;
  bool made = false;
  const numbloc::complete::CompleteResult& r = result.complete;
  switch (result.kind) {
    case JobKind::Generate:
      if (result.generated == numbloc::complete::GenerateStatus::Made) {
        state_ = result.board;
        // As after reading a file: laid out afresh (the window grows to
        // the new size) and kept as it is by the first repaint.
        state_.LayoutPending = 1;
        state_.BoardReady = 1;
        BoardReplaced();
        overlay_.statusText = QStringLiteral("問題を作成しました（ヒント %1 個、シード %2）")
                                  .arg(result.generatedHints)
                                  .arg(generating_.seed);
        made = true;
      } else {
        overlay_.statusText = result.stopped ? QStringLiteral("問題の作成を中止しました")
                              : result.generated == numbloc::complete::GenerateStatus::OutOfTime
                                  ? QStringLiteral("時間内に問題を作れませんでした")
                                  : QStringLiteral("この条件では問題を作れませんでした");
      }
      break;
    case JobKind::AutoSolve:
      if (result.stopped) {
        state_.SolverStatus = statusBeforeSolve_;
        break;
      }
      TakeSolvedBoard(result.board, state_);
      changed = true;
      break;
    case JobKind::Count:
      if (result.stopped) break;
      overlay_.statusText = CountText(r.verdict);
      if (state_.Mode == numbloc::Creation) overlay_.verdict = VerdictText(r.verdict);
      if (r.verdict == Verdict::Several) {
        for (int c = 0; c < r.width * r.height; ++c) {
          if (r.solution.number[c] != r.other.number[c]) overlay_.differs.set(c);
        }
      }
      break;
    case JobKind::CompleteSolve:
      if (result.stopped) break;
      if (r.verdict == Verdict::Unique) {
        numbloc::complete::WriteSolution(r.solution, state_);
        changed = true;
      } else {
        overlay_.statusText = WhyNot(r.verdict, QStringLiteral("解答できません"));
      }
      break;
    case JobKind::LiveVerdict:
      if (!result.stopped && state_.Mode == numbloc::Creation) overlay_.verdict = VerdictText(r.verdict);
      break;
    case JobKind::CheckEntries:
      if (result.stopped) break;
      if (r.verdict != Verdict::Unique) {
        overlay_.statusText = WhyNot(r.verdict, QStringLiteral("答え合わせできません"));
        break;
      }
      for (int y = 1; y <= state_.BoardHeight; ++y) {
        for (int x = 1; x <= state_.BoardWidth; ++x) {
          const int i = (y - 1) * state_.BoardWidth + (x - 1);
          if (numbloc::IsPlayersNumber(state_, x, y) &&
              state_.Board[x][y].number - 100 != r.solution.number[i]) {
            overlay_.differs.set(i);
          }
        }
      }
      overlay_.statusText =
          overlay_.differs.none()
              ? QStringLiteral("ここまでの数字はすべて正しいです")
              : QStringLiteral("違う数字が %1 個あります（赤枠）").arg(overlay_.differs.count());
      break;
    case JobKind::Hint:
      if (result.stopped) break;
      if (r.verdict != Verdict::Unique) {
        overlay_.statusText = WhyNot(r.verdict, QStringLiteral("ヒントを出せません"));
      } else if (result.hintColumn == 0) {
        overlay_.statusText = QStringLiteral("空いている升がありません");
      } else {
        SetCursor(result.hintColumn, result.hintRow, false);
        PlayMove(result.hintColumn, result.hintRow, result.hintNumber, false);
        overlay_.statusText = QStringLiteral("ヒント：%1列 %2行目は %3")
                                  .arg(result.hintColumn)
                                  .arg(result.hintRow)
                                  .arg(result.hintNumber);
      }
      break;
  }
  RepaintAll();
  if (blocking) emit busyChanged(false);
  if (changed) {
    AfterChange();
    emit boardChanged();
  }
  if (made) emit puzzleMade();
  emit workFinished(result.kind);
}

void CNumblocView::ShowProgress() {
  overlay_.progress[0] = QStringLiteral("%1 秒").arg(job_.ElapsedSeconds(), 0, 'f', 1);
  switch (job_.Kind()) {
    case numbloc::JobKind::AutoSolve: overlay_.progress[1] = QStringLiteral("試行 %1").arg(job_.Progress()); break;
    case numbloc::JobKind::Generate:
      overlay_.progress[1] = QStringLiteral("確認 %1/%2 升").arg(job_.Progress()).arg(generating_.width * generating_.height);
      break;
    default: overlay_.progress[1] = QStringLiteral("探索 %1").arg(job_.Progress()); break;
  }
  viewport()->update();
}

// After every change of the board: the answer of an analysis speaks of the
// old board and goes; in Creation mode the hints are checked again.
void CNumblocView::AfterChange(bool keepRedo) {
  // A first digit waits for its second only until the board changes
  // otherwise (an undo, a click, a solve): it would join onto a move that
  // is gone.
  pendingDigit_ = 0;
  ClearAnalysis();
  if (!keepRedo) redo_.Clear();
  overlay_.warnings.reset();
  const bool solving = state_.Mode == numbloc::SolveStart || state_.Mode == numbloc::SolvePlayed;
  if (solving && showWarnings_ && state_.BoardReady != 0) overlay_.warnings = numbloc::OverfullCells(state_);
  // The player filled the last cell and every block is right: every cell
  // shows as part of a complete block. A later move takes that back.
  const bool finished = state_.Mode == numbloc::SolvePlayed && numbloc::BoardFinished(state_);
  if (finished != finishedShown_) {
    const int w = state_.BoardWidth;
    for (int x = 1; x <= w; ++x) {
      for (int y = 1; y <= state_.BoardHeight; ++y) {
        const int i = (y - 1) * w + (x - 1);
        if (finished) completeBefore_.set(i, state_.Board[x][y].complete != 0);
        state_.Board[x][y].complete = finished ? 1 : completeBefore_.test(i);
      }
    }
    finishedShown_ = finished;
  }
  if (finished) overlay_.statusText = QStringLiteral("正解です！　おめでとうございます");
  if (state_.Mode != numbloc::Creation || state_.BoardReady == 0) {
    if (job_.Running() && job_.Kind() == numbloc::JobKind::LiveVerdict) job_.StopAndWait();
    overlay_.verdict.clear();
    verdictHints_.clear();
    return;
  }
  if (Busy()) return;
  // Only the hints matter: choosing a number on the bar starts nothing.
  std::vector<std::uint8_t> hints;
  for (int x = 1; x <= state_.BoardWidth; ++x) {
    for (int y = 1; y <= state_.BoardHeight; ++y) hints.push_back(state_.Board[x][y].number);
  }
  hints.push_back(state_.BoardWidth);
  hints.push_back(state_.BoardHeight);
  if (hints == verdictHints_ && !overlay_.verdict.isEmpty()) return;
  verdictHints_ = std::move(hints);
  StartJob(numbloc::JobKind::LiveVerdict, state_);
}

void CNumblocView::ClearAnalysis() {
  overlay_.statusText.clear();
  overlay_.differs.reset();
}

void CNumblocView::PlaceCancelButton() {
  using namespace numbloc::layout;
  const int x = PanelX(state_.BoardWidth);
  cancelButton_->setGeometry(ToClient({x, kUpperButtonY, x + kButtonWidth, kUpperButtonY + kButtonHeight}));
}
