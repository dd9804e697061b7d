// Deduction pass, trial search, lookahead probe and automatic solve, both modes;
// trial snapshots are checked by the speed-layer comparison at the end.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>

#include "solver_board.h"

namespace numbloc::testing {
namespace {

const std::vector<std::string> kSixBySix = {
    "5 . 5 . . 5", ". 4 . . . 3", ". . . 1 . 2", "1 . 1 . . .", ". 6 . . 3 .", "1 . . 3 . 3"};
const std::vector<std::string> kSixBySixSolved = {"5* +4* 5* +5* +5* 5*", "+5* 4* +4* +5* +3* 3*",
                                                  "+5* +5* +4* 1* +3* 2*", "1* +5* 1* +6* +6* +2*",
                                                  "+6* 6* +6* +6* 3* +3*", "1* +3* +3* 3* +1* 3*"};
// A full board with a block of 7 at the top left, its mirror, and a broken copy.
const std::vector<std::string> kFullBoard = {"7 7 7 3 3 3", "2 7 7 1 2 2", "2 7 7 4 4 4",
                                             "1 3 3 3 5 4", "3 1 5 5 5 5", "3 3 4 4 4 4"};
const std::vector<std::string> kFullMirror = {"3 3 3 7 7 7", "2 2 1 7 7 2", "4 4 4 7 7 2",
                                              "4 5 3 3 3 1", "5 5 5 5 1 3", "4 4 4 4 3 3"};
const std::vector<std::string> kBrokenFull = {"7 7 7 3 3 3", "2 7 7 6 2 2", "2 7 7 4 4 4",
                                              "1 3 3 3 5 4", "3 1 5 5 5 5", "3 3 4 4 4 4"};
const std::vector<std::string> kAmbiguous = {"2 . .", ". . .", ". . 2"};

TEST(InitSolver, StartsFromTheHintsAlone) {
  Rig r({"1 +4 . . . .", "3 . . . . .", ". . +2* . . .", ". . . . . .", ". . . . . 1", ". . . . . 5"});
  r.at(2, 2).mark = 3;
  r.s().SolverStatus = kStatusGaveUp;
  r.solve().InitSolver();
  EXPECT_EQ(Picture(r.s()), Picture({"1* . . . . .", "3 . . . . .", ". . . . . .", ". . . . . .",
                                     ". . . . . 1*", ". . . . . 5"}));
  EXPECT_EQ(r.s().EmptyCount, 32);
  EXPECT_EQ(r.at(2, 2).mark, 0);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
}

TEST(RunDeductionPass, IncompleteFullBoardIsAContradictionAndNothingLeftToDecideGivesUp) {
  std::vector<std::string> hinted = EmptyRows(30, 40);
  hinted[0][0] = '4';
  hinted[39].back() = '9';
  const struct {
    std::vector<std::string> rows;
    int status, empty;
  } cases[] = {{kBrokenFull, kStatusContradiction, 0},
               {kFullBoard, kStatusGaveUp, 0},
               {EmptyRows(30, 40), kStatusGaveUp, 1200},  // the largest board is left as it is
               {hinted, kStatusGaveUp, 1198}};
  for (const auto& c : cases) {
    Rig r(c.rows);
    r.solve().InitSolver();
    r.solve().RunDeductionPass();
    EXPECT_EQ(r.s().SolverStatus, c.status) << c.rows[0];
    EXPECT_EQ(r.s().EmptyCount, c.empty) << c.rows[0];
  }
}

TEST(TrialSearch, BlockWithOneFrontierCellIsNotTrialled) {
  // Phase 1 passes over the 3 and phase 2 tries the five numbers of the limit.
  Rig r({"3 +3 .", "#* #* #*"});  // complete walls: the full-board scan passes them
  r.solve().TrialSearch();
  EXPECT_EQ(r.solve().Work.trials, 5);
  EXPECT_EQ(Picture(r.s()) + Verdict(r.s()), Picture({"3* +3* +3*", "#* #* #*"}) + "ok progress");
}

TEST(TrialSearch, CellWithoutAConsistentNumberEndsTheSearch) {
  Rig r({". 1*", "1* ."});
  r.solve().TrialSearch();
  EXPECT_EQ(r.solve().Work.trials, 4);  // (2, 2) is never tried
  // The trial of 1 overfilled the block of 1, and the variables keep it.
  EXPECT_EQ(Picture(r.s()) + Verdict(r.s()), Picture({". 1*", "1* ."}) + "contradiction progress at 1,1 (1)");
}

// Mended: the one-path walk over this block of 20 misses a branch of its frontier.
TEST(TrialSearch, ClassicBlockWalkMissesAFrontierCell) {
  const std::vector<std::string> rows = {"20 +20 . +20 .", "+20 +20 +20 +20 #", "+20 . +20 +20 ."};
  Rig classic(rows, true), mended(rows);
  classic.solve().WalkBlockFrontier(1, 1, 20);
  EXPECT_EQ(classic.solve().FrontierCount, 3);
  Solver& s = mended.solve();
  s.FloodBlockFrontier(1, 1, 20);
  std::string frontier;
  for (int i = 0; i < s.FrontierCount; ++i) {
    frontier += std::to_string(s.FrontierColumn[i]) + "," + std::to_string(s.FrontierRow[i]) + " ";
  }
  EXPECT_EQ(frontier, "2,3 3,1 5,1 5,3 ");
}

// Mended: the one-path walk sees 4 cells of a region of 9, so tries small numbers only.
TEST(TrialSearch, ClassicRegionWalkTakesALargeRegionForASmallOne) {
  const std::vector<std::string> rows = {". . . .", ". # . .", ". 3 . ."};
  Rig classic(rows, true), mended(rows), small({". . #", ". 3 #", "4* # #"});
  EXPECT_EQ(classic.solve().WalkSmallRegion(1, 1), 4);
  EXPECT_GT(mended.solve().FloodSmallRegion(1, 1), 5);
  EXPECT_EQ(small.solve().FloodSmallRegion(1, 1), 3);
  EXPECT_EQ(small.solve().MarkedNumbers[3], 1);
  EXPECT_EQ(small.solve().MarkedNumbers[4], 0);
}

// Hints 19 exceed a 10 x 10 board's bar (12); the old limit called the puzzle
// contradictory. Otherwise the limit is the bar's, and never above 40.
TEST(TrialSearch, NumbersAboveMaxNumber) {
  Rig r({". . . . . . . . . .", ". 19 8 . 8 4 . 10 3 .", ". 4 6 . 4 2 . 3 3 .", ". . . . . . . . . .",
         ". 4 6 . 4 4 . 10 8 .", ". 1 2 . 1 5 . 5 8 .", ". . . . . . . . . .", ". 2 1 . 2 8 . 8 7 .",
         ". 4 2 . 1 4 . 4 19 .", ". . . . . . . . . ."});
  EXPECT_EQ(DeriveMaxNumber(10, 10), 12);
  EXPECT_EQ(r.solve().NumberLimit(), 19);
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  EXPECT_EQ(r.s().EmptyCount, 0);

  Rig ordinary(kSixBySix);
  EXPECT_EQ(ordinary.solve().NumberLimit(), 8);
  ordinary.at(1, 1).number = 75;  // a damaged hint
  EXPECT_EQ(ordinary.solve().NumberLimit(), 40);
}

TEST(LookaheadProbe, DecidingNothingLeavesTheBoardAsItWas) {
  Rig r(kAmbiguous);
  r.solve().AutoSolve();
  ASSERT_EQ(r.s().SolverStatus, kStatusGaveUp);
  const std::string before = Picture(r.s());
  r.s().SolverStatus = kStatusOk;
  r.solve().LookaheadProbe();
  EXPECT_EQ(r.s().SolverStatus, kStatusGaveUp);
  EXPECT_EQ(Picture(r.s()), before);
}

// Verdict, work (0 rules, 1 trials, 2 trials and probe) and solved board:
// the player's earlier numbers are dropped, hints stay hints.
class AutoSolveBothModes : public ::testing::TestWithParam<bool> {};

TEST_P(AutoSolveBothModes, VerdictsWorkAndSolutions) {
  std::vector<std::string> played = kSixBySix;
  played[0] = "5 +6 5 . . 5";
  played[5] = "1 . . 3 +9 3";
  const struct {
    std::vector<std::string> rows;
    int status, work;
    std::vector<std::string> solved = {};
  } cases[] = {{played, kStatusOk, 1, kSixBySixSolved},
               {kFullBoard, kStatusOk, 0},
               {kFullMirror, kStatusOk, 0},
               {EmptyRows(6, 6), kStatusOk, 0},
               {{"2 2 2", ". . .", ". . ."}, kStatusContradiction, 0},
               {kBrokenFull, kStatusContradiction, 0},
               {kAmbiguous, kStatusGaveUp, 2},
               {{"45 . .", ". . .", ". . 2"}, kStatusContradiction, 1}};  // a hint above 40
  for (const auto& c : cases) {
    Rig r(c.rows, GetParam());
    r.solve().AutoSolve();
    EXPECT_EQ(r.s().SolverStatus, c.status) << c.rows[0];
    EXPECT_EQ((r.solve().Work.trialSearches > 0) + (r.solve().Work.lookaheadProbes > 0), c.work) << c.rows[0];
    EXPECT_FALSE(r.solve().Stopped());
    if (!c.solved.empty()) { EXPECT_EQ(Picture(r.s()), Picture(c.solved)); }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, AutoSolveBothModes, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Classic" : "Mended"; });

TEST(AutoSolve, StopFlagEndsTheTrialsAndOneNeverSetChangesNothing) {
  const std::atomic<bool> never{false}, stop{true};
  for (const auto& rows : {kSixBySix, kAmbiguous}) {
    Rig plain(rows), watched(rows, SolverOptions{.stop = &never});
    plain.solve().AutoSolve();
    watched.solve().AutoSolve();
    EXPECT_FALSE(watched.solve().Stopped());
    EXPECT_EQ(Picture(watched.s()) + Marks(watched.s()) + Verdict(watched.s()),
              Picture(plain.s()) + Marks(plain.s()) + Verdict(plain.s()));
  }
  Rig r(kAmbiguous, SolverOptions{.stop = &stop});
  r.solve().AutoSolve();
  EXPECT_TRUE(r.solve().Stopped());
  EXPECT_EQ(r.solve().Work.trials, 0);
}

TEST(DamagedValues, NumbersUpTo99ReachOnlyTheirOwnFlags) {
  Rig r({"99 . . 41 . .", ". . . . . .", ". . 75 . . .", ". . . . . .", ". . . . 255 .", ". . . . . 200"});
  r.solve().InitSolver();
  EXPECT_EQ(r.at(5, 5).number, 0);  // no hint value: dropped like a placed number
  EXPECT_EQ(r.s().EmptyCount, 33);
  r.solve().RegionFlood(2, 1);
  for (const int n : {99, 75, 41}) { EXPECT_EQ(r.solve().SeenNumbers[n], 1) << n; }
}

// 200 reduces to 0 without being empty; copied into an enclosed cell it would
// write a frame cell and walk the empty cells as a block.
TEST(DamagedValues, NumberThatReducesToZeroIsNeverWritten) {
  Rig r({"# 1* #", "# . 200", "# # #"});
  r.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.at(2, 2).number, 0);
  EXPECT_EQ(r.s().EmptyCount, 1);
}

TEST(DamagedValues, OpenedFrameIsClosedBeforeTheWalks) {
  Rig r(EmptyRows(6, 6));
  r.at(0, 3).number = 5;
  r.at(7, 2).number = r.at(4, 0).number = 0;
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  for (auto [x, y] : {std::pair{0, 3}, {7, 2}, {4, 0}}) { EXPECT_EQ(r.at(x, y).number, WALL) << x << "," << y; }

  r.s().BoardWidth = 31;  // the frame would lie outside the board array
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
}

// A fixed-seed generator for the random-board tests: the same boards every run.
struct Lcg {
  std::uint32_t seed;
  std::uint32_t operator()(std::uint32_t bound) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % bound;
  }
};

// Neither speed layers nor threads may change any result: random boards are
// solved, and run through one pass as they stand; all must match the plain run.
std::string FullState(const BoardState& s) {
  return Picture(s) + Marks(s) + std::to_string(s.SolverStatus) + " " + std::to_string(s.EmptyCount) + " " +
         std::to_string(s.ProgressMade) + " " + std::to_string(s.ConflictColumn) + " " +
         std::to_string(s.ConflictRow) + " " + std::to_string(s.ConflictNumber);
}

TEST(SpeedLayers, EachLayerAndThreadCountLeavesExactlyWhatThePlainAlgorithmLeaves) {
  Lcg next{2024};
  int trialled = 0, probed = 0, contradictions = 0, placements = 0;
  const char* kTokens[] = {".", ".", ".", ".", ".", "#", "+"};
  for (int round = 0; round < 60; ++round) {
    const int w = 5 + static_cast<int>(next(3)), h = 5 + static_cast<int>(next(3));
    std::vector<std::string> hints, worked;  // hints only; hints, placed numbers, flags and walls
    for (int y = 0; y < h; ++y) {
      std::string hintRow, workedRow;
      for (int x = 0; x < w; ++x) {
        const std::string sep = x ? " " : "";
        const bool hint = next(4) == 0;
        hintRow += sep + (hint ? std::to_string(1 + next(6)) : ".");
        std::string token = hint ? std::to_string(2 + next(7)) : kTokens[next(7)];
        if (token == "+") token += std::to_string(2 + next(7));
        if (token != "." && next(8) == 0) token += "*";
        workedRow += sep + token;
      }
      hints.push_back(hintRow);
      worked.push_back(workedRow);
    }
    std::string plainSolve, plainPass;
    for (const SolverOptions& options :
         {SolverOptions{.layers = {false, false}}, SolverOptions{.layers = {true, false}},
          SolverOptions{.layers = {false, true}}, SolverOptions{}, SolverOptions{.threads = 3}}) {
      Rig solve(hints, options), pass(worked, options);
      solve.solve().AutoSolve();
      pass.solve().RunDeductionPass();
      if (plainSolve.empty()) {
        plainSolve = FullState(solve.s());
        plainPass = FullState(pass.s());
        trialled += solve.solve().Work.trials > 0;
        probed += solve.solve().Work.lookaheadProbes > 0;
        contradictions += solve.s().SolverStatus == kStatusContradiction;
        placements += Picture(pass.s()) != Picture(worked);
        continue;
      }
      const std::string which = "round " + std::to_string(round) + ", labels " +
                                std::to_string(options.layers.areaLabels) + ", marks " +
                                std::to_string(options.layers.markTracking) + ", threads " +
                                std::to_string(options.threads);
      ASSERT_EQ(FullState(solve.s()), plainSolve) << which;
      ASSERT_EQ(FullState(pass.s()), plainPass) << which;
    }
  }
  // The boards do reach the trials, the probe, contradictions and the rules.
  EXPECT_GT(trialled, 35);
  EXPECT_GT(probed, 30);
  EXPECT_GT(contradictions, 7);
  EXPECT_GT(placements, 40);
}

}  // namespace
}  // namespace numbloc::testing
