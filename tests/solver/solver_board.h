// Small boards for the solver tests, written as pictures: one string per row,
// cells separated by spaces. "." empty, "7" a hint, "+7" a placed 7, "#" a
// WALL cell inside the puzzle, a trailing "*" sets the complete flag.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../common/board_picture.h"
#include "core/board/board_state.h"
#include "core/solver/solver.h"

namespace numbloc::testing {

inline std::unique_ptr<BoardState> MakeBoard(const std::vector<std::string>& rows) {
  auto state = std::make_unique<BoardState>();
  FillFromPicture(*state, rows);
  state->Mode = SolveStart;
  const std::string picture = FormatGrid(*state);  // "." marks exactly the empty cells
  state->EmptyCount = static_cast<int>(std::count(picture.begin(), picture.end(), '.'));
  return state;
}

// The board in the same notation, rows joined by '\n' (complete flags shown).
inline std::string Picture(const BoardState& state) { return FormatGrid(state); }

inline std::string Picture(const std::vector<std::string>& rows) { return Picture(*MakeBoard(rows)); }

// The marks of the puzzle cells, one digit per cell, rows joined by '\n'.
inline std::string Marks(const BoardState& state) {
  std::string out;
  for (int y = 1; y <= state.BoardHeight; ++y) {
    for (int x = 1; x <= state.BoardWidth; ++x) out += static_cast<char>('0' + state.Board[x][y].mark);
    out += "\n";
  }
  return out;
}

// A w x h board of empty cells.
inline std::vector<std::string> EmptyRows(int w, int h) {
  std::string row = ".";
  for (int x = 1; x < w; ++x) row += " .";
  return std::vector<std::string>(static_cast<std::size_t>(h), row);
}

// "ok", "contradiction" or "gave up", then " progress" and " at x,y (n)" if set.
inline std::string Verdict(const BoardState& s) {
  const char* names[] = {"ok", "contradiction", "gave up"};
  std::string v = s.SolverStatus >= kStatusOk && s.SolverStatus <= kStatusGaveUp ? names[s.SolverStatus] : std::to_string(s.SolverStatus);
  if (s.ProgressMade) v += " progress";
  if (s.ConflictColumn || s.ConflictRow || s.ConflictNumber) {
    v += " at " + std::to_string(s.ConflictColumn) + "," + std::to_string(s.ConflictRow) + " (" +
         std::to_string(s.ConflictNumber) + ")";
  }
  return v;
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
