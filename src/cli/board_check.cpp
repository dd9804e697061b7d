// The rule checker behind `numbloc-cli check`. It shares no code with the
// solver on purpose: a fault there must not hide itself here.
#include "cli/board_check.h"

#include <vector>

namespace numbloc {
namespace {

bool ValidFilled(std::uint8_t n) { return (n >= 1 && n <= 99) || (n >= 101 && n <= 140); }

}  // namespace

CheckFinding CheckBoard(const BoardState& board, const BoardState* puzzle) {
  CheckFinding f;
  const int w = board.BoardWidth;
  const int h = board.BoardHeight;
  if (w < 1 || w > kMaxWidth || h < 1 || h > kMaxHeight ||
      (puzzle && (puzzle->BoardWidth != w || puzzle->BoardHeight != h))) {
    f.rule = CheckRule::BadSize;
    return f;
  }
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const std::uint8_t n = board.Board[x][y].number;
      if (n == 0 || !ValidFilled(n)) {
        f.rule = n == 0 ? CheckRule::EmptyCell : CheckRule::BadValue;
        f.column = x;
        f.row = y;
        f.number = n;
        return f;
      }
    }
  }
  if (puzzle) {
    for (int x = 1; x <= w; ++x) {
      for (int y = 1; y <= h; ++y) {
        const std::uint8_t hint = puzzle->Board[x][y].number;
        const std::uint8_t have = board.Board[x][y].number;
        const bool is_hint = hint >= 1 && hint <= 99;
        if (is_hint && have != hint) {
          f = {CheckRule::HintChanged, x, y, hint, have};
          return f;
        }
        if (!is_hint && have <= 99) {
          f = {CheckRule::HintAdded, x, y, have, 0};
          return f;
        }
      }
    }
  }
  // Flood each group once from its first cell in scan order.
  std::vector<int> group(static_cast<std::size_t>(kBoardColumns) * kBoardRows, 0);
  std::vector<std::pair<int, int>> stack;
  int groups = 0;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (group[x * kBoardRows + y]) continue;
      const int n = board.Board[x][y].number % 100;
      ++groups;
      int count = 0;
      stack.assign(1, {x, y});
      group[x * kBoardRows + y] = groups;
      while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        stack.pop_back();
        ++count;
        const int dx[4] = {0, -1, 0, 1};
        const int dy[4] = {-1, 0, 1, 0};
        for (int d = 0; d < 4; ++d) {
          const int nx = cx + dx[d];
          const int ny = cy + dy[d];
          if (nx < 1 || nx > w || ny < 1 || ny > h) continue;
          if (group[nx * kBoardRows + ny] || board.Board[nx][ny].number % 100 != n) continue;
          group[nx * kBoardRows + ny] = groups;
          stack.push_back({nx, ny});
        }
      }
      if (count != n) {
        f = {CheckRule::BlockSize, x, y, n, count};
        return f;
      }
    }
  }
  return f;
}

std::string DescribeFinding(const CheckFinding& f) {
  const std::string at =
      " at column " + std::to_string(f.column) + ", row " + std::to_string(f.row);
  switch (f.rule) {
    case CheckRule::None:
      return "obeys every rule";
    case CheckRule::BadSize:
      return "board size does not fit";
    case CheckRule::EmptyCell:
      return "empty cell" + at;
    case CheckRule::BadValue:
      return "invalid cell value " + std::to_string(f.number) + at;
    case CheckRule::HintChanged:
      return "hint " + std::to_string(f.number) + " not kept" + at + " (the cell holds " +
             (f.count > 100 ? "a placed " + std::to_string(f.count - 100)
                            : "the hint " + std::to_string(f.count)) +
             ")";
    case CheckRule::HintAdded:
      return "hint " + std::to_string(f.number) + " not in the puzzle" + at;
    case CheckRule::BlockSize:
      return "block of " + std::to_string(f.number) + at + " has " + std::to_string(f.count) +
             (f.count > f.number ? " cells (too large, or same-number blocks touch)"
                                 : " cells (too small)");
  }
  return {};
}

}  // namespace numbloc
