// New puzzles: unique, solved by the board they came from, as easy as asked,
// the same for the same seed; and FindAnother, which the generator trusts,
// against the brute-force count.
#include <atomic>
#include <memory>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "complete/brute_force.h"
#include "core/board/nbl_file.h"
#include "core/complete/generator.h"
#include "core/solver/solver.h"

namespace numbloc::complete {
namespace {

// Removing hints from a puzzle with one known solution: does another
// solution appear, and does it differ in the cells given up?
TEST(FindAnother, AgreesWithBruteForceWhenHintsAreGivenUp) {
  std::mt19937 rng(7);
  CompleteSolver solver;
  int several = 0, decided = 0;
  for (int round = 0; round < 200; ++round) {
    const int w = 3 + static_cast<int>(rng() % 2), h = 3 + static_cast<int>(rng() % 2), cells = w * h;
    test::BruteForce maker(w, h, std::vector<int>(cells, 0));
    maker.Shuffle(&rng);
    ASSERT_EQ(maker.Count(1), 1);
    Filling known;
    Puzzle puzzle{.width = w, .height = h};
    std::vector<int> hints(cells);
    for (int i = 0; i < cells; ++i) {
      known.number[i] = static_cast<std::uint8_t>(maker.Found()[0][i]);
      hints[i] = rng() % 100 < 55 ? maker.Found()[0][i] : 0;
    }
    const int given[2] = {static_cast<int>(rng() % cells), static_cast<int>(rng() % cells)};
    for (const int c : given) hints[c] = 0;
    for (int i = 0; i < cells; ++i) puzzle.hint[i] = static_cast<std::uint8_t>(hints[i]);
    // Some solution differs in a given cell iff fixing those cells leaves fewer.
    std::vector<int> fixed = hints;
    for (const int c : given) fixed[c] = known.number[c];
    const int kLimit = 2000;
    const int loose = test::BruteForce(w, h, hints).Count(kLimit);
    if (loose == kLimit) continue;  // too many to count
    const bool differs = loose != test::BruteForce(w, h, fixed).Count(kLimit);
    const CompleteResult r = solver.FindAnother(puzzle, known, given, 2);
    SCOPED_TRACE("round " + std::to_string(round));
    ++decided;
    ASSERT_EQ(r.verdict, differs ? Verdict::Several : Verdict::Unique);
    if (differs) {
      ++several;
      EXPECT_TRUE(IsSolution(puzzle, r.other));
      EXPECT_TRUE(r.other.number[given[0]] != known.number[given[0]] ||
                  r.other.number[given[1]] != known.number[given[1]]);
    }
  }
  EXPECT_GT(several, 20);
  EXPECT_GT(decided - several, 20);
}

struct Sample {
  int width, height, maxNumber;
  Difficulty difficulty;
  bool symmetric;
};

class Generated : public testing::TestWithParam<Sample> {};

TEST_P(Generated, IsUniqueSolvedByItsSourceAndAsEasyAsAsked) {
  const Sample s = GetParam();
  GenerateOptions options{.width = s.width, .height = s.height, .maxNumber = s.maxNumber,
                          .difficulty = s.difficulty, .symmetric = s.symmetric, .seed = 11};
  for (int index = 1; index <= 2; ++index) {
    options.index = index;
    SCOPED_TRACE("index " + std::to_string(index));
    const GenerateResult made = Generate(options);
    ASSERT_EQ(made.status, GenerateStatus::Made) << made.reason;
    EXPECT_EQ(made.puzzle.Mode, Creation);
    const int w = s.width, h = s.height;
    int hints = 0, largest = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int n = made.puzzle.Board[x + 1][y + 1].number, truth = made.solution.number[y * w + x];
        largest = std::max(largest, truth);
        hints += n != 0;
        if (n != 0) {
          EXPECT_EQ(n, truth) << x << "," << y;
        }
        if (s.symmetric) {
          EXPECT_EQ(n != 0, made.puzzle.Board[w - x][h - y].number != 0) << x << "," << y;
        }
      }
    }
    EXPECT_EQ(hints, made.hints);
    EXPECT_LE(largest, s.maxNumber);
    EXPECT_LT(hints, w * h * 3 / 4);

    const CompleteResult r = CompleteSolver().Solve(made.puzzle);
    ASSERT_EQ(r.verdict, Verdict::Unique);
    for (int c = 0; c < w * h; ++c) ASSERT_EQ(r.solution.number[c], made.solution.number[c]) << c;

    if (s.difficulty != Difficulty::Any) {
      auto state = std::make_unique<BoardState>(made.puzzle);
      Solver::Counters work;
      ASSERT_TRUE(SolveLikeTheButton(*state, {}, &work));
      EXPECT_EQ(state->SolverStatus, kStatusOk);
      EXPECT_EQ(state->EmptyCount, 0);
      if (s.difficulty == Difficulty::Rules) {
        EXPECT_EQ(work.trials, 0);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Generated,
                         testing::Values(Sample{10, 10, 9, Difficulty::Rules, true},
                                         Sample{12, 8, 5, Difficulty::Trials, false},
                                         Sample{9, 15, 12, Difficulty::Any, true},
                                         Sample{16, 16, 9, Difficulty::Rules, false}));

TEST(Generate, TheSameSeedGivesTheSameBytesAndAnotherIndexAnotherPuzzle) {
  GenerateOptions options{.width = 12, .height = 10, .seed = 2026, .index = 3};
  const std::vector<std::uint8_t> first = WriteNblBytes(Generate(options).puzzle);
  EXPECT_EQ(WriteNblBytes(Generate(options).puzzle), first);
  options.index = 4;
  EXPECT_NE(WriteNblBytes(Generate(options).puzzle), first);
}

// Invalid options are covered by the command line's usage table.
TEST(Generate, SaysWhyItMadeNothing) {
  GenerateOptions options;
  std::atomic<bool> stop{true};
  options.stop = &stop;
  EXPECT_EQ(Generate(options).status, GenerateStatus::Stopped);
  options.stop = nullptr;
  options.width = options.height = 30;
  options.timeBudgetSeconds = 1e-6;
  EXPECT_EQ(Generate(options).status, GenerateStatus::OutOfTime);
}

}  // namespace
}  // namespace numbloc::complete
