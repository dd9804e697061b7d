// Making puzzles: the random solved board and the hints given up one by one.
#include "core/complete/generator.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "core/board/text_grid.h"
#include "core/solver/solver.h"

namespace numbloc::complete {
namespace {

// Conflicts a search may spend deciding whether one hint can go. Measured on
// 30 x 40 boards: the hint count stays within 8 % of deciding every removal
// in full, at a sixth of the time.
constexpr std::int64_t kRemovalConflicts = 3000;

constexpr int kDx[4] = {0, -1, 0, 1};
constexpr int kDy[4] = {-1, 0, 1, 0};

// How often each block size is drawn: mostly small blocks, as in hand-made
// puzzles, with a tail of larger ones.
int SizeWeight(int n) {
  constexpr int kWeights[] = {0, 5, 10, 12, 12, 11, 9, 7, 5, 4, 3, 2, 2};
  return n < 13 ? kWeights[n] : 1;
}

// The board being filled, 0-based, row by row; -1 marks the block being grown.
struct Fill {
  int w, h;
  std::vector<int> v;
  int& At(int x, int y) { return v[static_cast<std::size_t>(y * w + x)]; }
  bool Inside(int x, int y) const { return x >= 0 && x < w && y >= 0 && y < h; }
  bool Touches(int x, int y, int n) {
    for (int d = 0; d < 4; ++d) {
      if (Inside(x + kDx[d], y + kDy[d]) && At(x + kDx[d], y + kDy[d]) == n) return true;
    }
    return false;
  }
};

int DrawSize(SeededRandom& random, int maxNumber) {
  int total = 0;
  for (int n = 1; n <= maxNumber; ++n) total += SizeWeight(n);
  int r = random.Below(total);
  for (int n = 1; n <= maxNumber; ++n) {
    if ((r -= SizeWeight(n)) < 0) return n;
  }
  return 1;
}

// One block that starts at the empty cell (x, y), grown at random; a block
// that cannot reach its size keeps the size it reached when no block of that
// size touches it.
bool PlaceBlock(Fill& g, int x, int y, int maxNumber, SeededRandom& random) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int n = DrawSize(random, maxNumber);
    if (g.Touches(x, y, n)) continue;
    std::vector<std::pair<int, int>> block{{x, y}}, frontier;
    g.At(x, y) = -1;
    auto addFrontier = [&](int cx, int cy) {
      for (int d = 0; d < 4; ++d) {
        const int nx = cx + kDx[d], ny = cy + kDy[d];
        if (!g.Inside(nx, ny) || g.At(nx, ny) != 0 || g.Touches(nx, ny, n)) continue;
        if (std::find(frontier.begin(), frontier.end(), std::make_pair(nx, ny)) == frontier.end()) {
          frontier.emplace_back(nx, ny);
        }
      }
    };
    addFrontier(x, y);
    while (static_cast<int>(block.size()) < n && !frontier.empty()) {
      const int pick = random.Below(static_cast<int>(frontier.size()));
      const auto cell = frontier[static_cast<std::size_t>(pick)];
      frontier.erase(frontier.begin() + pick);
      g.At(cell.first, cell.second) = -1;
      block.push_back(cell);
      addFrontier(cell.first, cell.second);
    }
    const int k = static_cast<int>(block.size());
    bool ok = true;
    if (k != n) {
      for (const auto& [bx, by] : block) ok = ok && !g.Touches(bx, by, k);
    }
    for (const auto& [bx, by] : block) g.At(bx, by) = ok ? k : 0;
    if (ok) return true;
  }
  return false;
}

Puzzle HintsOf(int w, int h, const Filling& board) {
  Puzzle p;
  p.width = w;
  p.height = h;
  for (int c = 0; c < w * h; ++c) p.hint[c] = board.number[c];
  return p;
}

BoardState AsBoard(const Puzzle& p) {
  TextGrid grid;
  grid.width = p.width;
  grid.height = p.height;
  grid.numbers.assign(p.hint, p.hint + p.width * p.height);
  return MakeCreationState(grid);
}

// The automatic solve's verdict on the hints, by the difficulty's measure:
// the rules alone, or the whole solve within a fixed amount of trials (a
// count, not a clock, so that every machine decides alike); it must end on
// exactly the board the hints came from.
bool AutomaticSolveFinds(const Puzzle& hints, const Filling& solution, Difficulty difficulty,
                         const std::atomic<bool>* stop) {
  auto state = std::make_unique<BoardState>(AsBoard(hints));
  SolverOptions options;
  options.stop = stop;
  if (difficulty == Difficulty::Rules) {
    auto solver = std::make_unique<Solver>(*state, options);
    solver->InitSolver();
    solver->RunDeductionPass();
    if (state->SolverStatus == kStatusContradiction || state->EmptyCount != 0) return false;
  } else {
    // A trial costs about as much as the board has cells: the same amount
    // of work for every size (800 trials on 20 x 20).
    options.trialBudget = std::max(100, 320000 / hints.Cells());
    if (!SolveLikeTheButton(*state, options) || state->SolverStatus != kStatusOk) return false;
  }
  for (int y = 0; y < hints.height; ++y) {
    for (int x = 0; x < hints.width; ++x) {
      if (Reduced(state->Board[x + 1][y + 1].number) != solution.number[y * hints.width + x]) return false;
    }
  }
  return true;
}

// A seed of its own for each puzzle of a run (splitmix64 of seed and index).
std::uint64_t PuzzleSeed(std::uint64_t seed, int index) {
  std::uint64_t z = seed + 0x9e3779b97f4a7c15ull * static_cast<std::uint64_t>(index + 1);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

}  // namespace

const char* DifficultyKey(Difficulty difficulty) {
  switch (difficulty) {
    case Difficulty::Rules: return "rules";
    case Difficulty::Trials: return "trials";
    case Difficulty::Any: return "any";
  }
  return "any";
}

bool ParseDifficulty(const std::string& key, Difficulty& difficulty) {
  for (const Difficulty d : {Difficulty::Rules, Difficulty::Trials, Difficulty::Any}) {
    if (key == DifficultyKey(d)) {
      difficulty = d;
      return true;
    }
  }
  return false;
}

bool MakeSolvedBoard(int w, int h, int maxNumber, SeededRandom& random, Filling& board,
                     const std::atomic<bool>* stop) {
  if (w < 1 || w > kMaxWidth || h < 1 || h > kMaxHeight || maxNumber < 1) return false;
  Fill g{w, h, std::vector<int>(static_cast<std::size_t>(w) * h, 0)};
  Puzzle empty;
  empty.width = w;
  empty.height = h;
  for (int tries = 0; tries < 2000; ++tries) {
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    std::fill(g.v.begin(), g.v.end(), 0);
    bool ok = true;
    // Column by column, as the benchmark's puzzles have always been made.
    for (int x = 0; x < w && ok; ++x) {
      for (int y = 0; y < h && ok; ++y) {
        if (g.At(x, y) == 0) ok = PlaceBlock(g, x, y, maxNumber, random);
      }
    }
    if (!ok) continue;
    for (int c = 0; c < w * h; ++c) board.number[c] = static_cast<std::uint8_t>(g.v[static_cast<std::size_t>(c)]);
    // Blocks grown apart may still meet a block of their size: only the rules decide.
    if (IsSolution(empty, board)) return true;
  }
  return false;
}

std::string OptionsProblem(const GenerateOptions& options) {
  const int w = options.width, h = options.height;
  if (w < kMinWidth || w > kMaxWidth || h < kMinHeight || h > kMaxHeight) {
    return "the size must be 6..30 by 6..40";
  }
  if (options.maxNumber < 3 || options.maxNumber > DeriveMaxNumber(w, h)) {
    return "the largest number must be 3.." + std::to_string(DeriveMaxNumber(w, h)) + " for this size";
  }
  return {};
}

GenerateResult Generate(const GenerateOptions& options) {
  GenerateResult result;
  const int w = options.width, h = options.height, cells = w * h;
  result.reason = OptionsProblem(options);
  if (!result.reason.empty()) return result;
  const auto begin = std::chrono::steady_clock::now();
  auto secondsLeft = [&] {
    const double used = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    return options.timeBudgetSeconds - used;
  };
  auto interrupted = [&](GenerateStatus& status) {
    if (options.stop && options.stop->load(std::memory_order_relaxed)) {
      status = GenerateStatus::Stopped;
      return true;
    }
    if (options.timeBudgetSeconds > 0 && secondsLeft() <= 0) {
      status = GenerateStatus::OutOfTime;
      return true;
    }
    return false;
  };

  SeededRandom random(PuzzleSeed(options.seed, options.index));
  Filling& solution = result.solution;
  for (result.boards = 1;; ++result.boards) {
    if (interrupted(result.status)) return result;
    if (MakeSolvedBoard(w, h, options.maxNumber, random, solution, options.stop)) break;
    if (interrupted(result.status)) return result;
    if (result.boards == 3) {
      result.reason = "no board with numbers up to " + std::to_string(options.maxNumber) + " was found";
      return result;
    }
  }

  // Every cell starts as a hint; the order of giving them up is random.
  // Symmetric: a cell and its image through the centre go together.
  Puzzle puzzle = HintsOf(w, h, solution);
  std::vector<int> order;
  for (int c = 0; c < cells; ++c) {
    if (!options.symmetric || c <= cells - 1 - c) order.push_back(c);
  }
  for (int i = static_cast<int>(order.size()) - 1; i > 0; --i) {
    std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(random.Below(i + 1))]);
  }
  // A removal the search cannot settle within a fixed amount of work keeps
  // its hint: the puzzle stays unique, and a count of conflicts (unlike a
  // clock) decides the same way on every machine.
  CompleteOptions search{options.stop, 0, nullptr};
  search.conflictBudget = options.exact ? 0 : kRemovalConflicts;
  auto solver = std::make_unique<CompleteSolver>(search);
  std::int64_t looked = 0;
  for (const int c : order) {
    if (interrupted(result.status)) return result;
    int given[2] = {c, cells - 1 - c};
    const int count = options.symmetric && given[1] != c ? 2 : 1;
    for (int i = 0; i < count; ++i) puzzle.hint[given[i]] = 0;
    const CompleteResult r = solver->FindAnother(puzzle, solution, given, count);
    if (r.verdict == Verdict::Stopped && options.stop && options.stop->load(std::memory_order_relaxed)) {
      result.status = GenerateStatus::Stopped;
      return result;
    }
    const bool keep = r.verdict == Verdict::Unique &&
                      (options.difficulty == Difficulty::Any ||
                       AutomaticSolveFinds(puzzle, solution, options.difficulty, options.stop));
    if (!keep) {
      for (int i = 0; i < count; ++i) puzzle.hint[given[i]] = solution.number[given[i]];
    }
    looked += count;
    if (options.progress) options.progress->store(looked, std::memory_order_relaxed);
  }
  if (interrupted(result.status)) return result;
  result.puzzle = AsBoard(puzzle);
  for (int c = 0; c < cells; ++c) result.hints += puzzle.hint[c] != 0;
  result.status = GenerateStatus::Made;
  return result;
}

std::string GeneratedName(const GenerateOptions& options, int index) {
  std::string name = "g" + std::to_string(options.width) + "x" + std::to_string(options.height);
  if (options.difficulty != Difficulty::Any) name += std::string("-") + DifficultyKey(options.difficulty);
  return name + "-s" + std::to_string(options.seed) + "-" + std::to_string(index);
}

}  // namespace numbloc::complete
