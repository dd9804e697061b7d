// The complete solver: given the hints of a puzzle it says whether there is
// no solution, exactly one (and which) or several (two of them and where they
// differ). Unlike the automatic solve it never gives up; it stops only when
// asked to. One object per thread; objects share nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "core/board/board_state.h"
#include "core/complete/block_search.h"
#include "core/complete/puzzle.h"
#include "core/complete/region_propagator.h"

namespace numbloc::complete {

enum class Verdict {
  None,     // no filling obeys the rules
  Unique,   // exactly one does: `solution`
  Several,  // more than one: `solution` and `other` differ in `differing` cells
  Stopped,  // the stop flag or the time budget ended the search first
  Invalid,  // the size is outside 1..30 x 1..40: nothing was searched
};

// "none", "unique", "several", "stopped", "invalid".
const char* VerdictKey(Verdict verdict);

// A filled grid, cells numbered as in Puzzle.
struct Filling {
  std::uint8_t number[kMaxCells] = {};
};

struct CompleteResult {
  Verdict verdict = Verdict::Invalid;
  int width = 0;
  int height = 0;
  Filling solution;    // Unique, Several: a solution
  Filling other;       // Several: a second solution
  int differing = 0;   // Several: cells where the two differ
  int firstDiffering = -1;  // Several: the first such cell, row by row (index)
  bool searched = false;    // false when reasoning alone decided it, without a search
  SearchStats stats;        // the search's work (zero without a search)
};

struct CompleteOptions {
  const std::atomic<bool>* stop = nullptr;  // polled while searching; nullptr = never
  double timeBudgetSeconds = 0;             // 0 = no budget
  std::atomic<std::int64_t>* progress = nullptr;  // search steps so far, for a window to show
  std::int64_t conflictBudget = 0;  // a search stops (Stopped) after this many conflicts; 0: never
};

class CompleteSolver {
 public:
  explicit CompleteSolver(CompleteOptions options = {});
  ~CompleteSolver();

  // Decides the puzzle. Before: any hints; after: the result, nothing else
  // kept but working storage for the next call.
  CompleteResult Solve(const Puzzle& puzzle);
  // The hints of a board state (cell values 1..99); everything else of the
  // state is ignored.
  CompleteResult Solve(const BoardState& state) { return Solve(PuzzleFromBoard(state)); }

  // Whether some solution of the puzzle differs from `known` in one of the
  // `count` cells listed: Several (`other` holds one), Unique (none does;
  // `known` being a solution, it is then the only one that keeps those
  // cells) or Stopped. Cheaper than Solve when a puzzle with those cells as
  // hints is known to be unique: any other solution must differ there.
  CompleteResult FindAnother(const Puzzle& puzzle, const Filling& known, const int* cells, int count);

 private:
  bool Search(CompleteResult& result, const Puzzle& puzzle, const StopRule& stop);
  StopRule MakeStopRule() const;
  bool Start(const Puzzle& puzzle, const Fact* extra = nullptr);  // hints (and extra) settled; false: no solution

  CompleteOptions options_;
  std::unique_ptr<Geometry> geometry_;
  RegionPropagator prop_;
};

// Whether `filling` obeys the rules and keeps every hint: every number
// 1..40, every group of connected equal numbers exactly as large as its
// number. Written apart from the solver, to check what it returns.
bool IsSolution(const Puzzle& puzzle, const Filling& filling);

// Puts a unique solution on the board as the automatic solve leaves a solved
// board: hints kept, other cells hold the number + 100, every cell complete,
// marks cleared, EmptyCount 0, SolverStatus kStatusOk, Mode SolveAuto, MaxNumber
// derived from the size.
void WriteSolution(const Filling& solution, BoardState& state);

}  // namespace numbloc::complete
