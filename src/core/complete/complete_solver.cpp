// Deciding a puzzle: reasoning alone first, which settles many hand-made
// puzzles in microseconds; the clause-learning search only for what is left,
// once for a solution and once more for a second one.
#include "core/complete/complete_solver.h"

#include <chrono>

namespace numbloc::complete {

const char* VerdictKey(Verdict verdict) {
  switch (verdict) {
    case Verdict::None: return "none";
    case Verdict::Unique: return "unique";
    case Verdict::Several: return "several";
    case Verdict::Stopped: return "stopped";
    case Verdict::Invalid: return "invalid";
  }
  return "invalid";
}

CompleteSolver::CompleteSolver(CompleteOptions options)
    : options_(options), geometry_(std::make_unique<Geometry>()) {}

CompleteSolver::~CompleteSolver() = default;

namespace {

Filling ReadFilling(const RegionPropagator& prop) {
  Filling f;
  for (int c = 0; c < prop.Grid().cells; ++c) f.number[c] = static_cast<std::uint8_t>(prop.Lo(c));
  return f;
}

}  // namespace

StopRule CompleteSolver::MakeStopRule() const {
  StopRule stop;
  stop.flag = options_.stop;
  stop.progress = options_.progress;
  stop.maxConflicts = options_.conflictBudget;
  if (options_.timeBudgetSeconds > 0) {
    stop.hasDeadline = true;
    stop.deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(options_.timeBudgetSeconds));
  }
  return stop;
}

bool CompleteSolver::Start(const Puzzle& puzzle, const Fact* extra) {
  prop_.Reset(*geometry_);
  for (int c = 0; c < geometry_->cells; ++c) {
    const int h = puzzle.hint[c];
    if (h == 0) continue;
    if (h > kLargest || !prop_.Give(AtLeast(c, h)) || !prop_.Give(AtMost(c, h))) return false;
  }
  if (extra && !prop_.Give(*extra)) return false;
  prop_.MarkAllDirty();
  return prop_.Settle();
}

namespace {
bool ValidSize(const Puzzle& puzzle) {
  return puzzle.width >= 1 && puzzle.width <= kMaxWidth && puzzle.height >= 1 && puzzle.height <= kMaxHeight;
}
}  // namespace

CompleteResult CompleteSolver::Solve(const Puzzle& puzzle) {
  CompleteResult result;
  result.width = puzzle.width;
  result.height = puzzle.height;
  if (!ValidSize(puzzle)) return result;
  const StopRule stop = MakeStopRule();
  geometry_->Build(puzzle.width, puzzle.height);
  result.verdict = Verdict::None;
  if (!Start(puzzle)) return result;
  if (prop_.Decided()) {
    // Every deduction so far holds in every solution, so a filling they
    // decide completely is the only one there can be.
    result.solution = ReadFilling(prop_);
    if (IsSolution(puzzle, result.solution)) {
      result.verdict = Verdict::Unique;
      return result;
    }
  }
  result.searched = true;
  Search(result, puzzle, stop);
  return result;
}

bool CompleteSolver::Search(CompleteResult& result, const Puzzle& puzzle, const StopRule& stop) {
  BlockSearch search(prop_);
  int found = 0;
  for (;;) {
    const BlockSearch::Outcome outcome = search.Next(stop);
    result.stats = search.Stats();
    if (outcome == BlockSearch::Outcome::Stopped) {
      result.verdict = Verdict::Stopped;
      return false;
    }
    if (outcome == BlockSearch::Outcome::Exhausted) {
      result.verdict = found == 0 ? Verdict::None : Verdict::Unique;
      return true;
    }
    const Filling filling = ReadFilling(prop_);
    search.ExcludeFound();
    // The search's rules make every assignment it returns a solution; a
    // filling that fails the independent check is only ruled out.
    if (!IsSolution(puzzle, filling)) continue;
    if (found == 0) {
      result.solution = filling;
      found = 1;
      continue;
    }
    result.other = filling;
    result.verdict = Verdict::Several;
    for (int c = 0; c < puzzle.Cells(); ++c) {
      if (result.solution.number[c] == filling.number[c]) continue;
      if (result.differing++ == 0) result.firstDiffering = c;
    }
    return true;
  }
}

CompleteResult CompleteSolver::FindAnother(const Puzzle& puzzle, const Filling& known, const int* cells,
                                           int count) {
  CompleteResult result;
  result.width = puzzle.width;
  result.height = puzzle.height;
  if (!ValidSize(puzzle)) return result;
  const StopRule stop = MakeStopRule();
  geometry_->Build(puzzle.width, puzzle.height);
  // Each way to differ (below or above the known number, in each cell) that
  // reasoning alone does not rule out; then one search for any of them.
  Fact ways[2 * kMaxCells];
  int open = 0;
  for (int i = 0; i < count; ++i) {
    const int c = cells[i], v = known.number[c];
    if (v > 1 && Start(puzzle, &(ways[open] = AtMost(c, v - 1)))) ++open;
    if (v < kLargest && Start(puzzle, &(ways[open] = AtLeast(c, v + 1)))) ++open;
  }
  if (open > 0 && Start(puzzle)) {
    BlockSearch search(prop_);
    search.RequireOneOf(ways, open);
    // Another solution mostly differs from the known one in a few blocks.
    search.PreferNumbers(known.number);
    for (;;) {
      const BlockSearch::Outcome outcome = search.Next(stop);
      result.stats = search.Stats();
      if (outcome == BlockSearch::Outcome::Stopped) {
        result.verdict = Verdict::Stopped;
        return result;
      }
      if (outcome == BlockSearch::Outcome::Exhausted) break;
      const Filling filling = ReadFilling(prop_);
      search.ExcludeFound();
      if (!IsSolution(puzzle, filling)) continue;
      result.verdict = Verdict::Several;
      result.solution = known;
      result.other = filling;
      return result;
    }
  }
  result.verdict = Verdict::Unique;
  result.solution = known;
  return result;
}

bool IsSolution(const Puzzle& puzzle, const Filling& filling) {
  const int w = puzzle.width, h = puzzle.height, n = w * h;
  if (w < 1 || w > kMaxWidth || h < 1 || h > kMaxHeight) return false;
  for (int c = 0; c < n; ++c) {
    const int v = filling.number[c];
    if (v < 1 || v > kLargest) return false;
    if (puzzle.hint[c] != 0 && puzzle.hint[c] != v) return false;
  }
  // Flood each group of equal connected numbers; its size must be its number.
  bool seen[kMaxCells] = {};
  int stack[kMaxCells];
  for (int start = 0; start < n; ++start) {
    if (seen[start]) continue;
    const int v = filling.number[start];
    int top = 0, size = 0;
    stack[top++] = start;
    seen[start] = true;
    while (top > 0) {
      const int c = stack[--top];
      ++size;
      const int x = c % w, y = c / w;
      const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (const auto& p : next) {
        if (p[0] < 0 || p[0] >= w || p[1] < 0 || p[1] >= h) continue;
        const int d = p[1] * w + p[0];
        if (seen[d] || filling.number[d] != v) continue;
        seen[d] = true;
        stack[top++] = d;
      }
    }
    if (size != v) return false;
  }
  return true;
}

void WriteSolution(const Filling& solution, BoardState& state) {
  const int w = state.BoardWidth, h = state.BoardHeight;
  state.WallFrame();
  for (int y = 1; y <= h; ++y) {
    for (int x = 1; x <= w; ++x) {
      Cell& cell = state.Board[x][y];
      const std::uint8_t n = solution.number[(y - 1) * w + (x - 1)];
      if (cell.number == 0 || cell.number >= 100) cell.number = static_cast<std::uint8_t>(n + 100);
      cell.complete = 1;
      cell.mark = 0;
    }
  }
  state.EmptyCount = 0;
  state.SolverStatus = kStatusOk;
  state.Mode = SolveAuto;
  // As the button's solve leaves them.
  state.MaxNumber = DeriveMaxNumber(w, h);
  state.LayoutPending = 0;
}

}  // namespace numbloc::complete
