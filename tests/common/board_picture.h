// Board states from pictures, shared by the test folders: one string per row,
// cells separated by spaces. "." empty, "7" a hint, "+7" a number placed in
// Solving mode, "#" a WALL cell inside the puzzle, a trailing "*" marks the
// cell complete.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc::testing {

// Resets `state` to the picture's size and fills it; MaxNumber follows the size.
inline void FillFromPicture(BoardState& state, const std::vector<std::string>& rows) {
  std::vector<std::vector<std::string>> cells;
  for (const std::string& row : rows) {
    std::istringstream in(row);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    cells.push_back(tokens);
  }
  state.BoardWidth = static_cast<std::uint8_t>(cells.front().size());
  state.BoardHeight = static_cast<std::uint8_t>(cells.size());
  state.ResetBoard();
  state.MaxNumber = DeriveMaxNumber(state.BoardWidth, state.BoardHeight);
  for (int y = 1; y <= state.BoardHeight; ++y) {
    for (int x = 1; x <= state.BoardWidth; ++x) {
      std::string token = cells[y - 1].at(x - 1);
      Cell& cell = state.Board[x][y];
      if (token.back() == '*') {
        cell.complete = 1;
        token.pop_back();
      }
      if (token == ".") continue;
      if (token == "#") {
        cell.number = WALL;
        continue;
      }
      const bool placed = token.front() == '+';
      const int n = std::stoi(placed ? token.substr(1) : token);
      cell.number = static_cast<std::uint8_t>(placed ? n + 100 : n);
    }
  }
}

}  // namespace numbloc::testing
