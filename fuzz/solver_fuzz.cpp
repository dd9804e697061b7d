// Fuzzes the solver with arbitrary boards: any cell byte (damaged values
// included) through InitSolver and the deduction pass, scratch flags and
// marks left as they come, any mix of mends, and the whole automatic solve on small boards.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/board/board_state.h"
#include "fuzz_input.h"
#include "core/solver/solver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace numbloc;
  fuzz::Input in{data, size};
  const std::uint8_t flags = in.Next();
  const std::uint8_t mendBits = in.Next();  // any mix of mends, not only the two modes
  const bool fullSolve = (flags & 2) != 0;
  const bool keepScratch = (flags & 4) != 0;

  auto state = std::make_unique<BoardState>();
  if (fullSolve) {
    // Small boards with small numbers, so that the trials stay quick.
    state->BoardWidth = static_cast<std::uint8_t>(2 + in.Next() % 4);
    state->BoardHeight = static_cast<std::uint8_t>(2 + in.Next() % 4);
  } else {
    state->BoardWidth = static_cast<std::uint8_t>(1 + in.Next() % kMaxWidth);
    state->BoardHeight = static_cast<std::uint8_t>(1 + in.Next() % kMaxHeight);
  }
  state->ResetBoard();
  state->Mode = SolveStart;
  for (int x = 1; x <= state->BoardWidth; ++x) {
    for (int y = 1; y <= state->BoardHeight; ++y) {
      Cell& cell = state->Board[x][y];
      const std::uint8_t value = in.Next();
      if (!fullSolve) {
        cell.number = value;
      } else if (value % 16 == 15) {
        cell.number = static_cast<std::uint8_t>(41 + value % 59);  // a damaged hint
      } else if (value % 16 == 14) {
        cell.number = static_cast<std::uint8_t>(value | 0x80);  // placed or damaged, dropped
      } else {
        cell.number = static_cast<std::uint8_t>(value % 7);
      }
      if (keepScratch) {
        cell.complete = in.Next() & 1;
        cell.mark = in.Next();
      }
    }
  }

  SolverOptions options;
  options.mends = {(mendBits & 1) != 0, (mendBits & 2) != 0, (mendBits & 4) != 0, (mendBits & 8) != 0,
                   (mendBits & 16) != 0};
  auto solver = std::make_unique<Solver>(*state, options);
  if (fullSolve) {
    solver->AutoSolve();
    if (state->SolverStatus != kStatusOk && state->SolverStatus != kStatusContradiction &&
        state->SolverStatus != kStatusGaveUp) {
      __builtin_trap();
    }
    return 0;
  }
  if (keepScratch) {
    state->EmptyCount = static_cast<std::int32_t>(in.Next());
    state->SolverStatus = kStatusOk;
  } else {
    solver->InitSolver();
  }
  solver->RunDeductionPass();
  if (state->SolverStatus != kStatusContradiction && state->SolverStatus != kStatusGaveUp) __builtin_trap();
  return 0;
}
