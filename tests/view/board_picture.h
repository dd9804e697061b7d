// Board states for the window tests, from the shared picture notation.
#pragma once

#include <string>
#include <vector>

#include "../common/board_picture.h"

namespace numbloc::testing {

// The picture as a board the window has already laid out once.
inline void LoadPicture(BoardState& state, const std::vector<std::string>& rows) {
  FillFromPicture(state, rows);
  state.BoardReady = 2;
}

}  // namespace numbloc::testing
