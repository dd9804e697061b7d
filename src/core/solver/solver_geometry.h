// The solver's vocabulary of the grid: cell references, the fixed neighbour
// order (up, left, down, right), fast number reduction and the one
// breadth-first flood that its walks over whole areas share.
#pragma once

#include <cstdint>

#include "core/board/board_state.h"

namespace numbloc {

constexpr int kUp = 0, kLeft = 1, kDown = 2, kRight = 3;
constexpr int kDx[4] = {0, -1, 0, 1};
constexpr int kDy[4] = {-1, 0, 1, 0};

// Other neighbours of the neighbour in direction d: up -> left, up, right;
// left -> up, left, down; down -> left, down, right; right -> up, right, down.
constexpr int kOtherDx[4][3] = {{-1, 0, 1}, {0, -1, 0}, {-1, 0, 1}, {0, 1, 0}};
constexpr int kOtherDy[4][3] = {{0, -1, 0}, {-1, 0, 1}, {0, 1, 0}, {-1, 0, 1}};

// Every cell of the largest puzzle.
constexpr int kPuzzleCells = kMaxWidth * kMaxHeight;

struct CellRef {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Reduced(number) for every byte value, looked up: the walks reduce cell
// values in their innermost loops, where the division costs more than a load.
struct ReducedTable {
  std::uint8_t value[256] = {};
  constexpr ReducedTable() {
    for (int i = 0; i < 256; ++i) value[i] = static_cast<std::uint8_t>(Reduced(static_cast<std::uint8_t>(i)));
  }
};
inline constexpr ReducedTable kReducedTable{};
inline int ReducedFast(std::uint8_t number) { return kReducedTable.value[number]; }

// Whether a neighbour of (x, y) holds n in a complete block: such an empty
// cell can never join a block of n. Unrolled, because the area walks ask it
// for nearly every empty cell they meet.
inline bool NeighbourHoldsCompleteNumber(const BoardState& s, int x, int y, int n) {
  auto hit = [n](const Cell& o) { return o.complete != 0 && ReducedFast(o.number) == n; };
  return hit(s.Board[x][y - 1]) || hit(s.Board[x - 1][y]) || hit(s.Board[x][y + 1]) || hit(s.Board[x + 1][y]);
}

// An empty cell that a block of n may still grow into.
inline bool Walkable(const BoardState& s, int x, int y, int n) {
  return s.Board[x][y].number == 0 && !NeighbourHoldsCompleteNumber(s, x, y, n);
}

// Breadth first from `start`, which the caller has already taken (marked as
// seen). take(x, y) is asked once for every neighbour of every cell taken, in
// the neighbour order, and returns true when it takes that cell too, having
// marked it so that it is never taken twice; it also sees the cells it does
// not take, which is where callers collect what lies around an area. Stops as
// soon as more than `limit` cells are taken. The cells taken are
// queue[0..count), in the order taken; the queue holds kPuzzleCells.
template <typename Take>
int FloodFrom(CellRef start, CellRef* queue, Take&& take, int limit = kPuzzleCells) {
  int count = 0;
  queue[count++] = start;
  for (int i = 0; i < count; ++i) {
    const int cx = queue[i].x, cy = queue[i].y;
    for (int d = 0; d < 4; ++d) {
      const int nx = cx + kDx[d], ny = cy + kDy[d];
      if (!take(nx, ny)) continue;
      // Each puzzle cell is taken at most once, so this never drops one.
      if (count < kPuzzleCells) queue[count++] = {nx, ny};
      if (count > limit) return count;
    }
  }
  return count;
}

}  // namespace numbloc
