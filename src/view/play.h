// The player's moves beyond the old clicks (typed numbers, replacing a
// number, erasing, undo and redo), and what the window tells about the board
// (finished, broken rules). No Qt: the view calls these. Every move goes
// through the board's move history, as the clicks do.
#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc {

using CellSet = std::bitset<kMaxWidth * kMaxHeight>;  // cell (x, y) at (y - 1) * W + (x - 1)

// Puts `number` (1..40) in cell (c, r), as the player's move: in Creation
// mode a hint, else a number of the player's, recorded in the history. An
// empty cell takes it as a click would; in Solving mode the player's own
// number is replaced (one history entry, the old number kept for undo);
// `overHint` lets a typed number replace a hint in Creation mode. Hints in
// Solving mode and the solver's numbers stay. True when the board changed.
bool PlaceNumber(BoardState& state, int c, int r, int number, bool overHint);

// Takes the number out of cell (c, r) by the rules of a right click.
bool EraseNumber(BoardState& state, int c, int r);

// Whether the number in (c, r) is one the player placed in Solving mode
// (not a hint, not the automatic solve's).
bool IsPlayersNumber(const BoardState& state, int c, int r);

// The moves taken back, for redo. Undo and redo speak of Solving mode's
// history only; any other move empties the list.
class RedoList {
 public:
  bool CanUndo(const BoardState& state) const;
  bool CanRedo(const BoardState& state) const;
  // Takes back the newest move and keeps it for redo.
  bool Undo(BoardState& state);
  // Plays the move last taken back again, as a new history entry.
  bool Redo(BoardState& state);
  void Clear() { moves_.clear(); }
  bool Empty() const { return moves_.empty(); }

 private:
  struct Move {
    std::uint8_t column, row, number;  // the cell and the number the move put there
  };
  std::vector<Move> moves_;  // newest last
};

// The cells of groups of connected equal numbers larger than their number:
// a block that grew too large, or blocks of one number that touch.
CellSet OverfullCells(const BoardState& state);

// Every cell holds a number and every group of connected equal numbers is
// exactly as large as its number.
bool BoardFinished(const BoardState& state);

}  // namespace numbloc
