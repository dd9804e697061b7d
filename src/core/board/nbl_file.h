// Reading and writing the .nbl puzzle file: the whole BoardState, byte for
// byte, each value v stored as the byte (v + 48) mod 256.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc {


// Size of the file for a board of this size.
std::size_t NblFileSize(int width, int height);

struct NblResult {
  bool ok = false;
  std::string reason;  // why it failed, for people; empty when ok
};

// Encodes the state exactly as it is stored on disk.
std::vector<std::uint8_t> WriteNblBytes(const BoardState& state);

// Parses a whole file into the state. On success every stored variable is
// taken from the bytes, LayoutPending is 1 and BoardReady 1; nothing else
// changes. On failure the state is untouched except SolverStatus = kStatusUnreadable.
NblResult ReadNblBytes(const std::uint8_t* data, std::size_t size, BoardState& state);
NblResult ReadNblBytes(const std::vector<std::uint8_t>& bytes, BoardState& state);

// Reads a file; a file that cannot be opened fails like a short file.
NblResult ReadNblFile(const std::string& path, BoardState& state);

// Writes through a temporary file beside the target that replaces it only
// once complete, so a failed save leaves the old file as it was.
NblResult WriteNblFile(const std::string& path, const BoardState& state);

}  // namespace numbloc
