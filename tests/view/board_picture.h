// Board states from the shared picture notation, and pixel counts for the Qt tests.
#pragma once

#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "../common/board_picture.h"

namespace numbloc::testing {

// A w x h picture whose first rows are `top`, filled out with empty cells.
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

// A pixel without alpha; the pixels in `area` within `spread` of `colour` per channel
// (so text counts with its blended glyph edges).
inline QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
inline int CountColour(const QImage& image, QRect area, QRgb colour, int spread = 0) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      n += std::abs(qRed(p) - qRed(colour)) <= spread && std::abs(qGreen(p) - qGreen(colour)) <= spread &&
           std::abs(qBlue(p) - qBlue(colour)) <= spread;
    }
  return n;
}

}  // namespace numbloc::testing
