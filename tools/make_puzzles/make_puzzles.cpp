// Makes random puzzles: a random valid solved board, from which a fixed share
// of the cells is kept as hints (at least one per block). Everything follows
// from the seed, so the same command always makes the same files. The hints
// need not make the solution unique.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cli/puzzle_text.h"
#include "core/board/nbl_file.h"

namespace {

using numbloc::PuzzleText;

constexpr const char* kUsage =
    "usage: make_puzzles --out-dir DIR [--width W] [--height H] [--seed S] [--count N]\n"
    "                    [--keep SHARE]\n"
    "  Writes N puzzles (default 1) of W x H cells (default 30 x 40) as DIR/gWxH-sSEED.nbl\n"
    "  (Creation mode) and .txt (hints and the board they were taken from), seeds S,\n"
    "  S+1, ... SHARE (default 0.45) is the part of the cells kept as hints.\n";

// Block sizes the generator draws, by weight: mostly small blocks, as in
// hand-made puzzles, with a tail up to 12.
constexpr int kSizeWeights[] = {0, 5, 10, 12, 12, 11, 9, 7, 5, 4, 3, 2, 2};
constexpr int kMaxBlock = 12;

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : engine_(seed) {}
  // A value in [0, n); the engine's output is fixed by the standard, so the
  // puzzles are the same with every compiler.
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }

 private:
  std::mt19937_64 engine_;
};

struct Grid {
  int w, h;
  std::vector<int> v;  // index x * h + y, 0-based
  int& At(int x, int y) { return v[x * h + y]; }
  bool Inside(int x, int y) const { return x >= 0 && x < w && y >= 0 && y < h; }
};

constexpr int kDx[4] = {0, -1, 0, 1};
constexpr int kDy[4] = {-1, 0, 1, 0};

int DrawSize(Rng& rng) {
  int total = 0;
  for (int w : kSizeWeights) total += w;
  int r = rng.Below(total);
  for (int n = 1; n <= kMaxBlock; ++n) {
    if ((r -= kSizeWeights[n]) < 0) return n;
  }
  return 1;
}

// True when a cell next to (x, y) already holds n.
bool TouchesNumber(Grid& g, int x, int y, int n) {
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    if (g.Inside(nx, ny) && g.At(nx, ny) == n) return true;
  }
  return false;
}

// Tries to place one block that starts at the empty cell (x, y).
bool PlaceBlock(Grid& g, int x, int y, Rng& rng) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int n = DrawSize(rng);
    if (TouchesNumber(g, x, y, n)) continue;
    std::vector<std::pair<int, int>> block{{x, y}};
    std::vector<std::pair<int, int>> frontier;
    g.At(x, y) = -1;  // taken by the block being grown
    auto add_frontier = [&](int cx, int cy) {
      for (int d = 0; d < 4; ++d) {
        const int nx = cx + kDx[d], ny = cy + kDy[d];
        if (!g.Inside(nx, ny) || g.At(nx, ny) != 0 || TouchesNumber(g, nx, ny, n)) continue;
        if (std::find(frontier.begin(), frontier.end(), std::make_pair(nx, ny)) == frontier.end()) {
          frontier.push_back({nx, ny});
        }
      }
    };
    add_frontier(x, y);
    while (static_cast<int>(block.size()) < n && !frontier.empty()) {
      const int pick = rng.Below(static_cast<int>(frontier.size()));
      const auto cell = frontier[pick];
      frontier.erase(frontier.begin() + pick);
      g.At(cell.first, cell.second) = -1;
      block.push_back(cell);
      add_frontier(cell.first, cell.second);
    }
    const int k = static_cast<int>(block.size());
    bool ok = true;
    if (k != n) {
      for (const auto& [bx, by] : block) ok = ok && !TouchesNumber(g, bx, by, k);
    }
    // A block of k must not touch an empty cell that only a block of k could fill
    // later; the final check of the whole board catches what slips through.
    for (const auto& [bx, by] : block) g.At(bx, by) = ok ? k : 0;
    if (ok) return true;
  }
  return false;
}

bool ValidBoard(Grid& g) {
  std::vector<int> seen(g.v.size(), 0);
  for (int x = 0; x < g.w; ++x) {
    for (int y = 0; y < g.h; ++y) {
      if (seen[x * g.h + y]) continue;
      const int n = g.At(x, y);
      std::vector<std::pair<int, int>> stack{{x, y}};
      seen[x * g.h + y] = 1;
      int count = 0;
      while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        stack.pop_back();
        ++count;
        for (int d = 0; d < 4; ++d) {
          const int nx = cx + kDx[d], ny = cy + kDy[d];
          if (g.Inside(nx, ny) && !seen[nx * g.h + ny] && g.At(nx, ny) == n) {
            seen[nx * g.h + ny] = 1;
            stack.push_back({nx, ny});
          }
        }
      }
      if (count != n) return false;
    }
  }
  return true;
}

bool MakeSolution(Grid& g, Rng& rng) {
  for (int tries = 0; tries < 10000; ++tries) {
    std::fill(g.v.begin(), g.v.end(), 0);
    bool ok = true;
    for (int x = 0; x < g.w && ok; ++x) {
      for (int y = 0; y < g.h && ok; ++y) {
        if (g.At(x, y) == 0) ok = PlaceBlock(g, x, y, rng);
      }
    }
    if (ok && ValidBoard(g)) return true;
  }
  return false;
}

PuzzleText MakePuzzle(int w, int h, std::uint64_t seed, double keep, bool& ok) {
  Rng rng(seed);
  Grid g{w, h, std::vector<int>(static_cast<std::size_t>(w) * h, 0)};
  ok = MakeSolution(g, rng);
  PuzzleText p;
  p.width = w;
  p.height = h;
  p.solutions = "unknown (generated; the board below is one solution)";
  p.solution = g.v;
  p.hints.assign(g.v.size(), 0);
  // One hint in every block, then more cells at random up to the share.
  std::vector<int> block_id(g.v.size(), -1);
  std::vector<std::vector<int>> blocks;
  for (int i = 0; i < static_cast<int>(g.v.size()); ++i) {
    if (block_id[i] >= 0) continue;
    blocks.emplace_back();
    std::vector<int> stack{i};
    block_id[i] = static_cast<int>(blocks.size()) - 1;
    while (!stack.empty()) {
      const int c = stack.back();
      stack.pop_back();
      blocks.back().push_back(c);
      const int cx = c / h, cy = c % h;
      for (int d = 0; d < 4; ++d) {
        const int nx = cx + kDx[d], ny = cy + kDy[d];
        if (!g.Inside(nx, ny)) continue;
        const int nc = nx * h + ny;
        if (block_id[nc] < 0 && g.v[nc] == g.v[c]) {
          block_id[nc] = block_id[i];
          stack.push_back(nc);
        }
      }
    }
  }
  int kept = 0;
  for (auto& block : blocks) {
    std::sort(block.begin(), block.end());
    const int c = block[rng.Below(static_cast<int>(block.size()))];
    p.hints[c] = g.v[c];
    ++kept;
  }
  std::vector<int> rest;
  for (int i = 0; i < static_cast<int>(g.v.size()); ++i) {
    if (!p.hints[i]) rest.push_back(i);
  }
  for (int i = static_cast<int>(rest.size()) - 1; i > 0; --i) {
    std::swap(rest[i], rest[rng.Below(i + 1)]);
  }
  const int want = static_cast<int>(keep * w * h + 0.5);
  for (std::size_t i = 0; kept < want && i < rest.size(); ++i, ++kept) {
    p.hints[rest[i]] = g.v[rest[i]];
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  int w = 30, h = 40, count = 1;
  std::uint64_t seed = 1;
  double keep = 0.45;
  std::string out_dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "make_puzzles: %s needs a value\n%s", arg.c_str(), kUsage);
      return 2;
    }
    const char* v = argv[++i];
    if (arg == "--width") w = std::atoi(v);
    else if (arg == "--height") h = std::atoi(v);
    else if (arg == "--seed") seed = std::strtoull(v, nullptr, 10);
    else if (arg == "--count") count = std::atoi(v);
    else if (arg == "--keep") keep = std::atof(v);
    else if (arg == "--out-dir") out_dir = v;
    else {
      std::fprintf(stderr, "make_puzzles: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }
  if (out_dir.empty() || w < numbloc::kMinWidth || w > numbloc::kMaxWidth ||
      h < numbloc::kMinHeight || h > numbloc::kMaxHeight || count < 1 || !(keep >= 0 && keep <= 1)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(out_dir, ec);
  for (int k = 0; k < count; ++k) {
    const std::uint64_t s = seed + k;
    bool ok = false;
    const PuzzleText puzzle = MakePuzzle(w, h, s, keep, ok);
    if (!ok) {
      std::fprintf(stderr, "make_puzzles: no board found for seed %llu\n",
                   static_cast<unsigned long long>(s));
      return 1;
    }
    char stem[64];
    std::snprintf(stem, sizeof stem, "g%dx%d-s%04llu", w, h, static_cast<unsigned long long>(s));
    const std::string base = (std::filesystem::path(out_dir) / stem).string();
    const numbloc::NblResult r = numbloc::WriteNblFile(base + ".nbl", numbloc::PuzzleToState(puzzle));
    std::ofstream txt(base + ".txt", std::ios::binary);
    txt << numbloc::FormatPuzzleText(puzzle);
    if (!r.ok || !txt) {
      std::fprintf(stderr, "make_puzzles: cannot write %s: %s\n", base.c_str(), r.reason.c_str());
      return 1;
    }
    std::printf("%s.nbl\n", base.c_str());
  }
  return 0;
}
