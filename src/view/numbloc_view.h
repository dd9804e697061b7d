// The board window: a scrolling canvas that draws the board, the number bar,
// the buttons and the status line from the board state, and turns mouse
// presses into moves and mode changes.
#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/board/board_state.h"

namespace numbloc {
class DrawSurface;
}

class CNumblocView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CNumblocView(numbloc::BoardState& state, QWidget* parent = nullptr);
  ~CNumblocView() override;

  numbloc::BoardState& State() { return state_; }

  // Sets the canvas to its size for a freshly shown board (called by the
  // constructor; callable again when a new document starts).
  void OnInitialUpdate();

  // Paints the whole window into `surface`, whose origin is the canvas origin
  // (the caller has already shifted it by the scroll position). Runs the
  // deferred reset and layout of the board state first.
  void OnDraw(numbloc::DrawSurface& surface);

  // Asks for the whole view to be repainted later (after open, save, size).
  void RepaintAll();

  // Size of the scrollable canvas in logical pixels.
  QSize CanvasSize() const { return canvas_; }
  void SetCanvasSize(QSize size);

  // Scroll position (the canvas point shown at the viewport's top left).
  QPoint ScrollPosition() const;

  // The four mouse handlers; `client` is the point in viewport coordinates.
  void OnLButtonDown(QPoint client);
  void OnLButtonUp();
  void OnRButtonDown(QPoint client);
  void OnRButtonUp();

 signals:
  // Emitted after a mouse press changed the board state.
  void boardChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

  // Repaint requests of the mouse handlers, in viewport coordinates. They are
  // virtual so that tests can watch them; overrides should call the base.
  virtual void InvalidateClientRect(const QRect& rect);  // repainted later
  virtual void InvalidateWholeView();                    // repainted later
  virtual void ForceRepaint();                           // repainted at once
  // Runs the automatic solver on the board state.
  virtual void RunAutoSolve();

  int m_bButtonDown = 0;  // 1 between a press and its release
  QPoint m_ptPress;       // viewport position of the last press

 private:
  class Host;
  void LayOut();
  void UpdateScrollBars();

  numbloc::BoardState& state_;
  QSize canvas_;
  bool modeChangedByLastPress_ = false;  // decides on the next double click
};
