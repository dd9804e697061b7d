// What a mouse press on the board window does to the board state, and which
// part of the window it has repainted. No Qt: the window supplies the host.
#pragma once

#include "core/board/board_state.h"
#include "view/layout.h"

namespace numbloc {

// The window services a press needs. Rectangles are canvas coordinates.
class InputHost {
 public:
  virtual ~InputHost() = default;
  virtual void InvalidateCanvasRect(const layout::Rect& rect) = 0;  // repainted later
  virtual void InvalidateWholeView() = 0;                           // repainted later
  // Starts the automatic solve in the background: message 4 shows meanwhile,
  // and the board switches to SolveAuto when the result is taken over.
  virtual void StartAutoSolve() = 0;
};

// Left and right press at canvas point (clickX, clickY). They return true
// when the press changed the board state.
bool LeftPress(BoardState& state, int clickX, int clickY, InputHost& host);
bool RightPress(BoardState& state, int clickX, int clickY, InputHost& host);

}  // namespace numbloc
