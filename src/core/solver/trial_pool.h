// Worker threads that run the independent units of the trial search (phases
// 2 and 3) and of the lookahead probe ahead of the solver, each worker on a
// solver and a board of its own. The solver takes their results strictly in
// scan order and stops at the first unit that decides, so what it leaves is
// exactly what running the units one after another leaves.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/board/board_state.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

class Solver;
struct SolverOptions;

// One unit: the trials of one empty cell (phases 2 and 3), or every
// assumption of one empty cell with its check (the probe).
struct TrialUnit {
  std::int32_t x = 0, y = 0;
  std::uint64_t allowed = 0;  // bit v: try v (phases 2 and 3)
};

// What a unit did, as far as the solver's state after it depends on it.
struct UnitResult {
  std::int32_t fits = 0;           // phases 2, 3: numbers that fit, counted up to 2
  std::int32_t lastFit = 0;        //   the last of them
  std::uint64_t survived = 0;      // probe: bit v when assumption v survived its check
  std::int32_t lastAssumed = 0;    //   the last number assumed
  std::int32_t lastFullPass = 0;   //   the last assumption whose pass ran (its placement fitted), 0 none
  std::int32_t overfillAt = 0;     // 1 when a placement in the unit overfilled a block
  std::int32_t conflict[3] = {};   // the conflict column, row and number written last
  std::int32_t progressMade = -1;  // ProgressMade after the unit (probe: after its last check); -1 unwritten
  std::int64_t trials = 0;         // trials run
  bool finished = false;           // false: the pool's abort cut it short
};

enum class UnitKind { Trials, Probe };

class TrialPool {
 public:
  // `workers` threads, each with a solver made from `options` (one thread
  // each, never stopped by the caller's flag: the pool stops them itself).
  TrialPool(int workers, const SolverOptions& options);
  ~TrialPool();
  TrialPool(const TrialPool&) = delete;
  TrialPool& operator=(const TrialPool&) = delete;

  // The caller fills Units()[0..count) and starts a job on a copy of `board`
  // (the board every unit starts from); the previous job must be ended.
  TrialUnit* Units() { return units_.get(); }
  const UnitResult* Results() const { return results_.get(); }  // those Wait() returned stay until the next Start
  void Start(UnitKind kind, const BoardState& board, int limit, int count);
  // Unit i's result once it is there; nullptr when `stop` fired first.
  // Meanwhile `progress` (when given) shows `base` plus every trial run.
  const UnitResult* Wait(int i, const std::atomic<bool>* stop, std::atomic<std::int64_t>* progress,
                         std::int64_t base);
  // Abandons the units not yet taken, cuts short those running and returns
  // once every worker is idle.
  void End();

 private:
  struct Worker;
  void Run(Worker& worker);

  std::vector<std::unique_ptr<Worker>> workers_;
  std::unique_ptr<BoardState> board_;           // the job's starting board, read-only while it runs
  std::unique_ptr<TrialUnit[]> units_;          // the job's units, in scan order
  std::unique_ptr<UnitResult[]> results_;       // their results, by unit
  std::unique_ptr<std::atomic<std::uint32_t>[]> ready_;  // job number whose result is in the slot
  UnitKind kind_ = UnitKind::Trials;
  int limit_ = 0;                               // the largest number tried
  int count_ = 0;                               // units in the job
  std::uint32_t job_ = 0;                       // the running job's number (0: none yet)
  std::atomic<int> next_{0};                    // the next unit to take
  std::atomic<bool> abort_{false};              // stops the workers' trials and takings
  std::atomic<std::int64_t> trialsRun_{0};      // trials of the job so far, wasted ones included
  bool shutdown_ = false;
  int busy_ = 0;                                // workers inside a job
  std::mutex mutex_;
  std::condition_variable wake_;                // workers: a job started, or shut down
  std::condition_variable done_;                // solver: a result came in, or a worker went idle
};

}  // namespace numbloc
