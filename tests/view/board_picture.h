// Board states for the window tests, from the shared picture notation.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "../common/board_picture.h"

namespace numbloc::testing {

// A w x h picture whose first rows are `top`, each filled out to the full
// width with empty cells; the rows below are empty.
inline std::vector<std::string> Picture(int w, int h, std::vector<std::string> top = {}) {
  top.resize(static_cast<std::size_t>(h));
  for (std::string& row : top)
    for (auto n = row.empty() ? 0 : std::count(row.begin(), row.end(), ' ') + 1; n < w; ++n)
      row += row.empty() ? "." : " .";
  return top;
}

// The picture as a board the window has already laid out once.
inline void LoadPicture(BoardState& state, const std::vector<std::string>& rows) {
  FillFromPicture(state, rows);
  state.BoardReady = 2;
}

}  // namespace numbloc::testing
