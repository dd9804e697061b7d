// The puzzle as the complete solver sees it: a size and the hints, read from
// a board state, and the numbering of cells and edges shared by its parts.
#pragma once

#include <cstdint>

#include "core/board/board_state.h"

namespace numbloc::complete {

constexpr int kMaxCells = kMaxWidth * kMaxHeight;  // 1200
constexpr int kMaxEdges = 2 * kMaxCells;           // an upper bound on neighbouring pairs
constexpr int kLargest = kMaxCellNumber;           // 40: no cell holds more

// Cells are numbered row by row from the top left: index = y * width + x,
// with x and y from 0.
struct Puzzle {
  int width = 0;
  int height = 0;
  std::uint8_t hint[kMaxCells] = {};  // 0 none; otherwise the hint (above 40 when damaged)
  int Cells() const { return width * height; }
};

// The hints of a board: cell values 1..99. Placed numbers (100 and above),
// complete flags and marks are not hints. The size is copied as it is; the
// solver refuses sizes outside 1..30 x 1..40.
Puzzle PuzzleFromBoard(const BoardState& state);

// Which cells neighbour which, and the edge between them. Edges are numbered
// horizontal ones first (between x and x + 1), then vertical ones.
struct Geometry {
  int width = 0;
  int height = 0;
  int cells = 0;
  int edges = 0;
  std::int16_t neighbour[kMaxCells][4];  // right, down, left, up; -1 at the border
  std::int16_t edgeTo[kMaxCells][4];     // the edge to that neighbour; -1 at the border
  std::int16_t end[kMaxEdges][2];        // the two cells of an edge, lower index first

  void Build(int w, int h);
};

}  // namespace numbloc::complete
