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
#include "core/complete/generator.h"

namespace {

using numbloc::PuzzleText;
namespace complete = numbloc::complete;

constexpr const char* kUsage =
    "usage: make_puzzles --out-dir DIR [--width W] [--height H] [--seed S] [--count N]\n"
    "                    [--keep SHARE]\n"
    "  Writes N puzzles (default 1) of W x H cells (default 30 x 40) as DIR/gWxH-sSEED.nbl\n"
    "  (Creation mode) and .txt (hints and the board they were taken from), seeds S,\n"
    "  S+1, ... SHARE (default 0.45) is the part of the cells kept as hints.\n";

constexpr int kMaxBlock = 12;  // the largest block drawn

struct Grid {
  int w, h;
  std::vector<int> v;  // index x * h + y, 0-based
  int& At(int x, int y) { return v[x * h + y]; }
  bool Inside(int x, int y) const { return x >= 0 && x < w && y >= 0 && y < h; }
};

constexpr int kDx[4] = {0, -1, 0, 1};
constexpr int kDy[4] = {-1, 0, 1, 0};

// A random valid solved board, from the same maker as the generator's
// (blocks up to 12), stored column by column.
bool MakeSolution(Grid& g, complete::SeededRandom& rng) {
  complete::Filling board;
  if (!complete::MakeSolvedBoard(g.w, g.h, kMaxBlock, rng, board)) return false;
  for (int x = 0; x < g.w; ++x) {
    for (int y = 0; y < g.h; ++y) g.At(x, y) = board.number[y * g.w + x];
  }
  return true;
}

PuzzleText MakePuzzle(int w, int h, std::uint64_t seed, double keep, bool& ok) {
  complete::SeededRandom rng(seed);
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
