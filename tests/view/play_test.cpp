// Replace with its undo and redo, what may not be replaced, broken rules, the finished board.
#include <gtest/gtest.h>

#include <tuple>

#include "board_picture.h"
#include "view/play.h"

namespace numbloc {
namespace {

using testing::LoadPicture;

TEST(Play, ReplaceIsOneMoveThatUndoAndRedoTakeBackAndRepeat) {
  BoardState s;
  LoadPicture(s, {"3 . .", ". . .", ". . 1"});
  s.Mode = SolveStart;
  RedoList redo;
  ASSERT_TRUE(PlaceNumber(s, 2, 1, 3, false));
  EXPECT_EQ(s.Mode, SolvePlayed);
  ASSERT_TRUE(PlaceNumber(s, 2, 1, 5, false));  // the player's own number: replaced
  EXPECT_EQ(s.Board[2][1].number, 105);
  EXPECT_EQ(s.history.HistoryCount, 2);

  // Undo twice, then nothing is left to undo; redo twice, then nothing.
  const std::tuple<bool, bool, int> steps[] = {{true, true, 103},  {true, true, 0},    {true, false, 0},
                                               {false, true, 103}, {false, true, 105}, {false, false, 105}};
  for (const auto& [undo, done, number] : steps) {
    EXPECT_EQ(undo ? redo.Undo(s) : redo.Redo(s), done);
    EXPECT_EQ(s.Board[2][1].number, number);
  }
  EXPECT_EQ(s.history.HistoryCount, 2);  // redone moves are in the history again

  // Hints and the solver's numbers stay.
  EXPECT_FALSE(PlaceNumber(s, 1, 1, 4, false));
  EXPECT_FALSE(PlaceNumber(s, 1, 1, 4, true));
  s.Mode = SolveAuto;
  s.Board[3][2].number = 102;
  EXPECT_FALSE(PlaceNumber(s, 3, 2, 4, false));
  // Creation mode: a typed number may replace a hint, a click may not.
  s.Mode = Creation;
  EXPECT_FALSE(PlaceNumber(s, 1, 1, 4, false));
  EXPECT_TRUE(PlaceNumber(s, 1, 1, 4, true));
  EXPECT_EQ(s.Board[1][1].number, 4);
  EXPECT_FALSE(PlaceNumber(s, 2, 2, 41, true));
}

TEST(Play, BrokenRulesAreTooLargeGroupsOfEqualNumbers) {
  BoardState s;
  // A 2 grown to three cells, and two complete 1s side by side.
  LoadPicture(s, {"2 +2 +2", ". . .", "1 +1 ."});
  s.Mode = SolvePlayed;
  const CellSet warn = OverfullCells(s);
  EXPECT_EQ(warn.count(), 5u);
  for (int i : {0, 1, 2, 6, 7}) EXPECT_TRUE(warn.test(i)) << i;
  s.Board[3][1].number = 0;
  s.Board[2][3].number = 0;
  EXPECT_TRUE(OverfullCells(s).none());
}

TEST(Play, FinishedOnlyWhenFullAndEveryBlockRight) {
  BoardState s;
  LoadPicture(s, {"3 3 +3", "+1 2 +2", "+3 +3 3"});
  EXPECT_TRUE(BoardFinished(s));
  s.Board[1][2].number = 0;
  EXPECT_FALSE(BoardFinished(s));  // not full
  s.Board[1][2].number = 102;
  EXPECT_FALSE(BoardFinished(s));  // full, but a 2 of three cells
}

}  // namespace
}  // namespace numbloc
