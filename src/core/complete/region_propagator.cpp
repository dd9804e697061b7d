// Deductions about blocks: bounds spread along "same" edges, equal neighbours
// join, a region is at least as large as it is and at most as large as it can
// grow, and a region with one way out takes it.
#include "core/complete/region_propagator.h"

#include <algorithm>
#include <utility>

namespace numbloc::complete {

void RegionPropagator::Reset(const Geometry& geometry) {
  g_ = &geometry;
  sink_ = nullptr;
  explain_ = false;
  const int n = geometry.cells;
  const int top = std::min(n, kLargest);
  lo_.assign(n, 1);
  hi_.assign(n, static_cast<std::int8_t>(top));
  edge_.assign(geometry.edges, kOpen);
  parent_.resize(n);
  size_.assign(n, 1);
  next_.resize(n);
  linkEdge_.assign(n, -1);
  for (int i = 0; i < n; ++i) parent_[i] = next_[i] = static_cast<std::int16_t>(i);
  log_.clear();
  // Every change tightens a bound (at most 2 x 39 per cell), decides an edge
  // or joins two regions: reserved once, so that solving never allocates.
  log_.reserve(static_cast<std::size_t>(n) * 2 * kLargest + 2 * geometry.edges + 16);
  queue_.clear();
  queue_.reserve(static_cast<std::size_t>(n) * 2 * kLargest + geometry.edges + 16);
  queueHead_ = 0;
  dirty_.clear();
  dirty_.reserve(n);
  dirtyMark_.assign(n, 0);
  dirtyFull_.assign(n, 0);
  checked_.assign(n, 0);
  seen_.assign(n, 0);
  walk_.assign(n, 0);
  taken_.assign(kLargest + 1, 0);
  reason_.assign(2 * static_cast<std::size_t>(n) + 4 * kLargest + 16, Fact{});
  reasonCount_ = 0;
}

void RegionPropagator::MarkAllDirty() {
  for (int i = 0; i < g_->cells; ++i) MarkDirty(i);
}

bool RegionPropagator::Give(const Fact& fact) {
  reasonCount_ = 0;
  return Post(fact);
}

bool RegionPropagator::Settle() {
  for (;;) {
    while (queueHead_ < queue_.size()) {
      if (!Consequences(queue_[queueHead_++])) return false;
    }
    queue_.clear();
    queueHead_ = 0;
    if (dirty_.empty()) return true;
    if (!Check()) return false;
  }
}

bool RegionPropagator::Decided() const {
  for (int i = 0; i < g_->cells; ++i) {
    if (lo_[i] != hi_[i]) return false;
  }
  for (int e = 0; e < g_->edges; ++e) {
    if (edge_[e] == kOpen) return false;
  }
  return true;
}

void RegionPropagator::Attach(DeductionSink* sink) {
  sink_ = sink;
  explain_ = sink != nullptr;
  log_.clear();
}

bool RegionPropagator::Apply(const Fact& fact, int stamp) {
  reasonCount_ = 0;
  switch (Tighten(fact, stamp)) {
    case Change::Unchanged:
      return true;
    case Change::Changed:
      return Consequences(fact);
    case Change::Contradiction:
      break;
  }
  // The search's assignments agree with each other before they reach us, so
  // this cannot happen; should it, name both sides instead of trusting it.
  Because(fact);
  if (fact.kind == FactKind::AtLeast) Because(AtMost(fact.index, hi_[fact.index]));
  if (fact.kind == FactKind::AtMost) Because(AtLeast(fact.index, lo_[fact.index]));
  if (fact.kind == FactKind::Same) Because(Apart(fact.index));
  if (fact.kind == FactKind::Apart) Because(Same(fact.index));
  return Fail();
}

void RegionPropagator::Undo(int stamp) {
  while (!log_.empty() && log_.back().stamp >= stamp) {
    const LogEntry e = log_.back();
    log_.pop_back();
    switch (e.what) {
      case 0: lo_[e.index] = e.old; break;
      case 1: hi_[e.index] = e.old; break;
      case 2: edge_[e.index] = static_cast<std::uint8_t>(e.old); break;
      default: {
        const int child = e.index, root = parent_[child];
        size_[root] = static_cast<std::int16_t>(size_[root] - size_[child]);
        parent_[child] = static_cast<std::int16_t>(child);
        std::swap(next_[root], next_[child]);
      }
    }
  }
  dirty_.clear();
  ++dirtyRound_;
}

RegionPropagator::Change RegionPropagator::Tighten(const Fact& f, int stamp) {
  const bool log = sink_ != nullptr;
  const int i = f.index;
  switch (f.kind) {
    case FactKind::AtLeast:
      if (f.value <= lo_[i]) return Change::Unchanged;
      if (f.value > hi_[i]) return Change::Contradiction;
      if (log) log_.push_back({0, f.index, lo_[i], stamp});
      lo_[i] = f.value;
      return Change::Changed;
    case FactKind::AtMost:
      if (f.value >= hi_[i]) return Change::Unchanged;
      if (f.value < lo_[i]) return Change::Contradiction;
      if (log) log_.push_back({1, f.index, hi_[i], stamp});
      hi_[i] = f.value;
      return Change::Changed;
    case FactKind::Same: {
      if (edge_[i] == kSame) return Change::Unchanged;
      if (edge_[i] == kApart) return Change::Contradiction;
      if (log) log_.push_back({2, f.index, kOpen, stamp});
      edge_[i] = kSame;
      int a = Find(g_->end[i][0]), b = Find(g_->end[i][1]);
      if (a != b) {
        if (size_[a] < size_[b]) std::swap(a, b);
        parent_[b] = static_cast<std::int16_t>(a);
        size_[a] = static_cast<std::int16_t>(size_[a] + size_[b]);
        linkEdge_[b] = f.index;
        std::swap(next_[a], next_[b]);
        if (log) log_.push_back({3, static_cast<std::int16_t>(b), 0, stamp});
      }
      return Change::Changed;
    }
    case FactKind::Apart:
      if (edge_[i] == kApart) return Change::Unchanged;
      if (edge_[i] == kSame) return Change::Contradiction;
      if (log) log_.push_back({2, f.index, kOpen, stamp});
      edge_[i] = kApart;
      return Change::Changed;
    case FactKind::Never:
      break;
  }
  return Change::Contradiction;
}

bool RegionPropagator::Post(const Fact& f) {
  if (sink_) {
    const bool ok = sink_->Deduce(f, reason_.data(), reasonCount_);
    reasonCount_ = 0;
    return ok;
  }
  reasonCount_ = 0;
  switch (Tighten(f, 0)) {
    case Change::Unchanged: return true;
    case Change::Contradiction: return false;
    case Change::Changed: break;
  }
  queue_.push_back(f);
  return true;
}

int RegionPropagator::Find(int cell) const {
  while (parent_[cell] != cell) cell = parent_[cell];
  return cell;
}

void RegionPropagator::MarkDirty(int cell, bool full) {
  if (full || !sink_) dirtyFull_[cell] = dirtyRound_;
  if (dirtyMark_[cell] == dirtyRound_) return;
  dirtyMark_[cell] = dirtyRound_;
  dirty_.push_back(static_cast<std::int16_t>(cell));
}

// A bound of `from` holds for `to` too, across a "same" edge.
bool RegionPropagator::SyncAcross(int from, int to, int edge) {
  if (lo_[to] < lo_[from]) {
    Because(Same(edge));
    Because(AtLeast(from, lo_[from]));
    if (!Post(AtLeast(to, lo_[from]))) return false;
  }
  if (hi_[to] > hi_[from]) {
    Because(Same(edge));
    Because(AtMost(from, hi_[from]));
    if (!Post(AtMost(to, hi_[from]))) return false;
  }
  return true;
}

// Across an "apart" edge, `to` cannot hold the number `from` is fixed at:
// equal neighbours would be one block.
bool RegionPropagator::ExcludeFixed(int from, int to, int edge) {
  if (!Fixed(from)) return true;
  const int v = lo_[from];
  if (lo_[to] != v && hi_[to] != v) return true;
  Because(Apart(edge));
  Because(AtLeast(from, v));
  Because(AtMost(from, v));
  if (lo_[to] == v) {
    Because(AtLeast(to, v));
    return Post(AtLeast(to, v + 1));
  }
  Because(AtMost(to, v));
  return Post(AtMost(to, v - 1));
}

bool RegionPropagator::Consequences(const Fact& f) {
  const Geometry& g = *g_;
  if (f.kind == FactKind::Same || f.kind == FactKind::Apart) {
    const int a = g.end[f.index][0], b = g.end[f.index][1];
    MarkDirty(a);
    MarkDirty(b);
    if (f.kind == FactKind::Same) return SyncAcross(a, b, f.index) && SyncAcross(b, a, f.index);
    return ExcludeFixed(a, b, f.index) && ExcludeFixed(b, a, f.index);
  }
  const int c = f.index;
  MarkDirty(c);
  for (int d = 0; d < 4; ++d) {
    const int w = g.neighbour[c][d];
    if (w < 0) continue;
    const int e = g.edgeTo[c][d];
    if (edge_[e] == kSame) {
      if (!SyncAcross(c, w, e)) return false;
    } else if (edge_[e] == kApart) {
      if (!ExcludeFixed(c, w, e) || !ExcludeFixed(w, c, e)) return false;
    } else {
      MarkDirty(w, false);
      if (lo_[c] > hi_[w]) {
        // Different numbers: never one block.
        Because(AtLeast(c, hi_[w] + 1));
        Because(AtMost(w, hi_[w]));
        if (!Post(Apart(e))) return false;
      } else if (hi_[c] < lo_[w]) {
        Because(AtMost(c, lo_[w] - 1));
        Because(AtLeast(w, lo_[w]));
        if (!Post(Apart(e))) return false;
      } else if (Fixed(c) && Fixed(w)) {
        // Equal neighbours are one block.
        const int v = lo_[c];
        Because(AtLeast(c, v));
        Because(AtMost(c, v));
        Because(AtLeast(w, v));
        Because(AtMost(w, v));
        if (!Post(Same(e))) return false;
      }
    }
  }
  return true;
}

bool RegionPropagator::Check() {
  ++checkRound_;
  bool ok = true;
  // Regions whose own cells or edges changed get every check; those that
  // only saw a neighbour change skip the walks.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; ok && i < dirty_.size(); ++i) {
      const int cell = dirty_[i];
      const bool full = dirtyFull_[cell] == dirtyRound_;
      if (full != (pass == 0)) continue;
      const int root = Find(cell);
      if (checked_[root] == checkRound_) continue;
      checked_[root] = checkRound_;
      ok = CheckRegion(root, full);
    }
  }
  dirty_.clear();
  ++dirtyRound_;
  return ok;
}

// Walks out from the region of `root` across edges not apart, through cells
// that could belong to a block of n (kAtLeastN: of n or more), until `target`
// cells are found (n when 0). `without` is a cell the walk must not enter.
int RegionPropagator::Reach(int root, int n, ReachFilter filter, int without, int target) {
  const Geometry& g = *g_;
  if (target == 0) target = n;
  const std::uint32_t round = ++seenRound_;
  std::uint32_t* const seen = seen_.data();
  std::int16_t* const walk = walk_.data();
  const std::int8_t* const lo = lo_.data();
  const std::int8_t* const hi = hi_.data();
  // kAtLeastN lets any lower bound through.
  const int top = filter == kExactlyN ? n : kLargest;
  int count = 0;
  if (without >= 0) seen[without] = round;
  int c = root;
  do {
    seen[c] = round;
    walk[count++] = static_cast<std::int16_t>(c);
    c = next_[c];
  } while (c != root);
  for (int head = 0; head < count && count < target; ++head) {
    c = walk[head];
    for (int d = 0; d < 4; ++d) {
      const int w = g.neighbour[c][d];
      if (w < 0 || seen[w] == round || hi[w] < n || lo[w] > top) continue;
      if (edge_[g.edgeTo[c][d]] == kApart) continue;
      seen[w] = round;
      walk[count++] = static_cast<std::int16_t>(w);
    }
  }
  walkCount_ = count;
  return count;
}

// Why the last walk stopped where it did: each way out of it is apart, or
// leads to a cell that cannot hold the number.
void RegionPropagator::ReasonBoundary(int n, ReachFilter filter) {
  const Geometry& g = *g_;
  for (int i = 0; i < walkCount_; ++i) {
    const int c = walk_[i];
    for (int d = 0; d < 4; ++d) {
      const int w = g.neighbour[c][d];
      if (w < 0 || seen_[w] == seenRound_) continue;
      const int e = g.edgeTo[c][d];
      if (edge_[e] == kApart) {
        Because(Apart(e));
      } else if (hi_[w] < n) {
        Because(AtMost(w, n - 1));
      } else if (filter == kExactlyN) {
        Because(AtLeast(w, n + 1));
      }
    }
  }
}

// The "same" edges that hold a region together.
void RegionPropagator::ReasonTree(int root) {
  for (int c = next_[root]; c != root; c = next_[c]) Because(Same(linkEdge_[c]));
}

// Every check below speaks of the bounds of one cell, the root, for all of
// the region: sound only once the bounds have spread along its edges. Until
// then the spread itself marks the region for another check.
bool RegionPropagator::CheckRegion(int root, bool full) {
  RegionView r{root, 0, lo_[root], hi_[root]};
  int c = root;
  do {
    ++r.size;
    if (lo_[c] != r.lo || hi_[c] != r.hi) return true;
    c = next_[c];
  } while (c != root);
  if (!CheckSize(r)) return false;
  if (full && !CheckReach(r)) return false;
  if (r.lo > r.hi) return true;  // a post above met its other bound; the spread reports it
  return SeparateOversized(r) && GrowWhereItMust(r, full);
}

// A block is at least as large as the region that is already joined.
bool RegionPropagator::CheckSize(RegionView& r) {
  if (r.size > r.hi || r.size > kLargest) {
    if (explain_) {
      ReasonTree(r.root);
      if (r.size <= kLargest) Because(AtMost(r.root, r.hi));
    }
    return Fail();
  }
  if (r.size > r.lo) {
    if (explain_) ReasonTree(r.root);
    if (!Post(AtLeast(r.root, r.size))) return false;
    r.lo = r.size;
  }
  return true;
}

// A number the region cannot reach enough cells of is ruled out; a region
// of known number that reaches just enough cells takes them all.
bool RegionPropagator::CheckReach(RegionView& r) {
  const int root = r.root;
  if (r.lo == r.hi) {
    const int n = r.lo;
    if (n <= r.size) return true;
    const int found = Reach(root, n, kExactlyN, -1, n + 1);
    if (found > n) return true;
    if (explain_) {
      ReasonBoundary(n, kExactlyN);
      Because(AtLeast(root, n));
      Because(AtMost(root, n));
    }
    if (found < n) return Fail();
    const int reasons = reasonCount_;
    const int count = walkCount_ - r.size;
    for (int i = 0; i < count; ++i) taken_[i] = walk_[r.size + i];
    for (int i = 0; i < count; ++i) {
      reasonCount_ = reasons;
      if (!Post(AtLeast(taken_[i], n))) return false;
      reasonCount_ = reasons;
      if (!Post(AtMost(taken_[i], n))) return false;
    }
    reasonCount_ = 0;
    return true;
  }
  while (r.hi > r.size && Reach(root, r.hi, kExactlyN) < r.hi) {
    if (explain_) {
      ReasonBoundary(r.hi, kExactlyN);
      Because(AtMost(root, r.hi));
    }
    if (!Post(AtMost(root, r.hi - 1))) return false;
    --r.hi;
  }
  while (r.lo > r.size && r.lo <= r.hi && Reach(root, r.lo, kExactlyN) < r.lo) {
    if (explain_) {
      ReasonBoundary(r.lo, kExactlyN);
      Because(AtLeast(root, r.lo));
    }
    if (!Post(AtLeast(root, r.lo + 1))) return false;
    ++r.lo;
  }
  return true;
}

// Joining a neighbouring region would make a block larger than its number.
bool RegionPropagator::SeparateOversized(const RegionView& r) {
  const Geometry& g = *g_;
  int c = r.root;
  do {
    for (int d = 0; d < 4; ++d) {
      const int e = g.edgeTo[c][d];
      if (e < 0 || edge_[e] != kOpen) continue;
      const int w = g.neighbour[c][d];
      const int other = Find(w);
      if (other == r.root) continue;
      const int joined = r.size + size_[other];
      if (joined <= kLargest && joined <= std::min(r.hi, static_cast<int>(hi_[w]))) continue;
      if (explain_) {
        ReasonTree(r.root);
        ReasonTree(other);
        if (joined <= kLargest) Because(r.hi <= hi_[w] ? AtMost(r.root, r.hi) : AtMost(w, hi_[w]));
      }
      if (!Post(Apart(e))) return false;
    }
    c = next_[c];
  } while (c != r.root);
  return true;
}

// A region that must grow takes its only way out, and any neighbouring cell
// without which too few cells stay in reach.
bool RegionPropagator::GrowWhereItMust(const RegionView& r, bool full) {
  if (r.lo <= r.size) return true;
  const Geometry& g = *g_;
  int exits = 0, exitEdge = -1, cellCount = 0;
  int cells[kExitCells];
  reasonCount_ = 0;
  int c = r.root;
  do {
    for (int d = 0; d < 4; ++d) {
      const int w = g.neighbour[c][d];
      if (w < 0) continue;
      const int e = g.edgeTo[c][d];
      if (edge_[e] == kSame || (edge_[e] == kOpen && Find(w) == r.root)) continue;  // inside
      if (edge_[e] == kApart) {
        if (explain_) Because(Apart(e));
      } else if (hi_[w] < r.lo) {
        if (explain_) Because(AtMost(w, r.lo - 1));
      } else if (lo_[w] > r.hi) {
        if (explain_) Because(AtLeast(w, r.hi + 1));
      } else {
        ++exits;
        exitEdge = e;
        bool listed = false;
        for (int i = 0; i < cellCount; ++i) listed |= cells[i] == w;
        if (!listed && cellCount < kExitCells) cells[cellCount++] = w;
      }
    }
    c = next_[c];
  } while (c != r.root);
  if (explain_) {
    Because(AtLeast(r.root, r.lo));
    Because(AtMost(r.root, r.hi));
  }
  if (exits == 0) return Fail();
  if (exits == 1) return Post(Same(exitEdge));
  reasonCount_ = 0;
  if (!full) return true;
  // Walk from the region without each neighbouring cell in turn: when too
  // few cells remain, the block needs that one. With its number known, the
  // walk keeps to cells that may hold exactly that number.
  const ReachFilter filter = r.lo == r.hi ? kExactlyN : kAtLeastN;
  for (int i = 0; i < cellCount; ++i) {
    const int x = cells[i];
    if (lo_[x] >= r.lo && hi_[x] <= r.hi) continue;
    if (Reach(r.root, r.lo, filter, x) >= r.lo) continue;
    if (explain_) {
      ReasonBoundary(r.lo, filter);
      Because(AtLeast(r.root, r.lo));
      Because(AtMost(r.root, r.hi));
    }
    const int reasons = reasonCount_;
    if (!Post(AtLeast(x, r.lo))) return false;
    reasonCount_ = reasons;
    if (!Post(AtMost(x, r.hi))) return false;
  }
  return true;
}

}  // namespace numbloc::complete
