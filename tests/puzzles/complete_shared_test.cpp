// The complete solver on the whole shared collection: every puzzle with a
// published unique solution comes out unique and equal to it, the puzzle
// known to have several comes out several, and nothing is left undecided.
#include <gtest/gtest.h>

#include "core/complete/complete_solver.h"
#include "shared_puzzles.h"

namespace numbloc::test {
namespace {

TEST(CompleteSolverOnSharedPuzzles, DecidesEveryPuzzleAsPublished) {
  NUMBLOC_REQUIRE_SHARED();
  const std::vector<IndexRow> rows = ReadIndex();
  ASSERT_GT(rows.size(), 800u);
  std::vector<std::string> problems(rows.size());
  std::vector<complete::Verdict> verdicts(rows.size(), complete::Verdict::Invalid);
  ParallelFor(static_cast<int>(rows.size()), [&](int i) {
    const SharedPuzzle p = LoadShared(rows[i].name);
    const complete::CompleteResult r = complete::CompleteSolver().Solve(p.start);
    const complete::Puzzle puzzle = complete::PuzzleFromBoard(p.start);
    const std::string& known = rows[i].solutions;
    const complete::Verdict expected = known.rfind("unique", 0) == 0    ? complete::Verdict::Unique
                                       : known.rfind("several", 0) == 0 ? complete::Verdict::Several
                                                                        : r.verdict;  // "unknown": any decision
    verdicts[i] = r.verdict;
    std::string& why = problems[i];
    if (r.stats.unjustified != 0) why += " a deduction without a reason;";
    if (r.verdict != expected || r.verdict == complete::Verdict::Stopped || r.verdict == complete::Verdict::Invalid) {
      why += std::string(" verdict ") + complete::VerdictKey(r.verdict) + ";";
    } else if (r.verdict == complete::Verdict::Several &&
               (!complete::IsSolution(puzzle, r.solution) || !complete::IsSolution(puzzle, r.other) || r.differing == 0)) {
      why += " the two solutions are not two different solutions;";
    } else if (r.verdict == complete::Verdict::Unique && p.text.HasSolution()) {
      for (int x = 1; x <= p.text.width; ++x) {
        for (int y = 1; y <= p.text.height; ++y) {
          if (r.solution.number[(y - 1) * p.text.width + (x - 1)] != p.text.SolutionAt(x, y)) {
            why += " differs from the published solution at " + std::to_string(x) + "," + std::to_string(y) + ";";
          }
        }
      }
    }
  });
  int unique = 0, several = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_TRUE(problems[i].empty()) << rows[i].name << ":" << problems[i];
    unique += verdicts[i] == complete::Verdict::Unique;
    several += verdicts[i] == complete::Verdict::Several;
  }
  EXPECT_EQ(several, 1);  // h0662
  EXPECT_EQ(unique + several, static_cast<int>(rows.size()));
}

}  // namespace
}  // namespace numbloc::test
