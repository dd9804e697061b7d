// The reasoning about blocks that the complete solver runs at every step: it
// keeps bounds on each cell's number, the state of each edge between
// neighbours, and the regions that "same block" edges join, and deduces what
// follows from the rules. It runs alone (no reasons kept) to settle what can
// be settled without guessing, and under the clause-learning search, where it
// hands each deduction over with the facts that justify it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/complete/puzzle.h"

namespace numbloc::complete {

enum class FactKind : std::uint8_t {
  AtLeast,  // the cell's number is at least `value`
  AtMost,   // the cell's number is at most `value`
  Same,     // the edge joins one block
  Apart,    // the edge separates two blocks
  Never,    // false: deducing it reports a contradiction
};

struct Fact {
  FactKind kind = FactKind::Never;
  std::int8_t value = 0;   // the bound, for AtLeast and AtMost
  std::int16_t index = 0;  // the cell (bounds) or the edge
};

constexpr Fact AtLeast(int cell, int v) {
  return {FactKind::AtLeast, static_cast<std::int8_t>(v), static_cast<std::int16_t>(cell)};
}
constexpr Fact AtMost(int cell, int v) {
  return {FactKind::AtMost, static_cast<std::int8_t>(v), static_cast<std::int16_t>(cell)};
}
constexpr Fact Same(int edge) { return {FactKind::Same, 0, static_cast<std::int16_t>(edge)}; }
constexpr Fact Apart(int edge) { return {FactKind::Apart, 0, static_cast<std::int16_t>(edge)}; }

enum EdgeState : std::uint8_t { kOpen = 0, kSame = 1, kApart = 2 };

// Where deductions go while a search runs.
class DeductionSink {
 public:
  // `fact` follows from `reasons`, which all hold now. Returns false when the
  // fact contradicts what holds; the sink keeps that conflict.
  virtual bool Deduce(const Fact& fact, const Fact* reasons, int count) = 0;

 protected:
  ~DeductionSink() = default;
};

class RegionPropagator {
 public:
  // Every cell 1..40 (at most the number of cells), every edge open, each
  // cell its own region; nothing attached.
  void Reset(const Geometry& geometry);

  // --- Alone ---
  // Adds a given fact (a hint); false when it contradicts what holds.
  bool Give(const Fact& fact);
  // Deduces until nothing more follows. False: the facts given have no
  // solution. Before: facts given; after: the bounds and edges that follow.
  bool Settle();
  // Every cell's number known and every edge decided.
  bool Decided() const;

  // --- Under a search ---
  // From now on deductions go to `sink` with their reasons. What holds now
  // is the base that Undo never takes back.
  void Attach(DeductionSink* sink);
  // The search assigned `fact`; `stamp` orders assignments (its trail
  // position) for Undo. Returns false when a consequence conflicted.
  bool Apply(const Fact& fact, int stamp);
  // Runs the region checks that the assignments since the last call call
  // for. False on a conflict (the sink has it).
  bool Check();
  // Takes back every assignment stamped `stamp` or later.
  void Undo(int stamp);

  // --- State ---
  int Lo(int cell) const { return lo_[cell]; }
  int Hi(int cell) const { return hi_[cell]; }
  EdgeState Edge(int edge) const { return static_cast<EdgeState>(edge_[edge]); }
  const Geometry& Grid() const { return *g_; }
  // Marks every cell for checking, as at the start.
  void MarkAllDirty();

 private:
  enum class Change { Unchanged, Changed, Contradiction };
  struct LogEntry {
    std::uint8_t what;   // 0 lo, 1 hi, 2 edge, 3 union
    std::int16_t index;  // cell, edge, or the root that was linked under another
    std::int8_t old;     // the previous bound or edge state
    std::int32_t stamp;  // the assignment that caused it
  };
  enum ReachFilter { kAtLeastN, kExactlyN };
  struct RegionView {
    int root;  // its cell whose facts stand for all
    int size;  // cells joined
    int lo;    // bounds on its number, as far as this check knows them
    int hi;
  };
  static constexpr int kExitCells = 4;  // neighbouring cells tried as bottlenecks, at most

  Change Tighten(const Fact& f, int stamp);
  bool Consequences(const Fact& f);
  bool Post(const Fact& f);
  bool Fail() { return Post(Fact{}); }
  bool SyncAcross(int from, int to, int edge);
  bool ExcludeFixed(int from, int to, int edge);
  bool CheckRegion(int root, bool full);
  bool CheckSize(RegionView& r);
  bool CheckReach(RegionView& r);
  bool SeparateOversized(const RegionView& r);
  bool GrowWhereItMust(const RegionView& r, bool full);
  int Reach(int root, int n, ReachFilter filter, int without = -1, int target = 0);
  void ReasonBoundary(int n, ReachFilter filter);
  void ReasonTree(int root);
  void Because(const Fact& f) { reason_[reasonCount_++] = f; }
  int Find(int cell) const;
  void MarkDirty(int cell, bool full = true);
  bool Fixed(int cell) const { return lo_[cell] == hi_[cell]; }

  const Geometry* g_ = nullptr;
  DeductionSink* sink_ = nullptr;  // null while alone
  bool explain_ = false;           // reasons are collected (under a search)

  std::vector<std::int8_t> lo_;          // per cell: smallest number it may hold
  std::vector<std::int8_t> hi_;          // per cell: largest number it may hold
  std::vector<std::uint8_t> edge_;       // per edge: EdgeState
  std::vector<std::int16_t> parent_;     // union-find over "same" edges, no path compression
  std::vector<std::int16_t> size_;       // per root: cells in its region
  std::vector<std::int16_t> next_;       // circular list of each region's cells
  std::vector<std::int16_t> linkEdge_;   // per non-root: the edge that linked its old root
  std::vector<LogEntry> log_;            // changes since Attach, newest last
  std::vector<Fact> queue_;              // alone: facts whose consequences are pending
  std::size_t queueHead_ = 0;
  std::vector<std::int16_t> dirty_;      // cells whose region needs checking
  std::vector<std::uint32_t> dirtyMark_; // == dirtyRound_: already listed
  std::vector<std::uint32_t> dirtyFull_; // == dirtyRound_: its own state changed
  std::vector<std::uint32_t> checked_;   // == checkRound_: region checked this round
  std::uint32_t dirtyRound_ = 1;
  std::uint32_t checkRound_ = 1;
  std::vector<std::uint32_t> seen_;      // == seenRound_: reached by the current walk
  std::uint32_t seenRound_ = 1;
  std::vector<std::int16_t> walk_;       // the cells of the current walk
  int walkCount_ = 0;
  std::vector<std::int16_t> taken_;      // cells a region of known number must take
  std::vector<Fact> reason_;             // the reasons of the deduction being made
  int reasonCount_ = 0;
};

}  // namespace numbloc::complete
