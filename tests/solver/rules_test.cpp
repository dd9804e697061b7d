// The four rules on worked examples, in both modes unless a mend changes them.
#include <gtest/gtest.h>

#include "solver_board.h"

namespace numbloc::testing {
namespace {

using Rule = void (Solver::*)();
constexpr Rule kPartner = &Solver::PartnerOfTwo, kGrow = &Solver::GrowIncompleteBlocks,
               kRegions = &Solver::FillEnclosedRegions, kPairs = &Solver::FillEnclosedSinglesAndPairs;
enum Modes { kBoth, kClassicOnly, kMendedOnly };

struct RuleCase {
  const char* name;
  Rule rule;
  std::vector<std::string> before, after;  // after empty: the rule leaves the board as it was
  const char* verdict;                     // see Verdict()
  Modes modes = kBoth;
};

const RuleCase kCases[] = {
    // Partner of a 2.
    {"AdjacentHintsCloseTheDominoWithoutProgress", kPartner, {"2 2 .", ". . .", ". . ."},
     {"2* 2* .", ". . .", ". . ."}, "ok"},
    {"TwoTouchingAFinishedDominoIsAContradiction", kPartner, {". +2* .", ". 2 .", ". . ."}, {}, "contradiction"},
    {"TwoBetweenTwoFurtherTwosIsAContradiction", kPartner, {". +2 .", ". 2 +2", ". . ."}, {}, "contradiction"},
    {"CornerTwoTakesItsOnlyEmptyNeighbour", kPartner, {"2 3*", ". 3*"}, {"2* 3*", "+2* 3*"}, "ok progress"},
    // L is empty but its straight cell holds 2, so U is the only free neighbour.
    {"OnlyFreeNeighbourIsWrittenEvenBesideAnEmptyNeighbour", kPartner, {"# # . #", "# # . #", "2* . 2 5", "# # 5 #"},
     {"# # . #", "# # +2* #", "2* . 2* 5", "# # 5 #"}, "ok progress"},
    // G is UL; R is occupied, so D receives the 2 although DD holds a 2.
    {"DiagonalTwoWritesTheSecondCellWithoutTestingIt", kPartner, {"2* . #", ". 2 5", "# . #", "# 2* #"},
     {"2* . #", ". 2 5", "# +2 #", "# 2* #"}, "contradiction progress at 2,3 (2)"},
    {"OppositeDiagonalIsIgnored", kPartner, {"2* . . .", ". 2 . .", ". . 2* .", ". . . ."}, {}, "ok"},
    {"TwoFreeCellsDecideNothing", kPartner, {". . .", ". 2 .", ". . ."}, {}, "ok"},
    {"NoFreeNeighbourWritesUpAndReportsTheBlockOfThree", kPartner, {"# 2* #", "# . #", "3 2 3", "# 3 #"},
     {"# 2* #", "# +2 #", "3 2 3", "# 3 #"}, "contradiction progress at 2,2 (2)"},
    // Growth of incomplete blocks.
    {"OneWayOutIsTakenAndClosesTheBlock", kGrow, {"# # # #", "# 3 +3 .", "# # # #"},
     {"# # # #", "# 3* +3* +3*", "# # # #"}, "ok progress"},
    // The lone 3 at the far right would otherwise grow into its only way out.
    {"OversizedBlockEndsTheRuleAtOnce", kGrow, {"3 3 # # # 3", "3 3 # # # .", "# # # # # ."}, {}, "contradiction"},
    {"DeadEndTooSmallSendsTheBlockTheOtherWay", kGrow, {". . 4 . .", "# # # . .", "# # # . .", "# # # . ."},
     {". . 4 +4 .", "# # # . .", "# # # . .", "# # # . ."}, "ok progress"},
    {"TwoWaysIntoOneSmallPocketDecideNothing", kGrow, {"3 . #", ". . #", "# # #"}, {}, "ok"},
    {"WaysOutThatWouldJoinAnotherBlockAreNotListed", kGrow, {"# 3 3 #", "# . . #", "# 3 3 #", "# # # #"}, {}, "ok"},
    {"ThreeWaysTwoSharingASmallAreaSendTheSixDown", kGrow, {". . #", ". 6 #", "# . #", ". . .", ". . ."},
     {". . #", ". 6 #", "# +6 #", ". . .", ". . ."}, "ok progress"},
    {"ThreeWaysSingleCellTooSmallSendsTheEightUp", kGrow, {"# . #", ". 8 #", ". . #", "# # #"},
     {"# +8 #", ". 8 #", ". . #", "# # #"}, "ok progress"},
    // Mended: both ways out of the 4 open into one pocket of the 3 cells it lacks.
    {"SharedPocketOfExactlyTheMissingSizeIsFilledWhole", kGrow, {"4 . #", ". . #", "# # #"},
     {"4* +4* #", "+4* +4* #", "# # #"}, "ok progress", kMendedOnly},
    {"ClassicGrowthLeavesTheSharedPocketOpen", kGrow, {"4 . #", ". . #", "# # #"}, {}, "ok", kClassicOnly},
    // Enclosed regions.
    {"SingleCellBesideCompleteBlocksBecomesAOne", kRegions, {"# 2* #", "3* . 2*", "# 3* #"},
     {"# 2* #", "3* +1* 2*", "# 3* #"}, "ok progress"},
    {"SingleCellBesideAOneIsAContradictionAndSkipsTheColumn", kRegions, {"1* . #", "# # #", "3* . 4*", "# # #"}, {},
     "contradiction"},
    {"PairBesideThreesAndFoursBecomesADomino", kRegions, {"# 3* 3* #", "4* . . 3*", "# 4* 4* #"},
     {"# 3* 3* #", "4* +2* +2* 3*", "# 4* 4* #"}, "ok progress"},
    {"PairBesideATwoIsAContradiction", kRegions, {"# 2* 3* #", "4* . . 3*", "# 4* 4* #"}, {}, "contradiction"},
    {"MiddleOfAThreeMustNotTouchATwo", kRegions, {"# # 2* # #", "3* . . . 4*", "# 3* 3* 3* #"}, {}, "contradiction"},
    // The corner of an L is its middle cell, and the scan meets it first.
    {"CornerOfAnLIsItsMiddleCell", kRegions, {"# 2* # #", "3* . . 3*", "3* . 4* #", "# 4* # #"}, {}, "contradiction"},
    {"LWithoutATwoBesideItsMiddleIsLeft", kRegions, {"# 4* 4* #", "3* . . 3*", "3* . 4* #", "# 4* # #"}, {}, "ok"},
    {"RegionBesideAnUnfinishedBlockIsLeftAlone", kRegions, {"# 3 #", "4* . 4*", "# # #"}, {}, "ok"},
    {"LargeRegionIsLeftAlone", kRegions, EmptyRows(7, 6), {}, "ok"},
    {"HintlessSixBySixIsOneBlockOf36", kRegions, EmptyRows(6, 6),
     std::vector<std::string>(6, "+36* +36* +36* +36* +36* +36*"), "ok progress"},
    // A region cell that the flood left at mark 1 is not written by the fill.
    {"CornerLeftAtMarkOneWaitsForALaterRule", kRegions, {". . . #", "# . . #", "# . . #", "# # # #"},
     {". +7 +7 #", "# +7 +7 #", "# +7 +7 #", "# # # #"}, "ok progress"},
    // Enclosed singles and pairs.
    {"EnclosedCornerCellBecomesAOne", kPairs, {". 3*", "4* #"}, {"+1* 3*", "4* #"}, "ok progress"},
    {"EnclosedSingleJoinsTheOnlyUnfinishedBlock", kPairs, {"# 1* # #", "3* . 4 .", "# 3* # #"},
     {"# 1* # #", "3* +4 4 .", "# 3* # #"}, "ok progress"},
    {"SingleBesideTheSameBlockTwiceIsLeft", kPairs, {"5 5 #", "5 . #", "# # #"}, {}, "ok"},
    {"SingleBesideAOneWithNothingToJoinEndsTheRule", kPairs, {"1* . #", "# # #", "3* . 4*", "# # #"}, {},
     "contradiction"},
    {"EnclosedVerticalPairBecomesADomino", kPairs, {"# 3* #", "3* . 3*", "3* . 3*", "# 3* #"},
     {"# 3* #", "3* +2* 3*", "3* +2* 3*", "# 3* #"}, "ok progress"},
    {"PairBesideATwoJoinsTheOneUnfinishedBlock", kPairs, {"# 2* 3* #", "3* . . 5", "# 3* 3* #"},
     {"# 2* 3* #", "3* . +5 5", "# 3* 3* #"}, "ok progress"},
    {"PairBesideTwoUnfinishedBlocksIsLeft", kPairs, {"# 2* # #", "3 . . 3", "# # # #"}, {}, "ok"},
    {"PairBesideAThirdEmptyCellIsLeft", kPairs, {"# 3* 3* #", "3* . . .", "# 3* 3* #"}, {}, "ok"},
    // Mended: left may be a 1, right joins the 2 above; the 5 need not go left.
    {"PairThatMayHideAOneAndAPartnerIsLeftOpen", kPairs, {"# # 2 #", "5 . . 3*", "# 3* 3* #"}, {}, "ok", kMendedOnly},
    {"ClassicPairRuleGivesTheLeftCellToTheFive", kPairs, {"# # 2 #", "5 . . 3*", "# 3* 3* #"},
     {"# # 2 #", "5 +5 . 3*", "# 3* 3* #"}, "ok progress", kClassicOnly},
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class Rules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(Rules, LeaveTheBoardAndVerdictOfTheWorkedExample) {
  const RuleCase& c = GetParam();
  for (const bool classic : {true, false}) {
    if (c.modes == (classic ? kMendedOnly : kClassicOnly)) continue;
    Rig r(c.before, classic);
    (r.solve().*c.rule)();
    EXPECT_EQ(Picture(r.s()), Picture(c.after.empty() ? c.before : c.after)) << (classic ? "classic" : "mended");
    EXPECT_EQ(Verdict(r.s()), c.verdict) << (classic ? "classic" : "mended");
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, Rules, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every row of the none-free table: each neighbour of the 2 is either occupied
// (o) or empty with a complete 2 behind it (s). Only an s cell can receive it.
TEST(PartnerOfTwo, NoneFreeTableNamesTheCellThatReceivesTheTwo) {
  const char* rows[16] = {"oooo", "ooos", "ooso", "ooss", "osoo", "osos", "osso", "osss",
                          "sooo", "soos", "soso", "soss", "ssoo", "ssos", "ssso", "ssss"};
  const std::string targets = "DRDDLRDRURDRDRLU", order = "ULDR";
  const int nx[4] = {3, 2, 3, 4}, ny[4] = {2, 3, 4, 3}, sx[4] = {3, 1, 3, 5}, sy[4] = {1, 3, 5, 3};
  for (int i = 0; i < 16; ++i) {
    Rig r({"# # # # #", "# # # # #", "# # 2 # #", "# # # # #", "# # # # #"});
    for (int d = 0; d < 4; ++d) {
      const bool open = rows[i][d] == 's';
      r.at(nx[d], ny[d]).number = open ? 0 : 5;
      if (open) r.at(sx[d], sy[d]) = {2, 1, 0};
    }
    r.solve().PartnerOfTwo();
    EXPECT_EQ(r.s().SolverStatus, kStatusContradiction) << rows[i];
    for (int d = 0; d < 4; ++d) {
      const bool target = order[d] == targets[i] && rows[i][d] == 's';
      EXPECT_EQ(r.at(nx[d], ny[d]).number == 102, target) << rows[i] << " " << order[d];
    }
  }
}

}  // namespace
}  // namespace numbloc::testing
