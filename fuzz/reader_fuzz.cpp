// Feeds arbitrary bytes to the .nbl reader: it must never read or write out
// of bounds; a refused file must leave the state as it was but for the
// status; an accepted one must survive a save and a reopen unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/board/nbl_file.h"

using numbloc::BoardState;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static BoardState before;
  static BoardState state;
  static BoardState reopened;
  before = BoardState{};
  before.BoardWidth = 10;
  before.BoardHeight = 12;
  before.ResetBoard();
  state = before;
  const numbloc::NblResult r = numbloc::ReadNblBytes(data, size, state);
  if (!r.ok) {
    if (state.SolverStatus != numbloc::kStatusUnreadable) std::abort();
    state.SolverStatus = before.SolverStatus;
    if (!(state == before)) std::abort();
    return 0;
  }
  const std::vector<std::uint8_t> saved = numbloc::WriteNblBytes(state);
  reopened = before;
  if (!numbloc::ReadNblBytes(saved, reopened).ok) std::abort();
  if (!(reopened == state)) std::abort();
  if (numbloc::WriteNblBytes(reopened) != saved) std::abort();
  return 0;
}
