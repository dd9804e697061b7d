// The whole state of one puzzle session: the board with its frame, the
// counters, the mode and the player's move history. Plain data, no Qt.
#pragma once

#include <cstdint>

namespace numbloc {

constexpr int kBoardColumns = 32;  // 30 puzzle columns + the frame on both sides
constexpr int kBoardRows = 42;     // 40 puzzle rows + the frame above and below
constexpr int kMaxWidth = 30;
constexpr int kMaxHeight = 40;
constexpr int kMinWidth = 6;
constexpr int kMinHeight = 6;
constexpr int kMaxCellNumber = 40;  // the largest number a cell can hold
constexpr int kHistorySize = 200;
constexpr std::uint8_t WALL = 100;  // frame cell; reduces to 0, never empty

struct Cell {
  std::uint8_t number = 0;    // 0 empty, 1..99 hint, 100 WALL, 101..140 placed n + 100
  std::uint8_t complete = 0;  // 1 = part of a block known to have all its cells
  std::uint8_t mark = 0;      // solver scratch mark (0..3)
  friend bool operator==(const Cell&, const Cell&) = default;
};

// The value a cell stands for in the puzzle rules: hints and placed numbers
// alike, 0 for empty cells and the frame.
constexpr int Reduced(std::uint8_t number) { return number % 100; }

// What SolverStatus holds: the index of the status-line message, stored in
// the .nbl file as it is. Inside a solve, 0..2 are also the solver's state.
enum SolverStatusValue : std::int32_t {
  kStatusOk = 0,              // blank line: solved, or no contradiction found so far
  kStatusContradiction = 1,   // この問題は成立していません
  kStatusGaveUp = 2,          // このプログラムでは解けません: nothing more was decided
  kStatusUnreadable = 3,      // 問題が正常に読み込めません
  kStatusSolving = 4,         // 自動解析中！
  kStatusOtherSolution = 5,   // この問題は別解があります (no part of this program sets it)
  kStatusTooFewNumbers = 6,   // 数字合計がマス数より少ないです (nor this)
  kStatusTooManyNumbers = 7,  // 数字合計がマス数より多いです (nor this)
};

enum ModeValue : std::uint8_t {
  Creation = 0,     // placing hints
  SolveStart = 1,   // solving, nothing placed since entering or restarting
  SolvePlayed = 2,  // solving, the player placed a number
  SolveAuto = 3,    // solving, after the automatic solve
};

struct MoveHistory {
  std::uint8_t column[kHistorySize] = {};    // column of the changed cell
  std::uint8_t row[kHistorySize] = {};       // row of the changed cell
  std::uint8_t previous[kHistorySize] = {};  // the cell's number before the change
  std::int32_t HistoryCount = 0;             // live entries, always below 200
  friend bool operator==(const MoveHistory&, const MoveHistory&) = default;
};

struct BoardState {
  Cell Board[kBoardColumns][kBoardRows] = {};  // Board[x][y], x column, y row
  std::uint8_t BoardWidth = 8;        // puzzle columns, 6..30
  std::uint8_t BoardHeight = 8;       // puzzle rows, 6..40
  std::uint8_t MaxNumber = 0;         // largest number on the number bar; set by the layout
  std::uint8_t SelectedNumber = 1;    // number the next left click on an empty cell places
  std::uint8_t Mode = Creation;       // one of ModeValue (a damaged file may bring others)
  std::uint8_t BoardReady = 0;        // 0: the next repaint resets the board
  std::uint8_t LayoutPending = 0;     // 1: the next repaint lays the window out again
  std::int32_t SolverStatus = kStatusOk;      // selects the status-line message
  std::int32_t EmptyCount = 0;        // empty puzzle cells, as the solver counts them
  std::int32_t ProgressMade = 0;      // 1 when the solver placed a number since last cleared
  std::int32_t ConflictColumn = 0;    // column of the last placement that overfilled a block
  std::int32_t ConflictRow = 0;       // its row
  std::int32_t ConflictNumber = 0;    // its number
  MoveHistory history;                // the player's changes in Solving mode

  // Makes an empty board of the current size inside a WALL frame, clears the
  // history entries (not HistoryCount) and enters Creation mode. Leaves the
  // sizes, MaxNumber, EmptyCount, LayoutPending, the conflict variables and
  // every mark as they are.
  void ResetBoard();

  // Puts WALL on the frame around the puzzle (the ring just outside it), so
  // that walks over the board need no bounds checks.
  void WallFrame();

  // Records that the player changed cell (c, r) from `previous`. The 200th
  // entry folds the history to its newest 100.
  void PushHistory(std::uint8_t c, std::uint8_t r, std::uint8_t previous);

  // Takes back the newest recorded change; does nothing on an empty history.
  void UndoHistory();

  friend bool operator==(const BoardState&, const BoardState&) = default;

  bool IsPuzzleCell(int x, int y) const {
    return x >= 1 && x <= BoardWidth && y >= 1 && y <= BoardHeight;
  }
};

// The largest number the number bar offers for a board of this size.
std::uint8_t DeriveMaxNumber(int width, int height);

constexpr int kStatusMessageCount = 8;
constexpr int kStatusMessageBytes = 44;  // each message's length in Shift-JIS

// The status-line texts in UTF-8, indexed by SolverStatus, each padded with
// the full-width and ASCII spaces that make it 44 bytes in Shift-JIS.
extern const char* const StatusMessage[kStatusMessageCount];

// The status-line text for a status value, or nullptr when it has none.
const char* StatusMessageFor(std::int32_t status);

}  // namespace numbloc
