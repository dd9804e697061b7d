// The deduction pass, the snapshots, the trial search, the lookahead probe and
// the automatic solve, in both modes where the outcome must not differ.
#include <gtest/gtest.h>

#include <atomic>

#include "solver_board.h"

namespace numbloc::testing {
namespace {

const std::vector<std::string> kSixBySix = {
    "5 . 5 . . 5", ". 4 . . . 3", ". . . 1 . 2", "1 . 1 . . .", ". 6 . . 3 .", "1 . . 3 . 3"};
const std::vector<std::string> kSixBySixSolution = {
    "5 4 5 5 5 5", "5 4 4 5 3 3", "5 5 4 1 3 2", "1 5 1 6 6 2", "6 6 6 6 3 3", "1 3 3 3 1 3"};

// A fully given board whose block of 7 occupies (1,1) (2,1) (3,1) (2,2) (3,2)
// (2,3) (3,3), and its mirror image.
const std::vector<std::string> kFullBoard = {"7 7 7 3 3 3", "2 7 7 1 2 2", "2 7 7 4 4 4",
                                             "1 3 3 3 5 4", "3 1 5 5 5 5", "3 3 4 4 4 4"};
const std::vector<std::string> kFullMirror = {"3 3 3 7 7 7", "2 2 1 7 7 2", "4 4 4 7 7 2",
                                              "4 5 3 3 3 1", "5 5 5 5 1 3", "4 4 4 4 3 3"};

// The numbers of the board, placed or given, without flags.
std::string Numbers(const BoardState& state) {
  std::string out;
  for (int y = 1; y <= state.BoardHeight; ++y) {
    for (int x = 1; x <= state.BoardWidth; ++x) {
      out += (x > 1 ? " " : "") + std::to_string(Reduced(state.Board[x][y].number));
    }
    out += "\n";
  }
  return out;
}

std::string Numbers(const std::vector<std::string>& rows) { return Numbers(*MakeBoard(rows)); }

// ---------------------------------------------------------------- setup, pass, snapshots

TEST(InitSolver, StartsFromTheHintsAlone) {
  Rig r({"1 +4 . . . .", "3 . . . . .", ". . +2* . . .", ". . . . . .", ". . . . . 1", ". . . . . 5"});
  r.at(2, 2).mark = 3;
  r.solve().InitSolver();
  EXPECT_EQ(Picture(r.s()), Picture({"1* . . . . .", "3 . . . . .", ". . . . . .", ". . . . . .",
                                     ". . . . . 1*", ". . . . . 5"}));
  EXPECT_EQ(r.s().EmptyCount, 32);
  EXPECT_EQ(r.at(2, 2).mark, 0);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
}

TEST(RunDeductionPass, ReturnsAtOnceOnAContradiction) {
  Rig r(kSixBySix);
  r.solve().InitSolver();
  const std::string before = Picture(r.s());
  r.s().SolverStatus = kStatusContradiction;
  r.solve().RunDeductionPass();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(Picture(r.s()), before);
  EXPECT_EQ(r.solve().Work.sweeps, 0);
}

TEST(RunDeductionPass, FullBoardWithAnIncompleteCellIsAContradiction) {
  std::vector<std::string> rows = kFullBoard;
  rows[1] = "2 7 7 6 2 2";  // a block of 6 that holds one cell
  Rig r(rows);
  r.solve().InitSolver();
  r.solve().RunDeductionPass();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);

  Rig whole(kFullBoard);
  whole.solve().InitSolver();
  whole.solve().RunDeductionPass();
  EXPECT_EQ(whole.s().SolverStatus, kStatusGaveUp);
}

TEST(Snapshots, RestoresBringBackTheBoardAndEmptyCountAndResetTheStatus) {
  Rig r(kSixBySix);
  r.solve().InitSolver();
  r.solve().SaveTrialSnapshot();
  r.solve().SaveProbeSnapshot();
  const std::string before = Picture(r.s());
  const int empty = r.s().EmptyCount;

  r.solve().SetCell(2, 1, 4);
  r.solve().RunDeductionPass();
  EXPECT_LT(r.s().EmptyCount, empty);
  r.solve().RestoreTrialSnapshot();
  EXPECT_EQ(Picture(r.s()), before);
  EXPECT_EQ(r.s().EmptyCount, empty);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);

  r.solve().SetCell(2, 1, 1);
  r.s().SolverStatus = kStatusContradiction;
  r.at(1, 2).mark = 3;
  r.solve().RestoreProbeSnapshot();
  EXPECT_EQ(Picture(r.s()), before);
  EXPECT_EQ(r.s().EmptyCount, empty);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  EXPECT_EQ(r.at(1, 2).mark, 3);  // the probe slot holds no marks
}

TEST(DeductionPass, LargestEmptyBoardIsLeftAsItIs) {
  std::vector<std::string> rows(40, std::string("."));
  for (std::string& row : rows) {
    for (int x = 1; x < 30; ++x) row += " .";
  }
  Rig r(rows);
  r.solve().InitSolver();
  r.solve().RunDeductionPass();
  EXPECT_EQ(r.s().SolverStatus, kStatusGaveUp);
  EXPECT_EQ(r.s().EmptyCount, 1200);

  rows[0][0] = '4';
  rows[39].back() = '9';
  Rig hinted(rows);
  hinted.solve().InitSolver();
  hinted.solve().RunDeductionPass();
  EXPECT_EQ(hinted.s().SolverStatus, kStatusGaveUp);
  EXPECT_EQ(hinted.s().EmptyCount, 1198);
}

// ---------------------------------------------------------------- trial search

TEST(TrialSearch, BlockWithOneFrontierCellIsNotTrialled) {
  // Phase 1 passes over the 3 and phase 2 tries the five numbers of the limit.
  Rig r({"3 +3 .", "#* #* #*"});  // complete walls: the full-board scan passes them
  r.solve().TrialSearch();
  EXPECT_EQ(r.solve().Work.trials, 5);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  EXPECT_EQ(r.at(3, 1).number, 103);
}

TEST(TrialSearch, CellWithoutAConsistentNumberEndsTheSearch) {
  Rig r({". 1*", "1* ."});
  r.s().EmptyCount = 2;
  r.solve().TrialSearch();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.solve().Work.trials, 4);  // (2, 2) is never tried
  EXPECT_EQ(Picture(r.s()), Picture({". 1*", "1* ."}));
  // The trial of 1 overfilled the block of 1, and the variables keep it.
  EXPECT_EQ(r.s().ConflictColumn, 1);
  EXPECT_EQ(r.s().ConflictRow, 1);
  EXPECT_EQ(r.s().ConflictNumber, 1);
}

// Mended: the one-path walk over this block of 20 misses a branch and lists only
// part of the cells through which it can grow.
TEST(TrialSearch, ClassicBlockWalkMissesAFrontierCell) {
  const std::vector<std::string> rows = {"20 +20 . +20 .", "+20 +20 +20 +20 #", "+20 . +20 +20 ."};
  Rig classic(rows, true);
  classic.solve().WalkBlockFrontier(1, 1, 20);
  EXPECT_EQ(classic.solve().FrontierCount, 3);

  Rig mended(rows);
  mended.solve().FloodBlockFrontier(1, 1, 20);
  ASSERT_EQ(mended.solve().FrontierCount, 4);
  const int xs[4] = {2, 3, 5, 5}, ys[4] = {3, 1, 1, 3};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(mended.solve().FrontierColumn[i], xs[i]);
    EXPECT_EQ(mended.solve().FrontierRow[i], ys[i]);
  }
}

// Mended: the one-path walk finishes 4 cells of a region of 9 and would try that
// cell with the numbers of a small region only.
TEST(TrialSearch, ClassicRegionWalkTakesALargeRegionForASmallOne) {
  const std::vector<std::string> rows = {". . . .", ". # . .", ". 3 . ."};
  Rig classic(rows, true);
  EXPECT_EQ(classic.solve().WalkSmallRegion(1, 1), 4);
  Rig mended(rows);
  EXPECT_GT(mended.solve().FloodSmallRegion(1, 1), 5);

  Rig small({". . #", ". 3 #", "4* # #"});
  EXPECT_EQ(small.solve().FloodSmallRegion(1, 1), 3);
  EXPECT_EQ(small.solve().MarkedNumbers[3], 1);
  EXPECT_EQ(small.solve().MarkedNumbers[4], 0);
}

// The hints 19 lie above the number bar of a 10 x 10 board (12); the old
// limit found no number for a cell of their block and declared the puzzle
// contradictory.
TEST(TrialSearch, NumbersAboveMaxNumber) {
  const std::vector<std::string> rows = {
      ". . . . . . . . . .",  ". 19 8 . 8 4 . 10 3 .", ". 4 6 . 4 2 . 3 3 .", ". . . . . . . . . .",
      ". 4 6 . 4 4 . 10 8 .", ". 1 2 . 1 5 . 5 8 .",   ". . . . . . . . . .", ". 2 1 . 2 8 . 8 7 .",
      ". 4 2 . 1 4 . 4 19 .", ". . . . . . . . . ."};
  const std::vector<std::string> solution = {
      "8 8 8 8 8 8 4 10 10 10", "19 19 8 6 8 4 4 10 3 10", "19 4 6 6 4 2 4 3 3 10",
      "19 4 4 6 4 2 5 10 10 10", "19 4 6 6 4 4 5 10 8 7",  "19 1 2 2 1 5 5 5 8 7",
      "19 19 19 19 2 8 8 8 8 7", "2 2 1 19 2 8 4 8 7 7",   "4 4 2 19 1 4 4 4 19 7",
      "4 4 2 19 19 19 19 19 19 7"};
  Rig r(rows);
  EXPECT_EQ(DeriveMaxNumber(10, 10), 12);
  EXPECT_EQ(r.solve().NumberLimit(), 19);
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  EXPECT_EQ(Numbers(r.s()), Numbers(solution));
}

TEST(TrialSearch, LimitStaysAtTheNumberBarForOrdinaryHintsAndNeverExceeds40) {
  Rig r(kSixBySix);
  EXPECT_EQ(r.solve().NumberLimit(), 8);
  r.at(1, 1).number = 75;  // a damaged hint
  EXPECT_EQ(r.solve().NumberLimit(), 40);
}

// ---------------------------------------------------------------- lookahead and automatic solve

const std::vector<std::string> kAmbiguous = {"2 . .", ". . .", ". . 2"};

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

class AutoSolveBothModes : public ::testing::TestWithParam<bool> {};

TEST_P(AutoSolveBothModes, SolvesASmallPuzzleAndDropsThePlayersNumbers) {
  std::vector<std::string> rows = kSixBySix;
  rows[0] = "5 +6 5 . . 5";
  rows[5] = "1 . . 3 +9 3";
  Rig r(rows, GetParam());
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);
  EXPECT_EQ(Numbers(r.s()), Numbers(kSixBySixSolution));
  EXPECT_EQ(r.at(1, 1).number, 5);    // hints stay hints
  EXPECT_EQ(r.at(2, 1).number, 104);  // placed by the solver
  EXPECT_FALSE(r.solve().Stopped());
}

TEST_P(AutoSolveBothModes, RulesAloneNeverCallTheTrialSearch) {
  for (const auto& rows : {kFullBoard, kFullMirror, std::vector<std::string>(6, ". . . . . .")}) {
    Rig r(rows, GetParam());
    r.solve().AutoSolve();
    EXPECT_EQ(r.s().SolverStatus, kStatusOk);
    EXPECT_EQ(r.solve().Work.trialSearches, 0);
  }
}

TEST_P(AutoSolveBothModes, ContradictionInTheFirstSweepNeedsNoTrial) {
  Rig r({"2 2 2 . . .", ". . . . . .", ". . . . . .", ". . . . . .", ". . . . . .", ". . . . . ."},
        GetParam());
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.solve().Work.trialSearches, 0);

  std::vector<std::string> rows = kFullBoard;
  rows[1] = "2 7 7 6 2 2";
  Rig full(rows, GetParam());
  full.solve().AutoSolve();
  EXPECT_EQ(full.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(full.solve().Work.trialSearches, 0);
}

TEST_P(AutoSolveBothModes, AmbiguousPuzzleIsGivenUp) {
  Rig r(kAmbiguous, GetParam());
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusGaveUp);
  EXPECT_GE(r.solve().Work.trialSearches, 1);
  EXPECT_GE(r.solve().Work.lookaheadProbes, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, AutoSolveBothModes, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Classic" : "Mended"; });

TEST(AutoSolve, StopFlagThatIsNeverSetChangesNothing) {
  std::atomic<bool> stop{false};
  for (const auto& rows : {kSixBySix, kAmbiguous}) {
    Rig plain(rows);
    plain.solve().AutoSolve();
    auto state = MakeBoard(rows);
    Solver watched(*state, SolverOptions{.stop = &stop});
    watched.AutoSolve();
    EXPECT_FALSE(watched.Stopped());
    EXPECT_EQ(Picture(*state), Picture(plain.s()));
    EXPECT_EQ(Marks(*state), Marks(plain.s()));
    EXPECT_EQ(state->SolverStatus, plain.s().SolverStatus);
    EXPECT_EQ(state->ConflictColumn, plain.s().ConflictColumn);
  }
}

TEST(AutoSolve, StopFlagEndsTheTrials) {
  std::atomic<bool> stop{true};
  auto state = MakeBoard(kAmbiguous);
  auto solver = std::make_unique<Solver>(*state, SolverOptions{.stop = &stop});
  solver->AutoSolve();
  EXPECT_TRUE(solver->Stopped());
  EXPECT_EQ(solver->Work.trials, 0);
}

}  // namespace
}  // namespace numbloc::testing

namespace numbloc::testing {
namespace {

// ---------------------------------------------------------------- damaged boards

TEST(DamagedValues, NumbersUpTo99ReachOnlyTheirOwnFlags) {
  Rig r({"99 . . 41 . .", ". . . . . .", ". . 75 . . .", ". . . . . .", ". . . . 255 .", ". . . . . 200"});
  r.solve().InitSolver();
  EXPECT_EQ(r.at(5, 5).number, 0);  // no hint value: dropped like a placed number
  EXPECT_EQ(r.s().EmptyCount, 33);
  r.solve().RegionFlood(2, 1);
  EXPECT_EQ(r.solve().SeenNumbers[99], 1);
  EXPECT_EQ(r.solve().SeenNumbers[75], 1);
  EXPECT_EQ(r.solve().SeenNumbers[41], 1);

  Rig small({"45 . .", ". . .", ". . 2"});
  small.solve().AutoSolve();
  EXPECT_GE(small.s().SolverStatus, kStatusOk);
  EXPECT_LE(small.s().SolverStatus, kStatusGaveUp);
  EXPECT_GT(small.solve().Work.trials, 0);
}

// A value such as 200 reduces to 0 without being empty; copying it into an
// enclosed cell would write a frame cell and walk the empty cells as a block.
TEST(DamagedValues, NumberThatReducesToZeroIsNeverWritten) {
  Rig r({"# 1* #", "# . 200", "# # #"});
  r.s().EmptyCount = 1;
  r.solve().FillEnclosedSinglesAndPairs();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
  EXPECT_EQ(r.at(2, 2).number, 0);
  EXPECT_EQ(r.s().EmptyCount, 1);
}

TEST(DamagedValues, OpenedFrameIsClosedBeforeTheWalks) {
  Rig r(std::vector<std::string>(6, ". . . . . ."));
  r.at(0, 3).number = 5;
  r.at(7, 2).number = 0;
  r.at(4, 0).number = 0;
  r.solve().AutoSolve();
  EXPECT_EQ(r.at(0, 3).number, WALL);
  EXPECT_EQ(r.at(7, 2).number, WALL);
  EXPECT_EQ(r.at(4, 0).number, WALL);
  EXPECT_EQ(r.s().SolverStatus, kStatusOk);

  r.s().BoardWidth = 31;  // the frame would lie outside the board array
  r.solve().AutoSolve();
  EXPECT_EQ(r.s().SolverStatus, kStatusContradiction);
}

}  // namespace
}  // namespace numbloc::testing

namespace numbloc::testing {
namespace {

// Neither the speed layers nor the worker threads may change any result.
// Each random board is solved (trials and probe included) and run through
// one deduction pass as it stands, placed numbers and complete flags
// included, with each layer on and off and on several threads; everything
// the solver leaves must match the plain run, marks too.
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
