// The complete solver on the whole shared collection: every puzzle with a
// published unique solution comes out unique and equal to it, the puzzle
// known to have several comes out several, and nothing is left undecided.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/complete/complete_solver.h"
#include "shared_puzzles.h"

namespace numbloc::test {
namespace {

// name -> the index's "solutions" column ("unique ...", "several solutions", "unknown").
std::vector<std::pair<std::string, std::string>> IndexSolutions() {
  std::vector<std::pair<std::string, std::string>> rows;
  std::ifstream in(HandDir().parent_path() / "index.tsv");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    for (std::string f; std::getline(split, f, '\t');) fields.push_back(f);
    if (fields.size() >= 7) rows.emplace_back(fields[0], fields[6]);
  }
  return rows;
}

TEST(CompleteSolverOnSharedPuzzles, DecidesEveryPuzzleAsPublished) {
  NUMBLOC_REQUIRE_SHARED();
  const auto rows = IndexSolutions();
  ASSERT_GT(rows.size(), 800u);
  std::vector<std::string> problems(rows.size());
  std::vector<int> verdicts(rows.size(), -1);
  ParallelFor(static_cast<int>(rows.size()), [&](int i) {
    const SharedPuzzle p = LoadShared(rows[i].first);
    const complete::CompleteResult r = complete::CompleteSolver().Solve(p.start);
    verdicts[i] = static_cast<int>(r.verdict);
    const complete::Puzzle puzzle = complete::PuzzleFromBoard(p.start);
    const std::string& known = rows[i].second;
    std::string& why = problems[i];
    if (r.stats.unjustified != 0) why += " a deduction without a reason;";
    if (known.rfind("unique", 0) == 0) {
      if (r.verdict != complete::Verdict::Unique) {
        why += std::string(" verdict ") + complete::VerdictKey(r.verdict) + ";";
      } else if (p.text.HasSolution()) {
        for (int x = 1; x <= p.text.width; ++x) {
          for (int y = 1; y <= p.text.height; ++y) {
            if (r.solution.number[(y - 1) * p.text.width + (x - 1)] != p.text.SolutionAt(x, y)) {
              why += " differs from the published solution;";
              x = p.text.width + 1;
              break;
            }
          }
        }
      }
    } else if (known.rfind("several", 0) == 0) {
      if (r.verdict != complete::Verdict::Several || !complete::IsSolution(puzzle, r.solution) ||
          !complete::IsSolution(puzzle, r.other) || r.differing == 0) {
        why += std::string(" verdict ") + complete::VerdictKey(r.verdict) + ";";
      }
    } else if (r.verdict == complete::Verdict::Stopped || r.verdict == complete::Verdict::Invalid) {
      why += " undecided;";
    }
  });
  int unique = 0, several = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_TRUE(problems[i].empty()) << rows[i].first << ":" << problems[i];
    unique += verdicts[i] == static_cast<int>(complete::Verdict::Unique);
    several += verdicts[i] == static_cast<int>(complete::Verdict::Several);
  }
  EXPECT_EQ(several, 1);  // h0662
  EXPECT_EQ(unique + several, static_cast<int>(rows.size()));
}

}  // namespace
}  // namespace numbloc::test
