// Puzzles as plain text: reading a grid of hints typed by a person, and
// printing a board so that hints, placed numbers and complete cells show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc {

struct TextGrid {
  int width = 0;
  int height = 0;
  std::vector<int> numbers;  // row by row, 0 for an empty cell
  int At(int x, int y) const { return numbers[static_cast<std::size_t>((y - 1) * width + (x - 1))]; }
};

struct TextGridResult {
  bool ok = false;
  std::string error;  // "line N: what is wrong", when not ok
  TextGrid grid;
};

// One row per line, numbers separated by white space, '.' or 0 for an empty
// cell; blank lines and lines starting with '#' are skipped. The size must be
// 6..30 wide and 6..40 high, every number 1..40.
TextGridResult ParseTextGrid(std::string_view text);

// A fresh Creation-mode state holding the grid's numbers as hints.
BoardState MakeCreationState(const TextGrid& grid);

// The grid as text: hints as they are, placed numbers with a leading '+',
// complete cells followed by '*', empty cells '.', values no cell may hold '?'.
std::string FormatGrid(const BoardState& state);

}  // namespace numbloc
