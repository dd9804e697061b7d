// Running the solvers on the thread pool and handing their results back to
// the window's thread.
#include "view/background_job.h"

#include <QtConcurrent/QtConcurrentRun>

#include "core/solver/solver.h"

namespace numbloc {

JobResult RunJob(JobKind kind, BoardState state, const std::atomic<bool>* stop,
                 std::atomic<std::int64_t>* progress) {
  JobResult result;
  result.kind = kind;
  if (kind == JobKind::AutoSolve) {
    SolverOptions options;
    options.stop = stop;
    options.progress = progress;
    auto solver = std::make_unique<Solver>(state, options);
    solver->AutoSolve();
    result.stopped = solver->Stopped();
  } else {
    complete::CompleteOptions options;
    options.stop = stop;
    options.progress = progress;
    result.complete = complete::CompleteSolver(options).Solve(state);
    result.stopped = result.complete.verdict == complete::Verdict::Stopped;
  }
  result.board = state;
  return result;
}

BackgroundJob::BackgroundJob(QObject* parent)
    : QObject(parent), progress_(std::make_shared<std::atomic<std::int64_t>>(0)) {}

BackgroundJob::~BackgroundJob() { StopAndWait(); }

void BackgroundJob::Start(JobKind kind, const BoardState& state) {
  StopAndWait();
  kind_ = kind;
  running_ = true;
  shared_ = std::make_shared<Shared>();
  progress_ = std::make_shared<std::atomic<std::int64_t>>(0);
  clock_.start();
  watcher_ = new QFutureWatcher<JobResult>(this);
  connect(watcher_, &QFutureWatcher<JobResult>::finished, this, &BackgroundJob::Collect);
  // The job holds its own references: a dropped job may outlive this call.
  watcher_->setFuture(QtConcurrent::run([kind, state, shared = shared_, progress = progress_] {
    return RunJob(kind, state, &shared->stop, progress.get());
  }));
}

void BackgroundJob::Cancel() {
  if (running_) shared_->stop.store(true, std::memory_order_relaxed);
}

void BackgroundJob::StopAndWait() {
  if (!watcher_) return;
  shared_->stop.store(true, std::memory_order_relaxed);
  watcher_->disconnect(this);
  watcher_->waitForFinished();
  watcher_->deleteLater();
  watcher_ = nullptr;
  running_ = false;
}

double BackgroundJob::ElapsedSeconds() const {
  return clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0;
}

void BackgroundJob::Collect() {
  const JobResult result = watcher_->result();
  watcher_->deleteLater();
  watcher_ = nullptr;
  running_ = false;
  emit finished(result);
}

}  // namespace numbloc
