// Access to the shared puzzle collection for the tests, and the automatic
// solve exactly as the board window's button runs it.
#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/puzzle_text.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "core/solver/solver.h"

namespace numbloc::test {

inline std::filesystem::path HandDir() {
  const char* env = std::getenv("NUMBLOC_SHARED_DIR");
  return std::filesystem::path(env && *env ? env : NUMBLOC_SHARED_DIR) / "puzzles" / "hand";
}

// Skips the calling test when the collection is not there.
#define NUMBLOC_REQUIRE_SHARED()                                                 \
  if (!std::filesystem::exists(::numbloc::test::HandDir() / "h0001.nbl"))        \
  GTEST_SKIP() << "shared puzzles not found at " << ::numbloc::test::HandDir() << " (set NUMBLOC_SHARED_DIR)"

struct SharedPuzzle {
  std::string name;  // e.g. "h0001"
  BoardState start;  // the .nbl as stored
  PuzzleText text;   // hints and the published solution
};

inline SharedPuzzle LoadShared(const std::string& name) {
  SharedPuzzle p;
  p.name = name;
  const NblResult r = ReadNblFile((HandDir() / (name + ".nbl")).string(), p.start);
  EXPECT_TRUE(r.ok) << name << ": " << r.reason;
  std::string why;
  auto text = ReadPuzzleText((HandDir() / (name + ".txt")).string(), &why);
  EXPECT_TRUE(text.has_value()) << name << ": " << why;
  if (text) p.text = *text;
  return p;
}

// A row of the collection's index.
struct IndexRow {
  std::string name;
  int width = 0, height = 0;
  std::string solutions;  // "unique ...", "several solutions" or "unknown"
};

inline std::vector<IndexRow> ReadIndex() {
  std::vector<IndexRow> rows;
  std::ifstream in(HandDir().parent_path() / "index.tsv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::istringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) f.push_back(field);
    if (f.size() >= 7) rows.push_back({f[0], std::atoi(f[1].c_str()), std::atoi(f[2].c_str()), f[6]});
  }
  return rows;
}

struct SolveOutcome {
  BoardState board;
  bool stopped = false;
};

// The button's solve on a copy of a loaded puzzle.
inline SolveOutcome SolveShared(const BoardState& start, SolverOptions options) {
  SolveOutcome out{start};
  out.stopped = !SolveLikeTheButton(out.board, options);
  return out;
}

// Runs fn(i) for i in [0, n) on every core.
inline void ParallelFor(int n, const std::function<void(int)>& fn) {
  std::atomic<int> next{0};
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
    threads.emplace_back([&] {
      for (int i; (i = next.fetch_add(1)) < n;) fn(i);
    });
  }
  for (auto& t : threads) t.join();
}

}  // namespace numbloc::test
