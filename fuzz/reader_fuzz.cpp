// Feeds arbitrary bytes to the .nbl reader: it must never read or write out
// of bounds, and a refused file must leave the state as it was but for the
// status; an accepted one must be written back to the same leading bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/board/nbl_file.h"

using numbloc::BoardState;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static BoardState before;
  static BoardState state;
  before = BoardState{};
  before.BoardWidth = 10;
  before.BoardHeight = 12;
  before.ResetBoard();
  state = before;
  const numbloc::NblResult r = numbloc::ReadNblBytes(data, size, state);
  if (!r.ok) {
    state.SolverStatus = before.SolverStatus;
    if (!(state == before)) std::abort();
    return 0;
  }
  const std::vector<std::uint8_t> again = numbloc::WriteNblBytes(state);
  // Everything up to the status byte is what was read; the trailer is not read back.
  const std::size_t compared = again.size() - 8;
  if (compared > size || std::memcmp(again.data(), data, compared) != 0) std::abort();
  return 0;
}
