// SetCell, block and region floods, free-area measurement, and list capacity.
#include <gtest/gtest.h>

#include "solver_board.h"

namespace numbloc::testing {
namespace {

struct SetCellCase {
  std::vector<std::string> before;
  int x, y, n;
  std::vector<std::string> after;  // empty: refused, the board stays as it was
  const char* verdict;
};

TEST(SetCell, RefusesFullCellsAndPlacesGrowsClosesAndOverfillsBlocks) {
  const SetCellCase cases[] = {
      {{". . .", ". 3 .", ". . +4"}, 2, 2, 5, {}, "contradiction"},
      {{". . .", ". 3 .", ". . +4"}, 3, 3, 5, {}, "contradiction"},
      {{". . .", ". 3 .", ". . +4"}, 0, 1, 5, {}, "contradiction"},  // the frame
      // A lone 3 grows, then closes on its third cell.
      {{"# 3 #", "# . #", "# . #", "# # #"}, 2, 2, 3, {"# 3 #", "# +3 #", "# . #", "# # #"}, "ok progress"},
      {{"# 3 #", "# +3 #", "# . #", "# # #"}, 2, 3, 3, {"# 3* #", "# +3* #", "# +3* #", "# # #"}, "ok progress"},
      {{"2* 2* .", "# # #"}, 3, 1, 2, {"2* 2* +2", "# # #"}, "contradiction progress at 3,1 (2)"},
      // Too short and shut in: a contradiction, but no cell overfilled a block.
      {{"4 4 .", "# # #"}, 3, 1, 4, {"4 4 +4", "# # #"}, "contradiction progress"},
      // The walk leaves (1, 1) at mark 1; flagging by mark 2 alone missed it.
      {{". 7 7 #", "# 7 7 #", "# 7 7 #", "# # # #"}, 1, 1, 7,
       {"+7* 7* 7* #", "# 7* 7* #", "# 7* 7* #", "# # # #"}, "ok progress"},
      {{"# 7 7 .", "# 7 7 #", "# 7 7 #", "# # # #"}, 4, 1, 7,
       {"# 7* 7* +7*", "# 7* 7* #", "# 7* 7* #", "# # # #"}, "ok progress"},
  };
  for (const SetCellCase& c : cases) {
    Rig r(c.before);
    const int empty = r.s().EmptyCount;
    r.solve().SetCell(c.x, c.y, c.n);
    EXPECT_EQ(Picture(r.s()), Picture(c.after.empty() ? c.before : c.after)) << Picture(c.before);
    EXPECT_EQ(Verdict(r.s()), c.verdict) << Picture(c.before);
    EXPECT_EQ(r.s().EmptyCount, empty - !c.after.empty()) << Picture(c.before);
    EXPECT_EQ(r.at(0, 1).number, WALL);
  }
}

// Block flood from (x, y): "cells: ways out" ("x,y", "!" if another n touches it), marks.
struct FloodCase {
  std::vector<std::string> rows;
  int x, y, n;
  const char* flooded;
  const char* marks = nullptr;
};

TEST(BlockFlood, ListsTheWaysOutInNeighbourOrderAndLeavesTheMarks) {
  const FloodCase cases[] = {
      {{". . . . .", ". . . . .", ". . 5 . .", ". . . . .", ". . . . ."}, 3, 3, 5, "1: 3,2 2,3 3,4 4,3",
       "00000\n00100\n01210\n00100\n00000\n"},
      // One missing cell must not join a further n; with two, the same ways out stay.
      {{"# 3 3 #", "# . . #", "# 3 3 #", "# # # #"}, 2, 1, 3, "2:"},
      {{"# 4 4 #", "# . . #", "# 4 4 #", "# # # #"}, 2, 1, 4, "2: 2,2! 3,2!"},
      // Below the 5 only the first other neighbour holding 5 counts: left is complete.
      {{"# 5 #", "5* . 5", "# # #"}, 2, 1, 5, "1:"},
      {{"# 5 #", "5 . 5*", "# # #"}, 2, 1, 5, "1: 2,2!"},
      {{"7 7 7 #", "# 7 7 #", "# 7 7 #", "# # # #"}, 1, 1, 7, "7:", "1220\n0220\n0220\n0000\n"},
  };
  for (const FloodCase& c : cases) {
    Rig r(c.rows);
    Solver& s = r.solve();
    s.BlockFlood(c.x, c.y, c.n);
    std::string flooded = std::to_string(s.BlockCellCount) + ":";
    for (int i = 0; i < s.CandidateCount; ++i) {
      flooded += " " + std::to_string(s.CandidateColumn[i]) + "," + std::to_string(s.CandidateRow[i]) +
                 (s.CandidateTouch[i] ? "!" : "");
    }
    EXPECT_EQ(flooded, c.flooded) << Picture(c.rows);
    if (c.marks) { EXPECT_EQ(Marks(r.s()), c.marks) << Picture(c.rows); }
  }
}

TEST(RegionFlood, CountsTheRegionMarksItAndRecordsTheBorderingNumbers) {
  Rig region({". . . #", "# . . #", "# . . #", "# # # #"});
  region.solve().RegionFlood(1, 1);
  EXPECT_EQ(region.solve().RegionCellCount, 7);
  EXPECT_EQ(Marks(region.s()), "1220\n0220\n0220\n0000\n");

  Rig closed({". 2* #", "2* # #", "# # #"}), open({". 2* #", "4 # #", "# # #"});
  closed.solve().RegionFlood(1, 1);
  open.solve().RegionFlood(1, 1);
  EXPECT_EQ(closed.solve().RegionCellCount, 1);
  EXPECT_EQ(closed.solve().SeenNumbers[2], 1);
  EXPECT_EQ(closed.solve().SeenNumbers[0], 0);
  EXPECT_EQ(open.solve().SeenNumbers[4], 1);
  EXPECT_EQ(open.solve().SeenNumbers[0], 1);  // the 4 is unfinished
}

// An empty w x h rectangle pushes (w-1) x (h-1) branch entries: 504 / 1131.
TEST(NoListOverflow, FloodsCoverTheLargestRegionsAndBlocks) {
  for (auto [w, h] : {std::pair{22, 25}, {30, 40}}) {
    Rig r(EmptyRows(w, h));
    r.solve().RegionFlood(1, 1);
    EXPECT_EQ(r.solve().RegionCellCount, w * h);
    EXPECT_EQ(Marks(r.s()).find('0'), std::string::npos);
  }
  std::vector<std::string> rows = EmptyRows(30, 5);
  rows[1] = "+40";
  for (int x = 1; x < 29; ++x) rows[1] += " +40";
  rows[1] += " .";
  Rig r(rows);
  r.solve().BlockFlood(1, 2, 40);
  EXPECT_EQ(r.solve().BlockCellCount, 29);
  EXPECT_EQ(r.solve().CandidateCount, 29 + 29 + 1);
}

// MeasureArea from (2, 1) after flooding the block at (1, 1) (mark 2); marks
// are compared in mended mode, and in classic where both measure alike.
TEST(MeasureArea, CountsTheFreeAreaBehindAWayOut) {
  const struct {
    std::vector<std::string> rows;
    int classic, mended;
    const char* marks;
  } cases[] = {
      {{"5 . . . #", "# # # # #"}, 3, 3, "22220\n00000\n"},  // a dead-end corridor
      {{"5 . . 5 #", "# # # # #"}, 100, 100, nullptr},      // another block of 5: large enough
      {{"5 . . . #", "# # 5* # #"}, 1, 1, "22000\n00000\n"},  // never beside a complete 5
      {{"5 . . #", "# . . #", "# # # #"}, 4, 4, "2220\n0220\n0000\n"},  // a square reached by its corner
      // Mended: the single-path walk reports 5 for an area of 7: "too small".
      {{"9 . #", ". . #", "# . .", "# . ."}, 5, 7, "220\n220\n022\n022\n"},
  };
  for (const auto& c : cases) {
    for (const bool classic : {true, false}) {
      Rig r(c.rows, classic);
      const int n = r.at(1, 1).number;
      r.solve().BlockFlood(1, 1, n);
      EXPECT_EQ(r.solve().MeasureArea(2, 1, n), classic ? c.classic : c.mended) << Picture(c.rows) << classic;
      if (c.marks && (!classic || c.classic == c.mended)) { EXPECT_EQ(Marks(r.s()), c.marks) << Picture(c.rows); }
    }
  }
}

}  // namespace
}  // namespace numbloc::testing
