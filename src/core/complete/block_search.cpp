// The search loop: propagate (clauses, then regions) to a fixpoint; on a
// conflict learn a clause and jump back; otherwise choose a literal; restart
// now and then on the Luby sequence.
#include "core/complete/block_search.h"

#include <algorithm>
#include <cmath>

namespace numbloc::complete {

using Minisat::CRef;
using Minisat::CRef_Undef;
using Minisat::Lit;
using Minisat::lbool;
using Minisat::lit_Undef;
using Minisat::mkLit;
using Minisat::var;

namespace {

constexpr int kRestartBase = 100;       // conflicts before the first restart
constexpr double kLearntsBase = 2000;    // learnt clauses kept at first, at least...
constexpr double kLearntsPerVar = 0.25;  // ...or this many per variable
constexpr double kGarbageShare = 0.8;    // freed clause memory that triggers a collection
constexpr int kRestartsPerBest = 32;     // restarts before the longest trail is forgotten

// The x-th term (from 0) of the Luby sequence 1 1 2 1 1 2 4 ..., as a power of y.
double Luby(double y, int x) {
  int size = 1, seq = 0;
  while (size < x + 1) {
    ++seq;
    size = 2 * size + 1;
  }
  while (size - 1 != x) {
    size = (size - 1) >> 1;
    --seq;
    x %= size;
  }
  return std::pow(y, seq);
}

}  // namespace

bool StopRule::Fired() const {
  if (flag && flag->load(std::memory_order_relaxed)) return true;
  return hasDeadline && std::chrono::steady_clock::now() >= deadline;
}

BlockSearch::BlockSearch(RegionPropagator& prop) : prop_(prop) {
  const Geometry& g = prop.Grid();
  baseLo_.resize(g.cells);
  baseHi_.resize(g.cells);
  cellVar_.assign(g.cells, -1);
  for (int c = 0; c < g.cells; ++c) {
    baseLo_[c] = static_cast<std::int8_t>(prop.Lo(c));
    baseHi_[c] = static_cast<std::int8_t>(prop.Hi(c));
    if (baseLo_[c] == baseHi_[c]) continue;
    cellVar_[c] = nVars();
    for (int v = baseLo_[c] + 1; v <= baseHi_[c]; ++v) {
      const int x = newVar();
      meaning_.push_back({static_cast<std::int16_t>(c), static_cast<std::int8_t>(v)});
      // number >= v needs number >= v - 1.
      if (v > baseLo_[c] + 1) addClause(~mkLit(x), mkLit(x - 1));
    }
  }
  edgeVar_.assign(g.edges, -1);
  baseEdge_.resize(g.edges);
  for (int e = 0; e < g.edges; ++e) {
    baseEdge_[e] = prop.Edge(e);
    if (baseEdge_[e] != kOpen) continue;
    // Numbers decide edges (equal neighbours join, others part), and the
    // search found solutions far sooner choosing numbers alone.
    edgeVar_[e] = newVar(l_Undef, false);
    meaning_.push_back({static_cast<std::int16_t>(e), 0});
  }
  floating_.assign(nVars(), 0);
  litMark_.assign(nVars(), 0);
  bestPhase_.assign(nVars(), 0);
  max_learnts = std::max(kLearntsBase, nVars() * kLearntsPerVar);
  // Reasons are made and freed at every step: collect the waste less often
  // than after every fifth word, as copying the live clauses costs more.
  garbage_frac = kGarbageShare;
  nextRestart_ = kRestartBase;
  prop_.Attach(this);
  prop_.MarkAllDirty();
}

BlockSearch::~BlockSearch() { prop_.Attach(nullptr); }

SearchStats BlockSearch::Stats() const {
  SearchStats s;
  s.decisions = static_cast<std::int64_t>(decisions);
  s.conflicts = static_cast<std::int64_t>(conflicts);
  s.propagations = static_cast<std::int64_t>(propagations);
  s.unjustified = unjustified_;
  return s;
}

Lit BlockSearch::LitOf(const Fact& f, Constant& constant) const {
  constant = Constant::None;
  switch (f.kind) {
    case FactKind::AtLeast:
    case FactKind::AtMost: {
      const int c = f.index;
      const bool atMost = f.kind == FactKind::AtMost;
      const int v = atMost ? f.value + 1 : f.value;  // at most v-1 is "not at least v"
      if (v <= baseLo_[c]) {
        constant = atMost ? Constant::False : Constant::True;
        return lit_Undef;
      }
      if (v > baseHi_[c]) {
        constant = atMost ? Constant::True : Constant::False;
        return lit_Undef;
      }
      return mkLit(cellVar_[c] + v - baseLo_[c] - 1, atMost);
    }
    case FactKind::Same:
    case FactKind::Apart: {
      const bool apart = f.kind == FactKind::Apart;
      const int e = f.index;
      if (edgeVar_[e] < 0) {
        const bool same = baseEdge_[e] == kSame;
        constant = same != apart ? Constant::True : Constant::False;
        return lit_Undef;
      }
      return mkLit(edgeVar_[e], apart);
    }
    case FactKind::Never:
      break;
  }
  constant = Constant::False;
  return lit_Undef;
}

Fact BlockSearch::FactOf(Lit lit) const {
  const Meaning& m = meaning_[var(lit)];
  if (m.value == 0) return sign(lit) ? Apart(m.index) : Same(m.index);
  return sign(lit) ? AtMost(m.index, m.value - 1) : AtLeast(m.index, m.value);
}

bool BlockSearch::Deduce(const Fact& fact, const Fact* reasons, int count) {
  Constant fc;
  const Lit p = LitOf(fact, fc);
  if (fc == Constant::True) return true;
  if (fc == Constant::None && value(p) == l_True) return true;
  ++litRound_;
  clause_.clear();
  if (fc == Constant::None) {
    clause_.push(p);
    litMark_[var(p)] = litRound_;
  }
  for (int i = 0; i < count; ++i) {
    Constant rc;
    const Lit q = LitOf(reasons[i], rc);
    if (rc == Constant::True) continue;
    if (rc == Constant::False || value(q) != l_True) {
      // A reason that does not hold would teach the search a false clause.
      ++unjustified_;
      return true;
    }
    if (litMark_[var(q)] == litRound_) continue;
    litMark_[var(q)] = litRound_;
    clause_.push(~q);
  }
  if (fc == Constant::None && value(p) == l_Undef) {
    const CRef reason = ca.alloc(clause_, false);
    uncheckedEnqueue(p, reason);
    floating_[var(p)] = 1;
    return true;
  }
  clause_.copyTo(conflict_);
  return false;
}

// Clause propagation and the region checks, in turn, until neither adds
// anything. Returns a conflicting clause or CRef_Undef.
CRef BlockSearch::PropagateAll() {
  for (;;) {
    const CRef confl = propagate();
    if (confl != CRef_Undef) return confl;
    const int end = trail.size();
    bool ok = true;
    while (ok && applied_ < end) {
      ok = prop_.Apply(FactOf(trail[applied_]), applied_);
      ++applied_;
    }
    if (!ok) return PropagatorConflict();
    // The cheap consequences first: the region checks wait until clauses
    // and bounds along edges have nothing more to add.
    if (trail.size() != end) continue;
    if (!prop_.Check()) return PropagatorConflict();
    if (trail.size() == end) return CRef_Undef;
  }
}

// The propagator's conflict as a clause, analysed at the level where it
// became false: jump back there first when it was false earlier.
CRef BlockSearch::PropagatorConflict() {
  int top = 0;
  for (int i = 0; i < conflict_.size(); ++i) top = std::max(top, level(var(conflict_[i])));
  if (top == 0) {
    unsat_ = true;
    ok = false;
    return CRef_Undef;
  }
  if (top < decisionLevel()) Backtrack(top);
  madeConflict_ = ca.alloc(conflict_, false);
  return madeConflict_;
}

void BlockSearch::Backtrack(int level) {
  if (decisionLevel() <= level) return;
  const int stamp = trail_lim[level];
  for (int i = trail.size() - 1; i >= stamp; --i) {
    const Minisat::Var v = var(trail[i]);
    if (floating_[v]) {
      floating_[v] = 0;
      ca.free(vardata[v].reason);
    }
  }
  prop_.Undo(stamp);
  applied_ = std::min(applied_, stamp);
  cancelUntil(level);
}

void BlockSearch::Learn(Minisat::vec<Lit>& learnt) {
  if (learnt.size() == 1) {
    uncheckedEnqueue(learnt[0]);
    return;
  }
  const CRef cr = ca.alloc(learnt, true);
  learnts.push(cr);
  attachClause(cr);
  claBumpActivity(ca[cr]);
  uncheckedEnqueue(learnt[0], cr);
}

void BlockSearch::RequireOneOf(const Fact* facts, int count) {
  clause_.clear();
  for (int i = 0; i < count; ++i) {
    Constant constant;
    const Lit lit = LitOf(facts[i], constant);
    if (constant == Constant::True) return;  // holds already
    if (constant == Constant::None) clause_.push(lit);
  }
  Backtrack(0);
  if (!addClause_(clause_)) unsat_ = true;
}

void BlockSearch::PreferNumbers(const std::uint8_t* numbers) {
  for (int v = 0; v < nVars(); ++v) {
    const Meaning& m = meaning_[static_cast<std::size_t>(v)];
    if (m.value == 0) continue;  // an edge: the numbers decide it
    const bool atLeast = numbers[m.index] >= m.value;
    polarity[v] = !atLeast;  // the library's polarity true picks the negative literal
    bestPhase_[static_cast<std::size_t>(v)] = atLeast ? 2 : 1;
  }
  preferred_ = true;  // every restart returns to them
}

// Restarts resume from the phases of the longest trail seen lately: a search
// that came close to a solution mostly needs a local change, and found
// solutions of large puzzles many times sooner so. The longest trail is
// forgotten now and then, so that it follows the search.
void BlockSearch::RememberLongestTrail() {
  if (preferred_ || trail.size() <= bestTrail_) return;
  bestTrail_ = trail.size();
  for (int i = 0; i < trail.size(); ++i) bestPhase_[var(trail[i])] = sign(trail[i]) ? 1 : 2;
}

void BlockSearch::Restart() {
  Backtrack(0);
  ++restarts_;
  for (int v = 0; v < nVars(); ++v) {
    if (bestPhase_[v]) polarity[v] = bestPhase_[v] == 1;
  }
  if (restarts_ % kRestartsPerBest == 0) bestTrail_ = 0;
  nextRestart_ = static_cast<std::int64_t>(conflicts) +
                 static_cast<std::int64_t>(Luby(2, restarts_) * kRestartBase);
  checkGarbage();
}

BlockSearch::Outcome BlockSearch::Next(const StopRule& stop) {
  for (std::uint32_t step = 0;; ++step) {
    if (unsat_) return Outcome::Exhausted;
    if ((step & 63) == 0 && stop.progress) {
      stop.progress->store(static_cast<std::int64_t>(decisions + conflicts), std::memory_order_relaxed);
    }
    if (((step & 63) == 0 && stop.Fired()) ||
        (stop.maxConflicts > 0 && static_cast<std::int64_t>(conflicts) >= stop.maxConflicts)) {
      Backtrack(0);
      return Outcome::Stopped;
    }
    const CRef confl = PropagateAll();
    if (unsat_) return Outcome::Exhausted;
    if (confl != CRef_Undef) {
      RememberLongestTrail();
      ++conflicts;
      if (decisionLevel() == 0) {
        unsat_ = true;
        ok = false;
        return Outcome::Exhausted;
      }
      learnt_.clear();
      int backTo = 0;
      analyze(confl, learnt_, backTo);
      if (confl == madeConflict_) {
        ca.free(confl);  // made for this conflict alone
        madeConflict_ = CRef_Undef;
      }
      Backtrack(backTo);
      checkGarbage();
      Learn(learnt_);
      // The learnt clauses may grow in number, ever more slowly.
      if (--growCountdown_ == 0) {
        growInterval_ *= 1.5;
        growCountdown_ = static_cast<std::int64_t>(growInterval_);
        max_learnts *= 1.1;
      }
      varDecayActivity();
      claDecayActivity();
      continue;
    }
    if (static_cast<std::int64_t>(conflicts) >= nextRestart_) {
      Restart();
      continue;
    }
    if (learnts.size() - nAssigns() >= max_learnts) reduceDB();
    Lit next = pickBranchLit();
    if (next == lit_Undef) next = OpenEdge();
    if (next == lit_Undef) return Outcome::Found;
    ++decisions;
    newDecisionLevel();
    uncheckedEnqueue(next);
  }
}

// Fixed numbers decide every edge, so this finds nothing unless the
// propagator missed one; deciding it then keeps every model complete.
Lit BlockSearch::OpenEdge() const {
  for (const int v : edgeVar_) {
    if (v >= 0 && value(v) == l_Undef) return mkLit(v, true);
  }
  return lit_Undef;
}

// The edges decide a filling (each block is as large as its number), so a
// clause that some edge differs rules out exactly the filling found.
void BlockSearch::ExcludeFound() {
  clause_.clear();
  for (int e = 0; e < static_cast<int>(edgeVar_.size()); ++e) {
    if (edgeVar_[e] < 0) continue;
    const Lit lit = mkLit(edgeVar_[e]);
    clause_.push(value(lit) == l_True ? ~lit : lit);
  }
  Backtrack(0);
  if (!addClause_(clause_)) unsat_ = true;
}

}  // namespace numbloc::complete
