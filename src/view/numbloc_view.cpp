// The board window: paints through the drawing surface, lays the window out
// when the board state asks for it, and hands mouse presses to the input
// rules with the scroll position added.
#include "view/numbloc_view.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>
#include <memory>

#include "core/solver/solver.h"
#include "platform/draw_surface.h"
#include "view/board_drawing.h"
#include "view/board_input.h"
#include "view/layout.h"

// Carries the repaint requests of one press back to the view, turning canvas
// rectangles into viewport rectangles by the scroll position at the press.
class CNumblocView::Host : public numbloc::InputHost {
 public:
  Host(CNumblocView& view, QPoint scroll) : view_(view), scroll_(scroll) {}

  void InvalidateCanvasRect(const numbloc::layout::Rect& r) override {
    view_.InvalidateClientRect(QRect(QPoint(r.left - scroll_.x(), r.top - scroll_.y()),
                                     QPoint(r.right - 1 - scroll_.x(), r.bottom - 1 - scroll_.y())));
  }
  void InvalidateWholeView() override { view_.InvalidateWholeView(); }
  void ForceRepaint() override { view_.ForceRepaint(); }
  void RunAutoSolve() override { view_.RunAutoSolve(); }

 private:
  CNumblocView& view_;
  QPoint scroll_;
};

CNumblocView::CNumblocView(numbloc::BoardState& state, QWidget* parent)
    : QAbstractScrollArea(parent), state_(state) {
  setFrameShape(QFrame::NoFrame);
  OnInitialUpdate();
}

CNumblocView::~CNumblocView() = default;

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

void CNumblocView::UpdateScrollBars() {
  // Page step a tenth of the canvas, line step a tenth of the page.
  const QSize view = viewport()->size();
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, std::max(0, canvas_.width() - view.width()));
  v->setRange(0, std::max(0, canvas_.height() - view.height()));
  h->setPageStep(std::max(1, canvas_.width() / 10));
  v->setPageStep(std::max(1, canvas_.height() / 10));
  h->setSingleStep(std::max(1, canvas_.width() / 100));
  v->setSingleStep(std::max(1, canvas_.height() / 100));
}

void CNumblocView::LayOut() {
  state_.MaxNumber = numbloc::DeriveMaxNumber(state_.BoardWidth, state_.BoardHeight);
  const auto outer = numbloc::layout::FrameWindowSize(state_.BoardWidth, state_.BoardHeight);
  state_.LayoutPending = 0;
  const auto scroll = numbloc::layout::ScrollSize(state_.BoardWidth, state_.MaxNumber);
  canvas_ = QSize(scroll.width, scroll.height);
  // The window and the scroll bars change after this repaint has finished:
  // resizing from inside a paint event would nest paints.
  QMetaObject::invokeMethod(
      this,
      [this, outer] {
        UpdateScrollBars();
        QWidget* frame = window();
        if (frame->isMaximized() || frame->isFullScreen()) return;
        // The outer size includes the window manager's decorations, which are
        // known only once the window has been shown.
        const QSize decorations = frame->frameGeometry().size() - frame->geometry().size();
        frame->resize(std::max(1, outer.width - decorations.width()),
                      std::max(1, outer.height - decorations.height()));
        frame->raise();
      },
      Qt::QueuedConnection);
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
  numbloc::DrawBoardWindow(state_, surface);
}

void CNumblocView::RepaintAll() { viewport()->update(); }

void CNumblocView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPoint scroll = ScrollPosition();
  painter.translate(-scroll.x(), -scroll.y());
  numbloc::PainterSurface surface(painter);
  OnDraw(surface);
}

void CNumblocView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CNumblocView::scrollContentsBy(int, int) { viewport()->update(); }

void CNumblocView::mousePressEvent(QMouseEvent* event) {
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
  const QPoint scroll = ScrollPosition();
  Host host(*this, scroll);
  const QPoint click = m_ptPress + scroll;
  const int modeBefore = state_.Mode;
  const bool changed = numbloc::LeftPress(state_, click.x(), click.y(), host);
  modeChangedByLastPress_ = state_.Mode != modeBefore;
  if (changed) emit boardChanged();
}

void CNumblocView::OnLButtonUp() { m_bButtonDown = 0; }

void CNumblocView::OnRButtonDown(QPoint client) {
  m_bButtonDown = 1;
  m_ptPress = client;
  const QPoint scroll = ScrollPosition();
  Host host(*this, scroll);
  const QPoint click = m_ptPress + scroll;
  modeChangedByLastPress_ = false;  // a right press never changes Mode
  if (numbloc::RightPress(state_, click.x(), click.y(), host)) emit boardChanged();
}

void CNumblocView::OnRButtonUp() { m_bButtonDown = 0; }

void CNumblocView::InvalidateClientRect(const QRect& rect) { viewport()->update(rect); }

void CNumblocView::InvalidateWholeView() { viewport()->update(); }

void CNumblocView::ForceRepaint() { viewport()->repaint(); }

void CNumblocView::RunAutoSolve() {
  // The solve runs to its end on this thread; show that the window is busy.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  auto solver = std::make_unique<numbloc::Solver>(state_);
  solver->AutoSolve();
  QGuiApplication::restoreOverrideCursor();
}
