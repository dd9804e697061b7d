// Typed numbers, replacing, erasing, undo and redo, and the checks of the
// board the window shows as the player goes.
#include "view/play.h"

namespace numbloc {

namespace {

// Sizes of the groups of connected equal non-zero numbers: for each cell the
// size of its group (0 for an empty cell).
std::vector<int> GroupSizes(const BoardState& state) {
  const int w = state.BoardWidth, h = state.BoardHeight;
  std::vector<int> size(static_cast<std::size_t>(w * h), 0);
  std::vector<int> stack, members;
  for (int start = 0; start < w * h; ++start) {
    const int v = Reduced(state.Board[start % w + 1][start / w + 1].number);
    if (v == 0 || size[start] != 0) continue;
    members.clear();
    stack.assign(1, start);
    size[start] = -1;
    while (!stack.empty()) {
      const int c = stack.back();
      stack.pop_back();
      members.push_back(c);
      const int x = c % w, y = c / w;
      const int nx[4] = {x + 1, x - 1, x, x}, ny[4] = {y, y, y + 1, y - 1};
      for (int d = 0; d < 4; ++d) {
        if (nx[d] < 0 || nx[d] >= w || ny[d] < 0 || ny[d] >= h) continue;
        const int n = ny[d] * w + nx[d];
        if (size[n] != 0 || Reduced(state.Board[nx[d] + 1][ny[d] + 1].number) != v) continue;
        size[n] = -1;
        stack.push_back(n);
      }
    }
    for (const int m : members) size[m] = static_cast<int>(members.size());
  }
  return size;
}

bool Solving(const BoardState& state) {
  return state.Mode == SolveStart || state.Mode == SolvePlayed;
}

}  // namespace

bool IsPlayersNumber(const BoardState& state, int c, int r) {
  const int n = state.Board[c][r].number;
  return Solving(state) && n > 100 && n <= 100 + kMaxCellNumber;
}

bool PlaceNumber(BoardState& state, int c, int r, int number, bool overHint) {
  if (!state.IsPuzzleCell(c, r) || number < 1 || number > kMaxCellNumber) return false;
  Cell& cell = state.Board[c][r];
  if (state.Mode == Creation) {
    const bool replaceable = cell.number == 0 || (overHint && cell.number < 100);
    if (!replaceable || cell.number == number) return false;
    cell.number = static_cast<std::uint8_t>(number);
    return true;
  }
  const auto placed = static_cast<std::uint8_t>(number + 100);
  if (cell.number != 0 && !(IsPlayersNumber(state, c, r) && cell.number != placed)) return false;
  state.PushHistory(static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r), cell.number);
  cell.number = placed;
  if (state.Mode == SolveStart) state.Mode = SolvePlayed;
  return true;
}

bool EraseNumber(BoardState& state, int c, int r) {
  if (!state.IsPuzzleCell(c, r)) return false;
  Cell& cell = state.Board[c][r];
  if (state.Mode == Creation) {
    if (cell.number == 0) return false;
    cell.number = 0;
    return true;
  }
  if (cell.number <= 100) return false;
  state.PushHistory(static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r), cell.number);
  cell.number = 0;
  return true;
}

bool RedoList::CanUndo(const BoardState& state) const {
  return state.Mode == SolvePlayed && state.history.HistoryCount > 0 &&
         state.history.HistoryCount <= kHistorySize;
}

bool RedoList::CanRedo(const BoardState& state) const { return Solving(state) && !moves_.empty(); }

bool RedoList::Undo(BoardState& state) {
  if (!CanUndo(state)) return false;
  const int i = state.history.HistoryCount - 1;
  const std::uint8_t c = state.history.column[i], r = state.history.row[i];
  const std::uint8_t now = c < kBoardColumns && r < kBoardRows ? state.Board[c][r].number : 0;
  state.UndoHistory();
  moves_.push_back({c, r, now});
  return true;
}

bool RedoList::Redo(BoardState& state) {
  if (!CanRedo(state)) return false;
  const Move m = moves_.back();
  moves_.pop_back();
  if (m.column >= kBoardColumns || m.row >= kBoardRows) return false;
  state.PushHistory(m.column, m.row, state.Board[m.column][m.row].number);
  state.Board[m.column][m.row].number = m.number;
  if (state.Mode == SolveStart) state.Mode = SolvePlayed;
  return true;
}

CellSet OverfullCells(const BoardState& state) {
  CellSet cells;
  const int w = state.BoardWidth, h = state.BoardHeight;
  const std::vector<int> size = GroupSizes(state);
  for (int i = 0; i < w * h; ++i) {
    if (size[i] > Reduced(state.Board[i % w + 1][i / w + 1].number)) cells.set(i);
  }
  return cells;
}

bool BoardFinished(const BoardState& state) {
  const int w = state.BoardWidth, h = state.BoardHeight;
  const std::vector<int> size = GroupSizes(state);
  for (int i = 0; i < w * h; ++i) {
    const int v = Reduced(state.Board[i % w + 1][i / w + 1].number);
    if (v == 0 || size[i] != v) return false;
  }
  return true;
}

}  // namespace numbloc
