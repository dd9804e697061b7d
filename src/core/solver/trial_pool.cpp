// The worker threads of the parallel trial search and lookahead probe.
#include "core/solver/trial_pool.h"

#include <algorithm>
#include <chrono>

#include "core/solver/solver.h"

namespace numbloc {

struct TrialPool::Worker {
  std::unique_ptr<BoardState> state = std::make_unique<BoardState>();
  std::unique_ptr<Solver> solver;
  std::uint32_t seenJob = 0;  // the last job it joined
  std::thread thread;
};

TrialPool::TrialPool(int workers, const SolverOptions& options)
    : board_(std::make_unique<BoardState>()),
      units_(std::make_unique<TrialUnit[]>(kPuzzleCells)),
      cells_(std::make_unique<CellProgress[]>(kPuzzleCells)),
      results_(std::make_unique<UnitResult[]>(kSlots)),
      ready_(std::make_unique<std::atomic<std::uint32_t>[]>(kSlots)) {
  SolverOptions own = options;
  own.threads = 1;
  own.stop = &abort_;
  own.progress = nullptr;
  for (int i = 0; i < workers; ++i) {
    auto worker = std::make_unique<Worker>();
    worker->solver = std::make_unique<Solver>(*worker->state, own);
    workers_.push_back(std::move(worker));
  }
  for (auto& worker : workers_) worker->thread = std::thread([this, w = worker.get()] { Run(*w); });
}

TrialPool::~TrialPool() {
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
    abort_ = true;
  }
  wake_.notify_all();
  for (auto& worker : workers_) worker->thread.join();
}

void TrialPool::Start(UnitKind kind, const BoardState& board, int limit, int count) {
  std::lock_guard lock(mutex_);
  *board_ = board;
  kind_ = kind;
  limit_ = std::clamp(limit, 1, kMaxNumber);
  perCell_ = kind == UnitKind::Probe ? limit_ : 1;
  cellCount_ = std::clamp(count, 0, kPuzzleCells);
  std::fill(cells_.get(), cells_.get() + cellCount_, CellProgress{});
  nextCell_ = 0;
  firstOpen_ = 0;
  trialsRun_ = 0;
  abort_ = false;
  if (++job_ == 0) job_ = 1;  // 0 marks an empty slot
  wake_.notify_all();
}

const UnitResult* TrialPool::Wait(int i, const std::atomic<bool>* stop, std::atomic<std::int64_t>* progress,
                                  std::int64_t base) {
  if (i < 0 || i >= kSlots) return nullptr;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (ready_[i].load(std::memory_order_acquire) == job_) return &results_[i];
    if (stop && stop->load(std::memory_order_relaxed)) return nullptr;
    if (progress) progress->store(base + trialsRun_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    // A result wakes the wait; the timeout only serves the stop flag and the progress.
    done_.wait_for(lock, std::chrono::milliseconds(20));
  }
}

void TrialPool::End() {
  std::unique_lock lock(mutex_);
  abort_ = true;
  cellCount_ = 0;
  done_.wait(lock, [this] { return busy_ == 0; });
}

// A cell has nothing left to hand out once every number was, or (probe)
// once two of its assumptions survived: the probe then leaves the cell.
bool TrialPool::Exhausted(int cell) const {
  return cells_[cell].next > perCell_ || cells_[cell].survived >= 2;
}

int TrialPool::HandOut(int cell) {
  ++cells_[cell].running;
  return cell * perCell_ + cells_[cell].next++ - 1;
}

// The next unit to run, -1 when none is left. First the earliest one the
// solver will surely take unless an earlier cell decides: a probe
// assumption is sure when fewer than two of the cell's earlier ones can
// have survived. Then a cell's next assumption when the cell is likely to
// decide, then the first unit of a new cell. Only at the job's end, rather
// than idle, one that may prove unneeded. The order changes only what is
// wasted, never a result.
int TrialPool::TakeUnit() {
  while (firstOpen_ < nextCell_ && Exhausted(firstOpen_)) ++firstOpen_;
  for (int c = firstOpen_; c < nextCell_; ++c) {
    if (!Exhausted(c) && cells_[c].survived + cells_[c].running < 2) return HandOut(c);
  }
  for (int c = firstOpen_; c < nextCell_; ++c) {
    if (!Exhausted(c) && LikelyDecides(c)) return HandOut(c);
  }
  if (nextCell_ < cellCount_) return HandOut(nextCell_++);
  for (int c = firstOpen_; c < nextCell_; ++c) {
    if (!Exhausted(c)) return HandOut(c);
  }
  return -1;
}

// A cell whose one survivor so far was followed by an assumption that died
// tends to see the rest die too, and then it decides: the work that runs
// ahead on later cells is then lost, so its own next assumption goes first.
bool TrialPool::LikelyDecides(int cell) const {
  if (cells_[cell].survived != 1) return false;
  const int first = cell * perCell_, end = first + cells_[cell].next - 1;
  bool survivorSeen = false;
  for (int j = first; j < end; ++j) {
    if (ready_[j].load(std::memory_order_relaxed) != job_) continue;
    if (results_[j].survived) {
      survivorSeen = true;
    } else if (survivorSeen) {
      return true;
    }
  }
  return false;
}

void TrialPool::Report(int i, const UnitResult& result, std::uint32_t job) {
  CellProgress& cell = cells_[i / perCell_];
  --cell.running;
  if (result.survived) ++cell.survived;
  results_[i] = result;
  ready_[i].store(job, std::memory_order_release);
}

void TrialPool::Run(Worker& worker) {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return shutdown_ || (job_ != worker.seenJob && cellCount_ > 0); });
    if (shutdown_) return;
    worker.seenJob = job_;
    const std::uint32_t job = job_;
    const UnitKind kind = kind_;
    const int limit = limit_, perCell = perCell_;
    ++busy_;
    lock.unlock();

    Solver& solver = *worker.solver;
    solver.BeginUnits(*board_, kind);
    int i = -1;
    UnitResult result;
    for (;;) {
      {
        std::lock_guard take(mutex_);
        if (i >= 0) Report(i, result, job);
        i = abort_.load(std::memory_order_relaxed) ? -1 : TakeUnit();
      }
      done_.notify_all();
      if (i < 0) break;
      const TrialUnit& unit = units_[i / perCell];
      const std::int64_t before = solver.Work.trials;
      result = kind == UnitKind::Trials ? solver.RunTrialUnit(unit, limit)
                                        : solver.RunProbeAssumption(unit, i % perCell + 1, limit);
      trialsRun_.fetch_add(solver.Work.trials - before, std::memory_order_relaxed);
      if (!result.finished) break;
    }

    lock.lock();
    --busy_;
    done_.notify_all();
  }
}

}  // namespace numbloc
