// An independent check of a finished board against the puzzle rules, written
// from the rules alone so that it can judge the solver's results.
#pragma once

#include <string>

#include "core/board/board_state.h"

namespace numbloc {

enum class CheckRule {
  None,          // the board obeys every rule
  BadSize,       // the board size is outside what the board can hold
  EmptyCell,     // a puzzle cell holds no number
  BadValue,      // a puzzle cell holds a value that is neither a hint nor a placed number
  HintChanged,   // a cell does not hold the hint the puzzle gives it
  HintAdded,     // a cell holds a hint the puzzle does not have
  BlockSize,     // a block's cell count differs from its number
};

struct CheckFinding {
  CheckRule rule = CheckRule::None;
  int column = 0;     // the first cell (in scan order) that breaks the rule
  int row = 0;
  int number = 0;     // the number involved
  int count = 0;      // BlockSize: the block's cell count; HintChanged: the cell's stored number
  bool ok() const { return rule == CheckRule::None; }
};

// Checks `board` against the rules: every puzzle cell filled with a hint
// (1..99) or a placed number (101..140), and every orthogonally connected
// group of cells with the same number exactly as large as that number (which
// also rules out two same-number blocks sharing an edge: they would form one
// larger group). When `puzzle` is given, every hint of it must be kept and no
// hint added; the two must have the same size. The first broken rule is
// reported, in the order filled, hints, blocks; within a rule the first cell
// in scan order (columns outside, rows inside).
CheckFinding CheckBoard(const BoardState& board, const BoardState* puzzle = nullptr);

// One line for people, e.g. "block of 3 at column 2, row 5 has 4 cells".
std::string DescribeFinding(const CheckFinding& finding);

}  // namespace numbloc
