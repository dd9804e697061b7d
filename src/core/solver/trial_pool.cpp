// The worker threads of the parallel trial search and lookahead probe.
#include "core/solver/trial_pool.h"

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
      results_(std::make_unique<UnitResult[]>(kPuzzleCells)),
      ready_(std::make_unique<std::atomic<std::uint32_t>[]>(kPuzzleCells)) {
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
  limit_ = limit;
  count_ = count;
  next_ = 0;
  trialsRun_ = 0;
  abort_ = false;
  if (++job_ == 0) job_ = 1;  // 0 marks an empty slot
  wake_.notify_all();
}

const UnitResult* TrialPool::Wait(int i, const std::atomic<bool>* stop, std::atomic<std::int64_t>* progress,
                                  std::int64_t base) {
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
  count_ = 0;
  done_.wait(lock, [this] { return busy_ == 0; });
}

void TrialPool::Run(Worker& worker) {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return shutdown_ || (job_ != worker.seenJob && count_ > 0); });
    if (shutdown_) return;
    worker.seenJob = job_;
    const std::uint32_t job = job_;
    const UnitKind kind = kind_;
    const int limit = limit_, count = count_;
    ++busy_;
    lock.unlock();

    Solver& solver = *worker.solver;
    solver.BeginUnits(*board_, kind);
    for (int i; !abort_.load(std::memory_order_relaxed) && (i = next_.fetch_add(1)) < count;) {
      const TrialUnit& unit = units_[i];
      const std::int64_t before = solver.Work.trials;
      UnitResult result = kind == UnitKind::Trials ? solver.RunTrialUnit(unit, limit) : solver.RunProbeUnit(unit, limit);
      trialsRun_.fetch_add(solver.Work.trials - before, std::memory_order_relaxed);
      if (!result.finished) break;
      results_[i] = result;
      ready_[i].store(job, std::memory_order_release);
      {
        std::lock_guard notify(mutex_);
      }
      done_.notify_all();
    }

    lock.lock();
    --busy_;
    done_.notify_all();
  }
}

}  // namespace numbloc
