// One hash over everything the solve leaves for fixed quick puzzles, per mode:
// any change of any result fails here. Record a new value only for an intended
// change, and say why in the commit.
#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "shared_puzzles.h"

namespace numbloc::test {
namespace {

// FNV-1a, 64 bits: small, fixed and the same on every machine.
class Fnv {
 public:
  void Add(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      hash_ = (hash_ ^ ((value >> (8 * i)) & 0xff)) * 0x100000001b3ull;
    }
  }
  void Add(const std::string& s) {
    for (const char c : s) Add(static_cast<unsigned char>(c), 1);
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// Board with flags and marks, status, counters and conflict variables.
inline void AddResult(Fnv& fnv, const std::string& name, const BoardState& b) {
  fnv.Add(name);
  for (const std::int32_t v : {b.SolverStatus, b.ProgressMade, b.ConflictColumn, b.ConflictRow, b.ConflictNumber,
                               b.EmptyCount}) {
    fnv.Add(static_cast<std::uint32_t>(v), 4);
  }
  for (int x = 1; x <= b.BoardWidth; ++x) {
    for (int y = 1; y <= b.BoardHeight; ++y) {
      fnv.Add(b.Board[x][y].number, 1);
      fnv.Add(b.Board[x][y].complete, 1);
      fnv.Add(b.Board[x][y].mark, 1);
    }
  }
}

// Quick in both modes; every verdict, and classic contradictions with conflicts.
constexpr const char* kSignaturePuzzles[] = {
    "h0001", "h0004", "h0007", "h0009", "h0011", "h0014", "h0016", "h0021", "h0027", "h0031",
    "h0033", "h0040", "h0058", "h0063", "h0073", "h0081", "h0086", "h0093", "h0103", "h0104",
    "h0109", "h0113", "h0115", "h0119", "h0123", "h0126", "h0130", "h0150", "h0165", "h0173",
    "h0175", "h0178", "h0188", "h0199", "h0207", "h0221", "h0227", "h0234", "h0242", "h0248",
    "h0251", "h0267", "h0274", "h0278", "h0282", "h0285", "h0287", "h0290", "h0300", "h0317",
    "h0339", "h0344", "h0353", "h0375", "h0380", "h0384", "h0393", "h0400", "h0403", "h0406",
    "h0412", "h0426", "h0436", "h0438", "h0441", "h0444", "h0481", "h0484", "h0492", "h0494",
    "h0500", "h0502", "h0504", "h0515",
};

constexpr std::uint64_t kDefaultSignature = 0xf11ff7458a89b851ull;
constexpr std::uint64_t kClassicSignature = 0x2a0a46ade25c0a23ull;

struct Signature {
  std::uint64_t hash = 0;
  std::string verdicts;  // "solved 70, contradiction 1, ..." for the failure message
};

Signature SolveAll(const SolverOptions& options) {
  constexpr int n = static_cast<int>(std::size(kSignaturePuzzles));
  std::vector<SolveOutcome> results(n);
  ParallelFor(n, [&](int i) {
    results[i] = SolveShared(LoadShared(kSignaturePuzzles[i]).start, options);
  });
  Fnv fnv;
  int counts[3] = {};
  for (int i = 0; i < n; ++i) {
    EXPECT_FALSE(results[i].stopped) << kSignaturePuzzles[i];
    AddResult(fnv, kSignaturePuzzles[i], results[i].board);
    const int status = results[i].board.SolverStatus;
    if (status >= kStatusOk && status <= kStatusGaveUp) ++counts[status];
  }
  char text[128];
  std::snprintf(text, sizeof text, "0x%016" PRIx64 " (solved %d, contradiction %d, gave up %d)",
                fnv.value(), counts[0], counts[1], counts[2]);
  return {fnv.value(), text};
}

TEST(SolverSignature, DefaultModeResultsAreUnchanged) {
  NUMBLOC_REQUIRE_SHARED();
  const Signature s = SolveAll({});
  EXPECT_EQ(s.hash, kDefaultSignature) << "default-mode results changed; now " << s.verdicts;
}

TEST(SolverSignature, ClassicModeResultsAreUnchanged) {
  NUMBLOC_REQUIRE_SHARED();
  const Signature s = SolveAll({.mends = Mends::Classic()});
  EXPECT_EQ(s.hash, kClassicSignature) << "classic-mode results changed; now " << s.verdicts;
}

// Speed layers, threads and a never-set stop flag may not change a result.
TEST(SolverSignature, LayersThreadsAndAQuietStopFlagChangeNothing) {
  NUMBLOC_REQUIRE_SHARED();
  const std::atomic<bool> never{false};
  EXPECT_EQ(SolveAll({.layers = {false, false}}).hash, kDefaultSignature) << "speed layers off";
  EXPECT_EQ(SolveAll({.mends = Mends::Classic(), .layers = {false, false}}).hash, kClassicSignature)
      << "speed layers off, classic";
  EXPECT_EQ(SolveAll({.threads = 3}).hash, kDefaultSignature) << "three threads";
  EXPECT_EQ(SolveAll({.mends = Mends::Classic(), .threads = 2}).hash, kClassicSignature) << "two threads, classic";
  EXPECT_EQ(SolveAll({.threads = 2, .stop = &never}).hash, kDefaultSignature) << "quiet stop flag";
}

}  // namespace
}  // namespace numbloc::test
