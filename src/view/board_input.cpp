// Mouse presses on the board window: the number bar, the board cells and
// the two buttons, whose meaning follows Mode.
#include "view/board_input.h"

#include "view/play.h"

namespace numbloc {

namespace {

bool PressCell(BoardState& state, int c, int r, InputHost& host) {
  Cell& cell = state.Board[c][r];
  bool changed = false;
  // Only a damaged file can bring a selected number outside 1..40; placing
  // it would write 0, a frame WALL or (past 155, wrapping) a hint into the
  // puzzle, so such a press places nothing. A click on one of the player's
  // own numbers replaces it; hints and the solver's numbers stay.
  const bool placeable = state.SelectedNumber >= 1 && state.SelectedNumber <= kMaxCellNumber;
  const int modeBefore = state.Mode;
  if (placeable && (cell.number == 0 || IsPlayersNumber(state, c, r)) &&
      PlaceNumber(state, c, r, state.SelectedNumber, false)) {
    if (modeBefore == SolveStart) {
      host.InvalidateWholeView();  // the buttons change
    } else {
      host.InvalidateCanvasRect(layout::CellRepaintRect(c, r));
    }
    changed = true;
  }
  // A hint 1 is a block of its own: a click in Solving mode marks it done.
  if (cell.number == 1 && cell.complete == 0 && state.Mode != Creation) {
    cell.complete = 1;
    host.InvalidateCanvasRect(layout::CellRepaintRect(c, r));
    changed = true;
  }
  return changed;
}

void BackToStart(BoardState& state) {
  for (int c = 1; c <= state.BoardWidth; ++c) {
    for (int r = 1; r <= state.BoardHeight; ++r) {
      Cell& cell = state.Board[c][r];
      if (cell.number >= 100) cell.number = 0;
      cell.complete = 0;
    }
  }
  state.Mode = SolveStart;
  state.history.HistoryCount = 0;
}

bool PressLowerButton(BoardState& state, InputHost& host) {
  bool changed = true;
  switch (state.Mode) {
    case Creation:
      state.Mode = SolveStart;
      state.history.HistoryCount = 0;
      break;
    case SolveStart:
      state.SolverStatus = kStatusOk;
      state.Mode = Creation;
      break;
    case SolvePlayed:
    case SolveAuto:
      BackToStart(state);
      break;
    default:
      changed = false;
      break;
  }
  host.InvalidateWholeView();
  return changed;
}

bool PressUpperButton(BoardState& state, InputHost& host) {
  switch (state.Mode) {
    case Creation:
    case SolveAuto:
      state.ResetBoard();
      host.InvalidateWholeView();
      return true;
    case SolveStart:
      host.StartAutoSolve();
      host.InvalidateWholeView();
      return true;
    case SolvePlayed:
      if (state.history.HistoryCount > 0) {
        state.UndoHistory();
        host.InvalidateCanvasRect(layout::BoardRepaintRect(state.BoardWidth, state.BoardHeight));
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace

bool LeftPress(BoardState& state, int clickX, int clickY, InputHost& host) {
  const layout::Hit hit =
      layout::HitTest(state.BoardWidth, state.BoardHeight, state.MaxNumber, clickX, clickY);
  switch (hit.kind) {
    case layout::HitKind::NumberBar: {
      const bool changed = state.SelectedNumber != hit.number;
      state.SelectedNumber = static_cast<std::uint8_t>(hit.number);
      host.InvalidateCanvasRect(layout::BarRepaintRect(state.BoardWidth, state.MaxNumber));
      return changed;
    }
    case layout::HitKind::Board:
      return PressCell(state, hit.column, hit.row, host);
    case layout::HitKind::LowerButton:
      return PressLowerButton(state, host);
    case layout::HitKind::UpperButton:
      return PressUpperButton(state, host);
    case layout::HitKind::None:
      break;
  }
  return false;
}

bool RightPress(BoardState& state, int clickX, int clickY, InputHost& host) {
  const layout::Hit hit =
      layout::HitTest(state.BoardWidth, state.BoardHeight, state.MaxNumber, clickX, clickY);
  if (hit.kind != layout::HitKind::Board) return false;
  const bool creation = state.Mode == Creation;
  if (!EraseNumber(state, hit.column, hit.row)) return false;
  host.InvalidateCanvasRect(creation ? layout::CellRepaintRect(hit.column, hit.row)
                                     : layout::BoardRepaintRect(state.BoardWidth, state.BoardHeight));
  return true;
}

}  // namespace numbloc
