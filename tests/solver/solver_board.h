// Small boards for the solver tests, written as pictures: one string per row,
// cells separated by spaces. "." empty, "7" a hint, "+7" a placed 7, "#" a
// WALL cell inside the puzzle, a trailing "*" sets the complete flag.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../common/board_picture.h"
#include "core/board/board_state.h"
#include "core/solver/solver.h"

namespace numbloc::testing {

// A fixed-seed generator for the random-board tests: the same boards every run.
struct Lcg {
  std::uint32_t seed;
  std::uint32_t operator()(std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  }
};

inline std::unique_ptr<BoardState> MakeBoard(const std::vector<std::string>& rows) {
  auto state = std::make_unique<BoardState>();
  FillFromPicture(*state, rows);
  state->Mode = SolveStart;
  int empty = 0;
  for (int y = 1; y <= state->BoardHeight; ++y) {
    for (int x = 1; x <= state->BoardWidth; ++x) empty += state->Board[x][y].number == 0;
  }
  state->EmptyCount = empty;
  return state;
}

// The board in the same notation, rows joined by '\n' (complete flags shown).
inline std::string Picture(const BoardState& state) { return FormatGrid(state); }

inline std::string Picture(const std::vector<std::string>& rows) {
  return Picture(*MakeBoard(rows));
}

// The marks of the puzzle cells, one digit per cell, rows joined by '\n'.
inline std::string Marks(const BoardState& state) {
  std::string out;
  for (int y = 1; y <= state.BoardHeight; ++y) {
    for (int x = 1; x <= state.BoardWidth; ++x) out += static_cast<char>('0' + state.Board[x][y].mark);
    out += "\n";
  }
  return out;
}

// A board and a solver on it, for one mode.
struct Rig {
  std::unique_ptr<BoardState> state;
  std::unique_ptr<Solver> solver;
  Rig(const std::vector<std::string>& rows, SolverOptions options) : state(MakeBoard(rows)) {
    solver = std::make_unique<Solver>(*state, options);
  }
  explicit Rig(const std::vector<std::string>& rows, bool classic = false)
      : Rig(rows, SolverOptions{.mends = Mends::For(classic)}) {}
  BoardState& s() { return *state; }
  Solver& solve() { return *solver; }
  Cell& at(int x, int y) { return state->Board[x][y]; }
};

}  // namespace numbloc::testing
