// Shared puzzles with a known unique solution: a solved board is that solution,
// saved as the complete solve saves it; no placed number differs from it; only the
// listed ones are called contradictory. Only quick puzzles are judged (also under
// sanitizers); NUMBLOC_SOUNDNESS_LIMIT / _MAX_AREA change the run.
#include <chrono>
#include <future>
#include <set>

#include "cli/board_check.h"
#include "core/board/nbl_file.h"
#include "core/complete/complete_solver.h"
#include "shared_puzzles.h"

namespace numbloc::test {
namespace {

// Unique puzzles called contradictory because a solution block exceeds every
// number the trials try (max of MaxNumber and the largest hint).
const std::set<std::string> kKnownContradictions = {
    "h0105",  // 10 x 10: a block of 14 without a hint of 14; the trials stop at 12
};

double EnvNumber(const char* name, double fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atof(v) : fallback;
}

// Solves with a stop flag raised after `seconds`.
SolveOutcome SolveWithLimit(const BoardState& start, bool classic, double seconds) {
  std::atomic<bool> stop{false};
  std::promise<void> done;
  std::thread timer([&, finished = done.get_future()] {
    if (finished.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::timeout) stop = true;
  });
  SolveOutcome out = SolveShared(start, {.mends = Mends::For(classic), .stop = &stop});
  done.set_value();
  timer.join();
  return out;
}

// A solved board is also what the complete solve writes for that puzzle.
std::string CompareWithCompleteSolve(const BoardState& start, const BoardState& solved) {
  const complete::CompleteResult r = complete::CompleteSolver().Solve(start);
  if (r.verdict != complete::Verdict::Unique) {
    return std::string("the complete solver says ") + complete::VerdictKey(r.verdict);
  }
  BoardState written = start;
  written.MaxNumber = DeriveMaxNumber(start.BoardWidth, start.BoardHeight);
  written.LayoutPending = 0;
  complete::WriteSolution(r.solution, written);
  // Compared as saved: marks and the progress flag are scratch, not stored.
  return WriteNblBytes(written) == WriteNblBytes(solved) ? "" : "the complete solve saves another board";
}

// What is wrong with one solve's result, or "" when nothing is.
std::string Judge(const SharedPuzzle& p, const BoardState& b, bool classic) {
  const PuzzleText& t = p.text;
  const int status = b.SolverStatus;
  if (status == kStatusOk) {
    const BoardState puzzle = PuzzleToState(t);
    const CheckFinding f = CheckBoard(b, &puzzle);
    if (!f.ok()) return "reported solved but " + DescribeFinding(f);
  }
  if (status == kStatusContradiction && !classic && !kKnownContradictions.count(p.name)) return "declared contradictory";
  for (int x = 1; x <= t.width; ++x) {
    for (int y = 1; y <= t.height; ++y) {
      const int stored = p.start.Board[x][y].number, n = b.Board[x][y].number;
      if (stored < 100 && stored != t.HintAt(x, y)) return "the .nbl and .txt hints differ";
      if (n > 100 && n - 100 != t.SolutionAt(x, y) && (status == kStatusOk || (status == kStatusGaveUp && !classic))) {
        return "placed " + std::to_string(n - 100) + " at column " + std::to_string(x) + ", row " +
               std::to_string(y) + " where the solution has " + std::to_string(t.SolutionAt(x, y)) +
               (status == kStatusOk ? " (solved)" : " (gave up)");
      }
    }
  }
  return status == kStatusOk ? CompareWithCompleteSolve(p.start, b) : "";
}

void CheckSoundness(bool classic, double default_max_area) {
  NUMBLOC_REQUIRE_SHARED();
  const double limit = EnvNumber("NUMBLOC_SOUNDNESS_LIMIT", 0.05);
  const double max_area = EnvNumber("NUMBLOC_SOUNDNESS_MAX_AREA", default_max_area);
  std::vector<std::string> names;
  for (const IndexRow& row : ReadIndex()) {
    if (row.width * row.height <= max_area) names.push_back(row.name);
  }
  const int n = static_cast<int>(names.size());
  std::vector<std::string> faults(n);
  std::vector<int> verdict(n, -1);  // -1 skipped (not unique or too slow)
  ParallelFor(n, [&](int i) {
    const SharedPuzzle p = LoadShared(names[i]);
    if (!p.text.UniqueSolution()) return;
    const SolveOutcome out = SolveWithLimit(p.start, classic, limit);
    if (out.stopped) return;
    verdict[i] = out.board.SolverStatus;
    faults[i] = Judge(p, out.board, classic);
  });
  int judged = 0;
  int counts[3] = {};
  std::string report;
  for (int i = 0; i < n; ++i) {
    judged += verdict[i] >= 0;
    if (verdict[i] >= kStatusOk && verdict[i] <= kStatusGaveUp) ++counts[verdict[i]];
    if (!faults[i].empty()) report += "  " + names[i] + ": " + faults[i] + "\n";
  }
  std::printf("%s mode: judged %d of %d puzzles (solved %d, contradiction %d, gave up %d)\n",
              classic ? "classic" : "default", judged, n, counts[0], counts[1], counts[2]);
  EXPECT_GT(judged, 0) << "no puzzle finished within " << limit << " s";
  EXPECT_TRUE(report.empty()) << "unsound results:\n" << report;
}

TEST(Soundness, DefaultVerdictsAgreeWithThePublishedSolutions) { CheckSoundness(false, 225); }

TEST(Soundness, ClassicSolvedBoardsAreThePublishedSolutions) { CheckSoundness(true, 100); }

}  // namespace
}  // namespace numbloc::test
