// Reading hints out of a board state, and the cell and edge numbering.
#include "core/complete/puzzle.h"

namespace numbloc::complete {

Puzzle PuzzleFromBoard(const BoardState& state) {
  Puzzle p;
  p.width = state.BoardWidth;
  p.height = state.BoardHeight;
  if (p.width < 1 || p.width > kMaxWidth || p.height < 1 || p.height > kMaxHeight) return p;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t n = state.Board[x + 1][y + 1].number;
      p.hint[y * p.width + x] = n < 100 ? n : 0;
    }
  }
  return p;
}

void Geometry::Build(int w, int h) {
  width = w;
  height = h;
  cells = w * h;
  edges = 0;
  for (int i = 0; i < cells; ++i) {
    for (int d = 0; d < 4; ++d) neighbour[i][d] = edgeTo[i][d] = -1;
  }
  auto link = [&](int a, int da, int b, int db) {
    end[edges][0] = static_cast<std::int16_t>(a);
    end[edges][1] = static_cast<std::int16_t>(b);
    neighbour[a][da] = static_cast<std::int16_t>(b);
    neighbour[b][db] = static_cast<std::int16_t>(a);
    edgeTo[a][da] = edgeTo[b][db] = static_cast<std::int16_t>(edges);
    ++edges;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x + 1 < w; ++x) link(y * w + x, 0, y * w + x + 1, 2);
  }
  for (int y = 0; y + 1 < h; ++y) {
    for (int x = 0; x < w; ++x) link(y * w + x, 1, (y + 1) * w + x, 3);
  }
}

}  // namespace numbloc::complete
