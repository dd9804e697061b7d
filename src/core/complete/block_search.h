// The clause-learning search of the complete solver: the SAT library's
// propagation, conflict analysis and backjumping, driven by a loop of ours
// that consults the region propagator at every fixpoint and learns from the
// reasons it gives.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include <minisat/core/Solver.h>

#include "core/complete/region_propagator.h"

namespace numbloc::complete {

struct SearchStats {
  std::int64_t decisions = 0;
  std::int64_t conflicts = 0;
  std::int64_t propagations = 0;
  std::int64_t unjustified = 0;  // deductions dropped for a reason that did not hold (a fault)
};

// When to give up: a stop flag, a deadline, or neither.
struct StopRule {
  const std::atomic<bool>* flag = nullptr;
  std::atomic<std::int64_t>* progress = nullptr;  // steps (decisions and conflicts), when asked
  bool hasDeadline = false;
  std::chrono::steady_clock::time_point deadline;
  std::int64_t maxConflicts = 0;  // stop after this many conflicts of one search; 0: never
  bool Fired() const;
};

class BlockSearch : public Minisat::Solver, private DeductionSink {
 public:
  // Variables for what `prop` leaves open: "same block" for each open edge,
  // "number >= v" for each v inside a cell's bounds. `prop` is attached.
  explicit BlockSearch(RegionPropagator& prop);
  ~BlockSearch() override;
  BlockSearch(const BlockSearch&) = delete;
  BlockSearch& operator=(const BlockSearch&) = delete;

  enum class Outcome { Found, Exhausted, Stopped };
  // Searches for an assignment that obeys every rule. On Found the
  // propagator's bounds hold the numbers, each cell fixed.
  Outcome Next(const StopRule& stop);
  // Rules out the assignment just found (its edges), so that Next looks for
  // another one.
  void ExcludeFound();
  // Only assignments where one of the facts holds count from now on.
  void RequireOneOf(const Fact* facts, int count);
  // Decides each cell's number first as `numbers` has it (row by row), so
  // that the search looks near a known filling before anywhere else.
  void PreferNumbers(const std::uint8_t* numbers);
  SearchStats Stats() const;

 private:
  struct Meaning {
    std::int16_t index;  // edge or cell
    std::int8_t value;   // threshold v for "number >= v"; 0 for an edge
  };
  enum class Constant { True, False, None };

  bool Deduce(const Fact& fact, const Fact* reasons, int count) override;
  Minisat::Lit LitOf(const Fact& f, Constant& constant) const;
  Fact FactOf(Minisat::Lit lit) const;
  Minisat::CRef PropagateAll();
  Minisat::CRef PropagatorConflict();
  void Backtrack(int level);
  void Learn(Minisat::vec<Minisat::Lit>& learnt);
  void Restart();
  void RememberLongestTrail();
  Minisat::Lit OpenEdge() const;

  RegionPropagator& prop_;
  std::vector<std::int8_t> baseLo_, baseHi_;  // per cell: bounds when the search began
  std::vector<int> cellVar_;                  // per cell: variable of "number >= baseLo + 1"
  std::vector<int> edgeVar_;                  // per edge: its variable, -1 when decided
  std::vector<std::uint8_t> baseEdge_;        // per edge: state when the search began
  std::vector<Meaning> meaning_;              // per variable
  std::vector<char> floating_;                // per variable: its reason is ours to free
  std::vector<std::uint32_t> litMark_;        // per variable: already in the clause being built
  std::uint32_t litRound_ = 1;
  Minisat::vec<Minisat::Lit> clause_;         // the clause being built
  Minisat::vec<Minisat::Lit> conflict_;       // the propagator's last conflict, all false
  Minisat::vec<Minisat::Lit> learnt_;         // conflict analysis output
  Minisat::CRef madeConflict_ = Minisat::CRef_Undef;  // the propagator's conflict clause, freed after analysis
  bool unsat_ = false;                        // no assignment is left
  int applied_ = 0;                           // trail entries the propagator has seen
  int restarts_ = 0;
  std::int64_t nextRestart_ = 0;              // conflicts at which to restart
  double growInterval_ = 100;                 // conflicts between raises of max_learnts
  std::int64_t growCountdown_ = 100;          // conflicts until the next raise
  std::int64_t unjustified_ = 0;
  int bestTrail_ = 0;                         // the longest trail since it was last forgotten
  std::vector<char> bestPhase_;               // per variable: 0 unknown, 1 false, 2 true on that trail
  bool preferred_ = false;                    // bestPhase_ holds preferred numbers, not a trail
};

}  // namespace numbloc::complete
