// The board window: a scrolling canvas that draws the board, the number bar,
// the buttons and the status line from the board state, and turns mouse
// presses into moves and mode changes. The solvers run in the background
// while the window stays live; meanwhile the board takes no input.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "core/board/board_state.h"
#include "view/background_job.h"
#include "view/board_drawing.h"
#include "view/layout.h"
#include "view/play.h"

namespace numbloc {
class DrawSurface;
}
class QPushButton;

class CNumblocView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CNumblocView(numbloc::BoardState& state, QWidget* parent = nullptr);
  ~CNumblocView() override;

  numbloc::BoardState& State() { return state_; }
  const numbloc::BoardOverlay& Overlay() const { return overlay_; }

  // Sets the canvas to its size for a freshly shown board (called by the
  // constructor; callable again when a new document starts).
  void OnInitialUpdate();

  // Paints the whole window into `surface`, whose origin is the canvas origin
  // (the caller has already shifted it by the scroll position). Runs the
  // deferred reset and layout of the board state first.
  void OnDraw(numbloc::DrawSurface& surface);

  // Asks for the whole view to be repainted later (after open, save, size).
  void RepaintAll();
  // The board was replaced (opened, resized): drops what was shown of the
  // old one and, in Creation mode, checks the new one.
  void BoardReplaced();

  // Size of the scrollable canvas in logical pixels.
  QSize CanvasSize() const { return canvas_; }
  void SetCanvasSize(QSize size);

  // Scroll position (the zoomed canvas point shown at the viewport's top left).
  QPoint ScrollPosition() const;
  // Viewport points and canvas points (the layout's coordinates), through
  // the scroll position and the zoom.
  QPoint ToCanvas(QPoint client) const;
  QRect ToClient(const numbloc::layout::Rect& r) const;

  // Zoom of the whole canvas, 1 to 3; hit testing and scrolling follow.
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }
  static constexpr double kMinZoom = 1.0;
  static constexpr double kMaxZoom = 3.0;

  // The four mouse handlers; `client` is the point in viewport coordinates.
  void OnLButtonDown(QPoint client);
  void OnLButtonUp();
  void OnRButtonDown(QPoint client);
  void OnRButtonUp();

  // --- Work in the background ---
  // True while a solve or an analysis runs: the board, the bar, the buttons
  // and the file and size commands wait. (The live verdict of Creation mode
  // does not count: it never holds anything up.)
  bool Busy() const;
  // The analysis commands, on the complete solver: count the solutions of
  // the hints, solve completely when there is exactly one, compare the
  // player's numbers with the solution, place one correct number.
  void StartAnalysis(numbloc::JobKind kind);
  // Makes a new puzzle in the background; when one is made it replaces the
  // board in Creation mode and `puzzleMade` follows. The caller has dealt
  // with unsaved work.
  void StartGenerate(const numbloc::complete::GenerateOptions& options);
  // Stops the running solve or analysis; the board stays as it was.
  void CancelWork();
  // Stops whatever runs and waits for it, for closing the window.
  void StopWork();
  numbloc::BackgroundJob& Job() { return job_; }

  // --- Play ---
  bool CanUndo() const { return !Busy() && redo_.CanUndo(state_); }
  bool CanRedo() const { return !Busy() && redo_.CanRedo(state_); }
  void Undo();
  void Redo();
  // Presses the upper or lower on-board button, as a click on it would.
  void PressButton(bool upper);
  // Whether blocks that break the rules get their warning frame.
  void SetShowWarnings(bool show);
  bool ShowWarnings() const { return showWarnings_; }
  // The keyboard's cell (column, row), shown once the keyboard is used.
  QPoint Cursor() const { return QPoint(cursorColumn_, cursorRow_); }
  // Two digits typed within this long make one number.
  static constexpr int kTwoDigitMs = 800;

 signals:
  // Emitted after the board state changed: a press, a finished solve.
  void boardChanged();
  // Emitted when a solve or analysis starts (true) and when it ends.
  void busyChanged(bool busy);
  // Emitted when a job's result has been taken over (or dropped, if stopped).
  void workFinished(numbloc::JobKind kind);
  // Emitted when a generated puzzle has replaced the board.
  void puzzleMade();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

  // Repaint requests of the mouse handlers, in viewport coordinates. They are
  // virtual so that tests can watch them; overrides should call the base.
  virtual void InvalidateClientRect(const QRect& rect);  // repainted later
  virtual void InvalidateWholeView();                    // repainted later
  // Starts the automatic solve of the board state in the background.
  virtual void StartAutoSolve();

  int m_bButtonDown = 0;  // 1 between a press and its release
  QPoint m_ptPress;       // viewport position of the last press

 private:
  class Host;
  void LayOut();
  void UpdateScrollBars();
  void GrowWindow(bool first);
  QSize ZoomedCanvas() const;
  void StartJob(numbloc::JobKind kind, const numbloc::BoardState& input,
                const numbloc::complete::GenerateOptions& generate = {});
  void TakeOver(const numbloc::JobResult& result);
  void ShowProgress();
  void AfterChange(bool keepRedo = false);
  void ClearAnalysis();
  void MoveCursor(int dx, int dy);
  void TypeDigit(int digit);
  void PlayMove(int c, int r, int number, bool overHint);
  void ChangeSelection(int delta);
  bool CellAt(QPoint client, int* c, int* r) const;
  void SetCursor(int c, int r, bool show);
  void PlaceCancelButton();

  numbloc::BoardState& state_;
  QSize canvas_;
  bool modeChangedByLastPress_ = false;  // decides on the next double click
  numbloc::BackgroundJob job_;
  QTimer progressTimer_;                 // refreshes the progress lines while a job runs
  QPushButton* cancelButton_ = nullptr;  // over the solve button while a job runs
  numbloc::BoardOverlay overlay_;
  std::int32_t statusBeforeSolve_ = numbloc::kStatusOk;// restored when the automatic solve is stopped
  numbloc::complete::GenerateOptions generating_;  // what the running generator was asked for
  std::vector<std::uint8_t> verdictHints_;  // the hints the live verdict speaks of
  bool laidOut_ = false;                 // the window has had its first layout
  double zoom_ = 1.0;                    // canvas pixels to viewport pixels
  numbloc::RedoList redo_;               // moves taken back by undo
  bool showWarnings_ = true;
  int pendingDigit_ = 0;                 // first digit of a number being typed, 0 when none
  QElapsedTimer pendingClock_;           // since that digit
  bool dragging_ = false;                // a left press on the board, until its release
  int dragColumn_ = 0, dragRow_ = 0;     // the cell the drag was last in
  int cursorColumn_ = 1, cursorRow_ = 1;  // the keyboard's cell
  bool cursorShown_ = false;             // drawn once the keyboard was used
  bool finishedShown_ = false;           // the finished board's cells were marked complete
  numbloc::CellSet completeBefore_;      // their complete flags before that
};
