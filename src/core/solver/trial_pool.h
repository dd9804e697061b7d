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

// One cell of a job: its trials (phases 2 and 3), or its assumptions with
// their checks (the probe).
struct TrialUnit {
  std::int32_t x = 0, y = 0;
  std::uint64_t allowed = 0;  // bit v: try v (phases 2 and 3)
};

// What a unit did, as far as the solver's state after it depends on it. A
// unit is one cell's trials, or one assumption of the probe: a cell's
// assumptions are separate units so that the workers share the cell that
// decides instead of one running it while the others run ahead on work
// that is then thrown away. Kept small: a probe job has a slot for every
// assumption of every cell.
struct UnitResult {
  std::int32_t trials = 0;        // trials run (one unit runs at most cells x numbers)
  std::int32_t conflict[3] = {};  // the conflict column, row and number written last
  std::int8_t fits = 0;           // phases 2, 3: numbers that fit, counted up to 2
  std::int8_t lastFit = 0;        //   the last of them
  std::int8_t progressMade = -1;  // ProgressMade after the unit; -1 unwritten
  bool overfilled = false;        // a placement in the unit overfilled a block
  bool fullPass = false;          // probe: the placement fitted, so the pass ran
  bool survived = false;          // probe: the assumption survived its check
  bool finished = false;          // false: the pool's abort cut it short
};

enum class UnitKind { Trials, Probe };

class TrialPool {
 public:
  static constexpr int kMaxNumber = 99;  // the largest number a trial or assumption may place

  // `workers` threads, each with a solver made from `options` (one thread
  // each, never stopped by the caller's flag: the pool stops them itself).
  TrialPool(int workers, const SolverOptions& options);
  ~TrialPool();
  TrialPool(const TrialPool&) = delete;
  TrialPool& operator=(const TrialPool&) = delete;

  // The caller fills Units()[0..count) and starts a job on a copy of `board`
  // (the board every unit starts from); the previous job must be ended.
  // `limit` is the largest number tried, 1..kMaxNumber.
  TrialUnit* Units() { return units_.get(); }
  const UnitResult* Results() const { return results_.get(); }  // those Wait() returned stay until the next Start
  void Start(UnitKind kind, const BoardState& board, int limit, int count);
  // Unit i's result once it is there; nullptr when `stop` fired first or i
  // is not a unit of the job. Trials: unit i is cell i. Probe: unit
  // c * limit + v - 1 is the assumption v on cell c.
  // Meanwhile `progress` (when given) shows `base` plus every trial run.
  const UnitResult* Wait(int i, const std::atomic<bool>* stop, std::atomic<std::int64_t>* progress,
                         std::int64_t base);
  // Abandons the units not yet taken, cuts short those running and returns
  // once every worker is idle.
  void End();

 private:
  struct Worker;
  static constexpr int kSlots = kPuzzleCells * kMaxNumber;
  // How far a cell's units have been handed out and what came back.
  struct CellProgress {
    std::int16_t next = 1;      // the next number to hand out
    std::int16_t running = 0;   // units handed out, not yet reported
    std::int16_t survived = 0;  // probe: assumptions reported surviving
  };
  void Run(Worker& worker);
  int TakeUnit();  // under mutex_
  int HandOut(int cell);
  bool Exhausted(int cell) const;
  bool LikelyDecides(int cell) const;
  void Report(int i, const UnitResult& result, std::uint32_t job);  // under mutex_

  std::vector<std::unique_ptr<Worker>> workers_;
  std::unique_ptr<BoardState> board_;           // the job's starting board, read-only while it runs
  std::unique_ptr<TrialUnit[]> units_;          // the job's cells, in scan order
  std::unique_ptr<CellProgress[]> cells_;       // by cell, under mutex_
  std::unique_ptr<UnitResult[]> results_;       // the units' results, by unit (kSlots)
  std::unique_ptr<std::atomic<std::uint32_t>[]> ready_;  // job number whose result is in the slot
  UnitKind kind_ = UnitKind::Trials;
  int limit_ = 0;                               // the largest number tried
  int perCell_ = 1;                             // units per cell: 1, or limit_ for the probe
  int cellCount_ = 0;                           // cells in the job; 0 once it ends
  int nextCell_ = 0;                            // the first cell none of whose units was handed out
  int firstOpen_ = 0;                           // cells before it have nothing left to hand out
  std::uint32_t job_ = 0;                       // the running job's number (0: none yet)
  std::atomic<bool> abort_{false};              // stops the workers' trials and takings
  std::atomic<std::int64_t> trialsRun_{0};      // trials of the job so far, wasted ones included
  bool shutdown_ = false;
  int busy_ = 0;                                // workers inside a job
  std::mutex mutex_;
  std::condition_variable wake_;                // workers: a job started, or shut down
  std::condition_variable done_;                // solver: a result came in, or a worker went idle
};

}  // namespace numbloc
