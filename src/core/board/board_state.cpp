// Board reset, the number bar's limit and the player's move history.
#include "core/board/board_state.h"

#include <algorithm>
#include <iterator>

namespace numbloc {

void BoardState::ResetBoard() {
  for (int x = 0; x < kBoardColumns; ++x) {
    for (int y = 0; y < kBoardRows; ++y) {
      Board[x][y].number = IsPuzzleCell(x, y) ? 0 : WALL;
      Board[x][y].complete = 0;
    }
  }
  std::fill(std::begin(history.column), std::end(history.column), 0);
  std::fill(std::begin(history.previous), std::end(history.previous), 0);
  std::fill(std::begin(history.row), std::end(history.row), 0);
  BoardReady = 1;
  SolverStatus = kStatusOk;
  Mode = Creation;
  SelectedNumber = 1;
}

void BoardState::WallFrame() {
  const int w = BoardWidth, h = BoardHeight;
  for (int x = 0; x <= w + 1; ++x) {
    Board[x][0].number = WALL;
    Board[x][h + 1].number = WALL;
  }
  for (int y = 0; y <= h + 1; ++y) {
    Board[0][y].number = WALL;
    Board[w + 1][y].number = WALL;
  }
}

void BoardState::PushHistory(std::uint8_t c, std::uint8_t r, std::uint8_t previous) {
  // A damaged file can bring any count; keep every index inside the arrays.
  if (history.HistoryCount < 0 || history.HistoryCount >= kHistorySize) history.HistoryCount = 0;
  const int i = history.HistoryCount;
  history.column[i] = c;
  history.row[i] = r;
  history.previous[i] = previous;
  ++history.HistoryCount;
  if (history.HistoryCount == kHistorySize) {
    constexpr int kKept = kHistorySize / 2;
    std::copy_n(history.column + kKept, kKept, history.column);
    std::copy_n(history.row + kKept, kKept, history.row);
    std::copy_n(history.previous + kKept, kKept, history.previous);
    history.HistoryCount = kKept;
  }
}

void BoardState::UndoHistory() {
  if (history.HistoryCount <= 0 || history.HistoryCount > kHistorySize) return;
  --history.HistoryCount;
  const int i = history.HistoryCount;
  const int c = history.column[i];
  const int r = history.row[i];
  // An entry always names a cell of the array; the reader refuses files where it would not.
  if (c < kBoardColumns && r < kBoardRows) Board[c][r].number = history.previous[i];
}

std::uint8_t DeriveMaxNumber(int width, int height) {
  const int m = std::max(width, height);
  int result = m;
  if (m <= 18) {
    result = m + 2;
  } else if (m <= 30) {
    result = m + 1;
  }
  return static_cast<std::uint8_t>(std::clamp(result, 0, kMaxCellNumber));
}

// Each text ends in the spaces that fill it to 44 bytes in Shift-JIS, where
// every character here takes two bytes.
const char* const StatusMessage[kStatusMessageCount] = {
    "　　　　　　　　　　　　　　　　　　　　　　",
    "この問題は成立していません　　　　　　　　　",
    "このプログラムでは解けません　　　　　　　　",
    "問題が正常に読み込めません　　　　　　　　　",
    "自動解析中！　しばらくお待ちください　　　　",
    "この問題は別解があります（○が黒マスの場合）",
    "数字合計がマス数より少ないです　　　　　　　",
    "数字合計がマス数より多いです　　　　　　　　",
};

const char* StatusMessageFor(std::int32_t status) {
  if (status < 0 || status >= kStatusMessageCount) return nullptr;
  return StatusMessage[status];
}

}  // namespace numbloc
