// The four deduction rules on their worked examples, in both modes where a
// mend touches the rule.
#include <gtest/gtest.h>

#include "solver_board.h"

namespace numbloc::testing {
namespace {

// ---------------------------------------------------------------- partner of a 2

TEST(PartnerOfTwo, AdjacentHintsCloseTheDominoWithoutProgress) {
  Rig r({"2 2 .", ". . .", ". . ."});
  r.solve().PartnerOfTwo();
  EXPECT_EQ(Picture(r.s()), Picture({"2* 2* .", ". . .", ". . ."}));
  EXPECT_EQ(r.s().ProgressMade, 0);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
}

TEST(PartnerOfTwo, TouchingAFinishedDominoOrTwoFurtherTwosIsAContradiction) {
  Rig finished({". +2* .", ". 2 .", ". . ."});
  finished.solve().PartnerOfTwo();
  EXPECT_EQ(finished.s().SolverStatus, kStatusContradiction);

  Rig three({". +2 .", ". 2 +2", ". . ."});
  three.solve().PartnerOfTwo();
  EXPECT_EQ(three.s().SolverStatus, kStatusContradiction);
}

TEST(PartnerOfTwo, CornerTwoTakesItsOnlyEmptyNeighbour) {
  Rig r({"2 3*", ". 3*"});
  r.solve().PartnerOfTwo();
  EXPECT_EQ(Picture(r.s()), Picture({"2* 3*", "+2* 3*"}));
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
}

TEST(PartnerOfTwo, OnlyFreeNeighbourIsWrittenEvenBesideAnEmptyNeighbour) {
  // L is empty but its straight cell holds 2, so U is the only free neighbour.
  Rig r({"# # . #", "# # . #", "2* . 2 5", "# # 5 #"});
  r.solve().PartnerOfTwo();
  EXPECT_EQ(r.at(3, 2).number, 102);
  EXPECT_EQ(r.at(3, 3).complete, 1);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
}

TEST(PartnerOfTwo, DiagonalTwoWritesTheSecondCellWithoutTestingIt) {
  // G is UL; R is occupied, so D receives the 2 although DD holds a 2.
  Rig r({"2* . #", ". 2 5", "# . #", "# 2* #"});
  r.solve().PartnerOfTwo();
  EXPECT_EQ(r.at(2, 3).number, 102);
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
}

TEST(PartnerOfTwo, OppositeDiagonalIsIgnoredAndTwoFreeCellsDecideNothing) {
  Rig diagonal({"2* . . .", ". 2 . .", ". . 2* .", ". . . ."});
  diagonal.solve().PartnerOfTwo();
  EXPECT_EQ(diagonal.s().ProgressMade, 0);
  EXPECT_EQ(diagonal.s().SolverStatus, kStatusOk);

  Rig open({". . .", ". 2 .", ". . ."});
  open.solve().PartnerOfTwo();
  EXPECT_EQ(open.s().ProgressMade, 0);
}

TEST(PartnerOfTwo, NoFreeNeighbourWritesUpAndReportsTheBlockOfThree) {
  Rig r({"# 2* #", "# . #", "3 2 3", "# 3 #"});
  r.solve().PartnerOfTwo();
  EXPECT_EQ(r.at(2, 2).number, 102);
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.s().ConflictColumn, 2);
  EXPECT_EQ(r.s().ConflictRow, 2);
}

// Every row of the none-free table: each neighbour is either occupied (o) or
// empty with a complete 2 behind it (s). Only an s cell can receive the 2.
TEST(PartnerOfTwo, NoneFreeTableNamesTheCellThatReceivesTheTwo) {
  const char* rows[16] = {"oooo", "ooos", "ooso", "ooss", "osoo", "osos", "osso", "osss",
                          "sooo", "soos", "soso", "soss", "ssoo", "ssos", "ssso", "ssss"};
  const char targets[16] = {'D', 'R', 'D', 'D', 'L', 'R', 'D', 'R',
                            'U', 'R', 'D', 'R', 'D', 'R', 'L', 'U'};
  const std::string order = "ULDR";
  const int nx[4] = {3, 2, 3, 4}, ny[4] = {2, 3, 4, 3};
  const int sx[4] = {3, 1, 3, 5}, sy[4] = {1, 3, 5, 3};
  for (int i = 0; i < 16; ++i) {
    Rig r({"# # # # #", "# # # # #", "# # 2 # #", "# # # # #", "# # # # #"});
    for (int d = 0; d < 4; ++d) {
      if (rows[i][d] == 'o') {
        r.at(nx[d], ny[d]).number = 5;
      } else {
        r.at(nx[d], ny[d]).number = 0;
        r.at(sx[d], sy[d]).number = 2;
        r.at(sx[d], sy[d]).complete = 1;
      }
    }
    r.solve().PartnerOfTwo();
    EXPECT_EQ(r.s().SolverStatus, kStatusContradiction) << rows[i];
    const int t = static_cast<int>(order.find(targets[i]));
    for (int d = 0; d < 4; ++d) {
      const bool written = r.at(nx[d], ny[d]).number == 102;
      EXPECT_EQ(written, d == t && rows[i][d] == 's') << rows[i] << " " << order[d];
    }
  }
}

// ---------------------------------------------------------------- growth of blocks

class GrowthBothModes : public ::testing::TestWithParam<bool> {
 protected:
  std::string Grow(const std::vector<std::string>& rows) {
    Rig r(rows, GetParam());
    r.solve().GrowIncompleteBlocks();
    status = r.s().SolverStatus;
    return Picture(r.s());
  }
  int status = 0;
};

TEST_P(GrowthBothModes, OneWayOutIsTakenAndClosesTheBlock) {
  EXPECT_EQ(Grow({"# # # #", "# 3 +3 .", "# # # #"}), Picture({"# # # #", "# 3* +3* +3*", "# # # #"}));
  EXPECT_EQ(status, 0);
}

TEST_P(GrowthBothModes, OversizedBlockEndsTheRuleAtOnce) {
  // The lone 3 at the far right would otherwise grow into its only way out.
  EXPECT_EQ(Grow({"3 3 # # # 3", "3 3 # # # .", "# # # # # ."}),
            Picture({"3 3 # # # 3", "3 3 # # # .", "# # # # # ."}));
  EXPECT_EQ(status, 1);
}

TEST_P(GrowthBothModes, DeadEndTooSmallSendsTheBlockTheOtherWay) {
  EXPECT_EQ(Grow({". . 4 . .", "# # # . .", "# # # . .", "# # # . ."}),
            Picture({". . 4 +4 .", "# # # . .", "# # # . .", "# # # . ."}));
}

TEST_P(GrowthBothModes, TwoWaysIntoOneSmallPocketDecideNothing) {
  EXPECT_EQ(Grow({"3 . #", ". . #", "# # #"}), Picture({"3 . #", ". . #", "# # #"}));
}

TEST_P(GrowthBothModes, WaysOutThatWouldJoinAnotherBlockAreNotListed) {
  EXPECT_EQ(Grow({"# 3 3 #", "# . . #", "# 3 3 #", "# # # #"}), Picture({"# 3 3 #", "# . . #", "# 3 3 #", "# # # #"}));
  EXPECT_EQ(status, 0);
}

TEST_P(GrowthBothModes, ThreeWaysTwoSharingASmallAreaSendTheSixDown) {
  EXPECT_EQ(Grow({". . #", ". 6 #", "# . #", ". . .", ". . ."}),
            Picture({". . #", ". 6 #", "# +6 #", ". . .", ". . ."}));
}

TEST_P(GrowthBothModes, ThreeWaysSingleCellTooSmallSendsTheEightUp) {
  EXPECT_EQ(Grow({"# . #", ". 8 #", ". . #", "# # #"}), Picture({"# +8 #", ". 8 #", ". . #", "# # #"}));
}

INSTANTIATE_TEST_SUITE_P(Modes, GrowthBothModes, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Classic" : "Mended"; });

// Mended: both ways out of the 4 open into one pocket of exactly the three cells
// it lacks. The classic step wants W1 unfinished and leaves the forced block open.
TEST(Growth, SharedPocketOfExactlyTheMissingSizeIsFilledWhole) {
  const std::vector<std::string> rows = {"4 . #", ". . #", "# # #"};
  Rig classic(rows, true);
  classic.solve().GrowIncompleteBlocks();
  EXPECT_EQ(Picture(classic.s()), Picture(rows));

  Rig mended(rows);
  mended.solve().GrowIncompleteBlocks();
  EXPECT_EQ(Picture(mended.s()), Picture({"4* +4* #", "+4* +4* #", "# # #"}));
}

// ---------------------------------------------------------------- enclosed regions

TEST(EnclosedRegions, SingleCellBesideCompleteBlocksBecomesAOne) {
  Rig r({"# 2* #", "3* . 2*", "# 3* #"});
  r.solve().FillEnclosedRegions();
  EXPECT_EQ(r.at(2, 2).number, 101);
  EXPECT_EQ(r.at(2, 2).complete, 1);
}

TEST(EnclosedRegions, SingleCellBesideAOneIsAContradictionAndSkipsTheColumn) {
  Rig r({"1* . #", "# # #", "3* . 4*", "# # #"});
  r.solve().FillEnclosedRegions();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.at(2, 3).number, 0);
}

TEST(EnclosedRegions, PairBesideThreesAndFoursBecomesADomino) {
  Rig r({"# 3* 3* #", "4* . . 3*", "# 4* 4* #"});
  r.solve().FillEnclosedRegions();
  EXPECT_EQ(Picture(r.s()), Picture({"# 3* 3* #", "4* +2* +2* 3*", "# 4* 4* #"}));

  Rig two({"# 2* 3* #", "4* . . 3*", "# 4* 4* #"});
  two.solve().FillEnclosedRegions();
  EXPECT_EQ(two.s().SolverStatus, kStatusContradiction);
}

TEST(EnclosedRegions, MiddleCellOfAThreeMustNotTouchATwo) {
  Rig end({"# # 2* # #", "3* . . . 4*", "# 3* 3* 3* #"});
  end.solve().FillEnclosedRegions();
  EXPECT_EQ(end.s().SolverStatus, kStatusContradiction);

  // The corner of an L is its middle cell, and the scan meets it first.
  Rig corner({"# 2* # #", "3* . . 3*", "3* . 4* #", "# 4* # #"});
  corner.solve().FillEnclosedRegions();
  EXPECT_EQ(corner.s().SolverStatus, kStatusContradiction);

  Rig fine({"# 4* 4* #", "3* . . 3*", "3* . 4* #", "# 4* # #"});
  fine.solve().FillEnclosedRegions();
  EXPECT_EQ(fine.s().SolverStatus, kStatusOk);
  EXPECT_EQ(fine.s().ProgressMade, 0);
}

TEST(EnclosedRegions, OpenOrLargeRegionsAreLeftAlone) {
  Rig open({"# 3 #", "4* . 4*", "# # #"});
  open.solve().FillEnclosedRegions();
  EXPECT_EQ(open.at(2, 2).number, 0);

  Rig large({". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .",
             ". . . . . . ."});
  large.solve().FillEnclosedRegions();
  EXPECT_EQ(large.s().ProgressMade, 0);
}

TEST(EnclosedRegions, HintlessSixBySixIsOneBlockOf36) {
  std::vector<std::string> rows(6, ". . . . . .");
  Rig r(rows);
  r.solve().InitSolver();
  r.solve().FillEnclosedRegions();
  for (int x = 1; x <= 6; ++x) {
    for (int y = 1; y <= 6; ++y) {
      EXPECT_EQ(r.at(x, y).number, 136);
      EXPECT_EQ(r.at(x, y).complete, 1);
    }
  }
  EXPECT_EQ(r.s().EmptyCount, 0);

  Rig solved(rows);
  solved.solve().AutoSolve();
  EXPECT_EQ(solved.s().SolverStatus, kStatusOk);
}

// A region cell that the flood left at mark 1 is not written by the fill.
TEST(EnclosedRegions, CornerLeftAtMarkOneWaitsForALaterRule) {
  Rig r({". . . #", "# . . #", "# . . #", "# # # #"});
  r.solve().FillEnclosedRegions();
  EXPECT_EQ(Picture(r.s()), Picture({". +7 +7 #", "# +7 +7 #", "# +7 +7 #", "# # # #"}));
}

// ---------------------------------------------------------------- singles and pairs

TEST(SinglesAndPairs, EnclosedSingleCells) {
  Rig corner({". 3*", "4* #"});
  corner.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(corner.at(1, 1).number, 101);

  Rig joins({"# 1* # #", "3* . 4 .", "# 3* # #"});
  joins.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(joins.at(2, 2).number, 104);

  Rig twice({"5 5 #", "5 . #", "# # #"});
  twice.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(twice.at(2, 2).number, 0);
}

TEST(SinglesAndPairs, SingleBesideAOneWithNothingToJoinEndsTheRule) {
  Rig r({"1* . #", "# # #", "3* . 4*", "# # #"});
  r.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.at(2, 3).number, 0);
}

TEST(SinglesAndPairs, EnclosedVerticalPairBecomesADomino) {
  Rig r({"# 3* #", "3* . 3*", "3* . 3*", "# 3* #"});
  r.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(Picture(r.s()), Picture({"# 3* #", "3* +2* 3*", "3* +2* 3*", "# 3* #"}));
}

class PairsBothModes : public ::testing::TestWithParam<bool> {};

TEST_P(PairsBothModes, PairBesideATwoJoinsTheOneUnfinishedBlock) {
  Rig r({"# 2* 3* #", "3* . . 5", "# 3* 3* #"}, GetParam());
  r.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(r.at(3, 2).number, 105);
  EXPECT_EQ(r.at(2, 2).number, 0);
}

TEST_P(PairsBothModes, PairBesideTwoUnfinishedBlocksOrAThirdEmptyCellIsLeft) {
  Rig two({"# 2* # #", "3 . . 3", "# # # #"}, GetParam());
  two.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(two.s().ProgressMade, 0);

  Rig third({"# 3* 3* #", "3* . . .", "# 3* 3* #"}, GetParam());
  third.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(third.s().ProgressMade, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, PairsBothModes, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Classic" : "Mended"; });

// Mended: the left cell can be a 1 (no 1 around it) while the right cell joins
// the unfinished 2 above it, so the 5 need not take the left cell.
TEST(SinglesAndPairs, PairThatMayHideAOneAndAPartnerIsLeftOpen) {
  const std::vector<std::string> rows = {"# # 2 #", "5 . . 3*", "# 3* 3* #"};
  Rig classic(rows, true);
  classic.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(classic.at(2, 2).number, 105);

  Rig mended(rows);
  mended.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(mended.at(2, 2).number, 0);
  EXPECT_EQ(mended.s().ProgressMade, 0);
}

}  // namespace
}  // namespace numbloc::testing
