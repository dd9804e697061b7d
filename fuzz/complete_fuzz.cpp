// Fuzzes the complete solver with arbitrary boards: any size byte, any cell
// byte. What it returns must be a valid answer, and on boards of up to a dozen
// cells exactly the brute-force count's.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "complete/brute_force.h"
#include "core/board/board_state.h"
#include "core/complete/complete_solver.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace numbloc;
  fuzz::Input in{data, size};
  const std::uint8_t flags = in.Next();
  auto state = std::make_unique<BoardState>();
  const bool tiny = (flags & 1) != 0;
  if (tiny) {
    state->BoardWidth = static_cast<std::uint8_t>(1 + in.Next() % 4);
    state->BoardHeight = static_cast<std::uint8_t>(1 + in.Next() % 3);
  } else if (flags & 4) {
    state->BoardWidth = static_cast<std::uint8_t>(1 + in.Next() % kMaxWidth);
    state->BoardHeight = static_cast<std::uint8_t>(1 + in.Next() % kMaxHeight);
  } else {
    state->BoardWidth = static_cast<std::uint8_t>(1 + in.Next() % 8);
    state->BoardHeight = static_cast<std::uint8_t>(1 + in.Next() % 8);
  }
  state->ResetBoard();
  for (int x = 1; x <= state->BoardWidth; ++x) {
    for (int y = 1; y <= state->BoardHeight; ++y) {
      const std::uint8_t value = in.Next();
      // Mostly small hints and empty cells, so that answers vary; the rest
      // any byte at all.
      state->Board[x][y].number = (value & 0xc0) == 0xc0 ? value : static_cast<std::uint8_t>(value % 6);
      state->Board[x][y].mark = in.Next();
    }
  }
  if (flags & 2) state->BoardWidth = in.Next();  // sizes the board cannot have, too

  complete::CompleteOptions options;
  options.timeBudgetSeconds = 0.02;  // the answer, when there is one, matters; not hard cases
  const complete::CompleteResult r = complete::CompleteSolver(options).Solve(*state);
  const complete::Puzzle puzzle = complete::PuzzleFromBoard(*state);
  using complete::Verdict;
  if (r.stats.unjustified != 0) __builtin_trap();
  if (r.verdict == Verdict::Unique && !complete::IsSolution(puzzle, r.solution)) __builtin_trap();
  if (r.verdict == Verdict::Several &&
      (!complete::IsSolution(puzzle, r.solution) || !complete::IsSolution(puzzle, r.other) ||
       r.differing == 0)) {
    __builtin_trap();
  }
  if (tiny && !(flags & 2) && r.verdict != Verdict::Stopped) {
    std::vector<int> hints(puzzle.Cells());
    for (int i = 0; i < puzzle.Cells(); ++i) hints[i] = puzzle.hint[i];
    test::BruteForce reference(puzzle.width, puzzle.height, hints);
    const int count = reference.Count(2);
    const Verdict expected = count == 0 ? Verdict::None : count == 1 ? Verdict::Unique : Verdict::Several;
    if (r.verdict != expected) __builtin_trap();
  }
  return 0;
}
