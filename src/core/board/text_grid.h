// Boards as plain text, in one notation for the command line and the tests:
// one token per cell, "." empty, "7" a hint, "+7" a number placed in Solving
// mode, "#" the WALL value inside the puzzle, and a trailing "*" for a cell
// of a complete block; a value a damaged file may bring (a hint above 40, a
// byte above 140) shows as its plain number. Rows are lines, tokens are
// separated by white space.
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

// One cell's token, and back; ParseCell is false for anything that is not a
// token of the notation.
std::string FormatCell(const Cell& cell);
bool ParseCell(std::string_view token, Cell& cell);

// Puts the rows on `state`: the board is reset to their size (1..30 by
// 1..40, as tests use small boards) and MaxNumber follows it; the other
// fields stay. False, with the reason, for a token or size it cannot take.
bool FillFromRows(BoardState& state, const std::vector<std::string>& rows, std::string* error = nullptr);

// A grid of hints typed by a person: one row per line, '.' or 0 for an empty
// cell; blank lines and lines starting with '#' are skipped. The size must be
// 6..30 wide and 6..40 high, every number 1..40.
TextGridResult ParseTextGrid(std::string_view text);

// A fresh Creation-mode state holding the grid's numbers as hints.
BoardState MakeCreationState(const TextGrid& grid);

// The whole grid in the notation, each token right-aligned in five columns.
std::string FormatGrid(const BoardState& state);

}  // namespace numbloc
