// Board reset, the number bar's limit, the history and the status texts.
#include <iconv.h>

#include <gtest/gtest.h>

#include <string>

#include "core/board/board_state.h"

namespace numbloc {
namespace {

TEST(ResetBoard, FramesThePuzzleAndKeepsHistoryCountAndMarks) {
  BoardState s{.BoardWidth = 6, .BoardHeight = 6, .SelectedNumber = 9, .Mode = SolveAuto,
               .SolverStatus = kStatusGaveUp, .EmptyCount = 12};
  s.Board[3][3].number = 7;
  s.Board[30][40].number = 7;
  s.Board[5][5].mark = 3;
  s.Board[29][39].complete = 1;
  s.history.HistoryCount = 17;
  s.history.previous[42] = 105;
  s.ResetBoard();
  for (int x = 0; x < kBoardColumns; ++x) {
    for (int y = 0; y < kBoardRows; ++y) {
      const bool inside = x >= 1 && x <= 6 && y >= 1 && y <= 6;
      EXPECT_EQ(s.Board[x][y].number, inside ? 0 : WALL) << x << "," << y;
      EXPECT_EQ(s.Board[x][y].complete, 0);
    }
  }
  EXPECT_EQ(s.Board[5][5].mark, 3);
  EXPECT_EQ(s.history.HistoryCount, 17);
  EXPECT_EQ(s.history.previous[42], 0);
  EXPECT_EQ(s.Mode, Creation);
  EXPECT_EQ(s.SolverStatus, kStatusOk);
  EXPECT_EQ(s.SelectedNumber, 1);
  EXPECT_EQ(s.BoardReady, 1);
  EXPECT_EQ(s.EmptyCount, 12);
}

TEST(MaxNumber, FollowsTheLargerSide) {
  const struct { int w, h, expected; } cases[] = {
      {6, 6, 8}, {18, 6, 20}, {19, 19, 20}, {6, 30, 31}, {6, 31, 31}, {30, 40, 40},
      {8, 8, 10}, {18, 18, 20}, {30, 30, 31}, {6, 40, 40}, {200, 6, 40},
  };
  for (const auto& c : cases) EXPECT_EQ(DeriveMaxNumber(c.w, c.h), c.expected) << c.w << "x" << c.h;
}

TEST(History, TheTwoHundredthPushKeepsTheNewestHundredAndUndoesThemNewestFirst) {
  BoardState s;
  s.BoardWidth = 30;
  s.BoardHeight = 40;
  s.ResetBoard();
  // Change i writes into cell (1 + i % 30, 1 + i / 30) after recording its old value.
  auto cell = [&](int i) -> Cell& { return s.Board[1 + i % 30][1 + i / 30]; };
  for (int i = 0; i < 200; ++i) {
    s.PushHistory(static_cast<std::uint8_t>(1 + i % 30), static_cast<std::uint8_t>(1 + i / 30), cell(i).number);
    cell(i).number = static_cast<std::uint8_t>(101 + i % 40);
    if (i < 199) { EXPECT_EQ(s.history.HistoryCount, i + 1); }
  }
  EXPECT_EQ(s.history.HistoryCount, 100);
  EXPECT_EQ(s.history.column[99], 1 + 199 % 30);
  EXPECT_EQ(s.history.row[99], 1 + 199 / 30);
  EXPECT_EQ(s.history.column[0], 1 + 100 % 30);
  for (int i = 199; i >= 100; --i) {
    s.UndoHistory();
    EXPECT_EQ(cell(i).number, 0) << i;
    if (i > 100) { EXPECT_NE(cell(i - 1).number, 0) << i; }
  }
  EXPECT_EQ(s.history.HistoryCount, 0);
  s.UndoHistory();  // nothing left: nothing changes
  EXPECT_EQ(s.history.HistoryCount, 0);
  EXPECT_EQ(cell(99).number, 101 + 99 % 40);

  // Undo puts back an erased number and leaves its flag and the mode.
  s.Mode = SolvePlayed;
  s.Board[30][40] = {135, 1, 0};
  s.PushHistory(30, 40, 135);
  s.Board[30][40].number = 0;
  s.UndoHistory();
  EXPECT_EQ(s.Board[30][40], (Cell{135, 1, 0}));
  EXPECT_EQ(s.Mode, SolvePlayed);
}

std::string ToShiftJis(std::string in) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no CP932 converter>";
  std::string out(256, '\0');
  char *inp = in.data(), *outp = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return "<not convertible>";
  out.resize(out.size() - outLeft);
  return out;
}

TEST(StatusMessage, EveryTextIsFortyFourShiftJisBytes) {
  for (int i = 0; i < kStatusMessageCount; ++i) {
    EXPECT_EQ(ToShiftJis(StatusMessage[i]).size(), 44u) << i;
  }
  std::string wideSpaces;
  for (int i = 0; i < 22; ++i) wideSpaces += "\x81\x40";
  EXPECT_EQ(ToShiftJis(StatusMessage[0]), wideSpaces);
  EXPECT_EQ(std::string(StatusMessage[1]).rfind("この問題は成立していません", 0), 0u);
  EXPECT_STREQ(StatusMessageFor(7), StatusMessage[7]);
  EXPECT_EQ(StatusMessageFor(8), nullptr);
  EXPECT_EQ(StatusMessageFor(-1), nullptr);
}

}  // namespace
}  // namespace numbloc
