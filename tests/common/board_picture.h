// Board states from pictures, shared by the test folders: one string per row
// in the board notation of core/board/text_grid.h.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/board/board_state.h"
#include "core/board/text_grid.h"

namespace numbloc::testing {

// Resets `state` to the picture's size and fills it; MaxNumber follows the size.
inline void FillFromPicture(BoardState& state, const std::vector<std::string>& rows) {
  std::string why;
  if (!FillFromRows(state, rows, &why)) throw std::invalid_argument("bad picture: " + why);
}

}  // namespace numbloc::testing
