// Builds a board state from a picture: one string per row, cells separated
// by spaces. "." empty, "7" a hint, "+7" a number placed in Solving mode,
// a trailing "*" marks the cell complete.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc::testing {

inline void LoadPicture(BoardState& state, const std::vector<std::string>& rows) {
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
  state.BoardReady = 2;
  for (int r = 1; r <= state.BoardHeight; ++r) {
    for (int c = 1; c <= state.BoardWidth; ++c) {
      std::string token = cells[r - 1][c - 1];
      Cell& cell = state.Board[c][r];
      if (!token.empty() && token.back() == '*') {
        cell.complete = 1;
        token.pop_back();
      }
      if (token == ".") continue;
      const bool placed = token.front() == '+';
      const int n = std::stoi(placed ? token.substr(1) : token);
      cell.number = static_cast<std::uint8_t>(placed ? n + 100 : n);
    }
  }
}

}  // namespace numbloc::testing
