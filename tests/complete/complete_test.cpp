// The complete solver against a brute-force count on hundreds of tiny puzzles,
// and on easy-to-get-wrong inputs: no hints, damaged values, the stop flag.
#include <atomic>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/board_picture.h"
#include "complete/brute_force.h"
#include "core/complete/complete_solver.h"

namespace numbloc::complete {
namespace {

using test::BruteForce;

Puzzle FromPicture(const std::vector<std::string>& rows) {
  BoardState state;
  testing::FillFromPicture(state, rows);
  return PuzzleFromBoard(state);
}

std::vector<int> Numbers(const Filling& f, int cells) {
  return std::vector<int>(f.number, f.number + cells);
}

TEST(CompleteSolver, AgreesWithBruteForceOnRandomTinyPuzzles) {
  std::mt19937 rng(20261206);
  CompleteSolver solver;
  int seen[3] = {};  // puzzles with no, one and several solutions
  for (int round = 0; round < 450; ++round) {
    const int w = 3 + static_cast<int>(rng() % 2), h = 3 + static_cast<int>(rng() % 3);
    const int cells = w * h;
    // Hints from a random solution (dense: often unique; sparse: often several),
    // plus, for a third, random hints on top (often no solution).
    BruteForce maker(w, h, std::vector<int>(cells, 0));
    maker.Shuffle(&rng);
    ASSERT_EQ(maker.Count(1), 1);
    const std::vector<int> source = maker.Found()[0];
    const int kind = round % 3;
    const unsigned keep = kind == 0 ? 60 : kind == 1 ? 30 : 45;
    Puzzle puzzle{.width = w, .height = h};
    std::vector<int> hints(cells, 0);
    for (int i = 0; i < cells; ++i) {
      if (rng() % 100 < keep) hints[i] = source[i];
      if (kind == 2 && rng() % 100 < 15) hints[i] = 1 + static_cast<int>(rng() % 5);
      puzzle.hint[i] = static_cast<std::uint8_t>(hints[i]);
    }

    BruteForce reference(w, h, hints);
    const int count = reference.Count(2);
    const CompleteResult r = solver.Solve(puzzle);
    SCOPED_TRACE("round " + std::to_string(round));
    ++seen[count];
    ASSERT_EQ(r.stats.unjustified, 0);
    if (count == 0) {
      EXPECT_EQ(r.verdict, Verdict::None);
    } else if (count == 1) {
      ASSERT_EQ(r.verdict, Verdict::Unique);
      EXPECT_EQ(Numbers(r.solution, cells), reference.Found()[0]);
    } else {
      ASSERT_EQ(r.verdict, Verdict::Several);
      const std::vector<int> a = Numbers(r.solution, cells), b = Numbers(r.other, cells);
      EXPECT_TRUE(IsSolution(puzzle, r.solution));
      EXPECT_TRUE(IsSolution(puzzle, r.other));
      int differ = 0, first = -1;
      for (int i = 0; i < cells; ++i) {
        if (a[i] != b[i] && differ++ == 0) first = i;
      }
      EXPECT_GT(differ, 0);
      EXPECT_EQ(r.differing, differ);
      EXPECT_EQ(r.firstDiffering, first);
    }
  }
  // Each answer came up often enough for the agreement to mean something.
  EXPECT_GE(seen[0], 40);
  EXPECT_GE(seen[1], 40);
  EXPECT_GE(seen[2], 40);
}

TEST(CompleteSolver, BoardsWithoutHints) {
  CompleteSolver solver;
  const Puzzle one{.width = 1, .height = 1};
  const CompleteResult single = solver.Solve(one);
  ASSERT_EQ(single.verdict, Verdict::Unique);
  EXPECT_EQ(single.solution.number[0], 1);

  // A 2 x 2 board fills as one block of 4, two blocks of 2 (two ways), ...
  const Puzzle square{.width = 2, .height = 2};
  EXPECT_EQ(solver.Solve(square).verdict, Verdict::Several);

  const Puzzle wide{.width = 30, .height = 40};
  const CompleteResult r = solver.Solve(wide);
  ASSERT_EQ(r.verdict, Verdict::Several);
  EXPECT_TRUE(IsSolution(wide, r.solution));
  EXPECT_TRUE(IsSolution(wide, r.other));
}

TEST(CompleteSolver, DamagedValuesAreRefusedOrIgnored) {
  CompleteSolver solver;
  BoardState state;
  testing::FillFromPicture(state, {"4 3 .", ". 3 .", ". 4 .", ". 2 2"});
  const CompleteResult plain = solver.Solve(state);
  ASSERT_EQ(plain.verdict, Verdict::Unique);

  // Placed numbers, a frame byte and an out-of-range byte are not hints.
  BoardState noisy = state;
  noisy.Board[3][1].number = 107;
  noisy.Board[1][2].number = WALL;
  noisy.Board[1][3].number = 250;
  noisy.Board[3][3].complete = 1;
  noisy.Board[3][3].mark = 3;
  const CompleteResult same = solver.Solve(noisy);
  ASSERT_EQ(same.verdict, Verdict::Unique);
  EXPECT_EQ(Numbers(same.solution, 12), Numbers(plain.solution, 12));

  // A hint no cell can hold.
  BoardState big = state;
  big.Board[3][1].number = 55;
  EXPECT_EQ(solver.Solve(big).verdict, Verdict::None);

  // Sizes the board cannot have.
  for (const auto& [w, h] : {std::pair{0, 5}, {5, 0}, {31, 6}, {6, 41}, {255, 255}}) {
    BoardState odd = state;
    odd.BoardWidth = static_cast<std::uint8_t>(w);
    odd.BoardHeight = static_cast<std::uint8_t>(h);
    EXPECT_EQ(solver.Solve(odd).verdict, Verdict::Invalid) << w << " x " << h;
  }
}

TEST(CompleteSolver, StopFlagAndTimeBudgetEndTheSearch) {
  const Puzzle empty{.width = 12, .height = 12};
  std::atomic<bool> stop{true};
  const CompleteOptions flagged{.stop = &stop};
  EXPECT_EQ(CompleteSolver(flagged).Solve(empty).verdict, Verdict::Stopped);
  stop = false;
  EXPECT_EQ(CompleteSolver(flagged).Solve(empty).verdict, Verdict::Several);

  EXPECT_EQ(CompleteSolver({.timeBudgetSeconds = 1e-9}).Solve(empty).verdict, Verdict::Stopped);

  // Reasoning alone needs no search, so there is nothing to stop.
  stop = true;
  EXPECT_EQ(CompleteSolver(flagged).Solve(FromPicture({"1 2 2"})).verdict, Verdict::Unique);
}

TEST(WriteSolution, LeavesTheBoardAsASolvedAutomaticSolve) {
  BoardState state;
  testing::FillFromPicture(state, {"4 3 .", ". 3 .", ". 4 .", ". +2 2"});
  state.Board[1][2].mark = 2;
  state.SolverStatus = kStatusGaveUp;
  const CompleteResult r = CompleteSolver().Solve(state);
  ASSERT_EQ(r.verdict, Verdict::Unique);
  WriteSolution(r.solution, state);
  EXPECT_EQ(state.Board[1][1].number, 4);    // a hint stays a hint
  EXPECT_EQ(state.Board[3][1].number, 101);  // a filled cell holds n + 100
  EXPECT_EQ(state.Board[2][4].number, 102);  // so does a player's number
  EXPECT_EQ(state.Board[0][2].number, WALL);
  for (int x = 1; x <= 3; ++x) {
    for (int y = 1; y <= 4; ++y) {
      EXPECT_EQ(state.Board[x][y].complete, 1);
      EXPECT_EQ(state.Board[x][y].mark, 0);
    }
  }
  EXPECT_EQ(state.Mode, SolveAuto);
  EXPECT_EQ(state.SolverStatus, kStatusOk);
  EXPECT_EQ(state.EmptyCount, 0);
}

}  // namespace
}  // namespace numbloc::complete
