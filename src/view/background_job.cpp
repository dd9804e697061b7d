// Running the solvers on the thread pool and handing their results back to
// the window's thread.
#include "view/background_job.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <thread>

#include "core/solver/solver.h"

namespace numbloc {

namespace {

// The cell a hint fills: the first, in reading order, that one sweep of the
// deduction rules fills from the hints and the player's correct numbers;
// failing that, the first empty cell. Its number comes from the solution.
void ChooseHint(const BoardState& state, const complete::Filling& solution, JobResult& result) {
  const int w = state.BoardWidth, h = state.BoardHeight;
  auto copy = std::make_unique<BoardState>(state);
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      std::uint8_t& n = copy->Board[x][y].number;
      const int truth = solution.number[(y - 1) * w + (x - 1)];
      if (n >= 100) n = n - 100 == truth ? static_cast<std::uint8_t>(truth) : 0;
    }
  }
  copy->MaxNumber = DeriveMaxNumber(w, h);
  auto solver = std::make_unique<Solver>(*copy);
  solver->InitSolver();
  const BoardState before = *copy;
  solver->Sweep();
  for (int pass = 0; pass < 2 && result.hintColumn == 0; ++pass) {
    for (int y = 1; y <= h && result.hintColumn == 0; ++y) {
      for (int x = 1; x <= w && result.hintColumn == 0; ++x) {
        if (state.Board[x][y].number != 0) continue;
        const bool deduced = copy->Board[x][y].number != before.Board[x][y].number;
        if (pass == 0 && !deduced) continue;
        result.hintColumn = x;
        result.hintRow = y;
        result.hintNumber = solution.number[(y - 1) * w + (x - 1)];
      }
    }
  }
}

}  // namespace

JobResult RunJob(JobKind kind, BoardState state, const std::atomic<bool>* stop,
                 std::atomic<std::int64_t>* progress, complete::GenerateOptions generate) {
  JobResult result;
  result.kind = kind;
  if (kind == JobKind::Generate) {
    generate.stop = stop;
    generate.progress = progress;
    complete::GenerateResult made = complete::Generate(generate);
    result.generated = made.status;
    result.stopped = made.status == complete::GenerateStatus::Stopped;
    result.generatedHints = made.hints;
    result.board = std::move(made.puzzle);
    return result;
  }
  if (kind == JobKind::AutoSolve) {
    SolverOptions options;
    options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    options.stop = stop;
    options.progress = progress;
    result.stopped = !SolveLikeTheButton(state, options);
  } else {
    complete::CompleteOptions options;
    options.stop = stop;
    options.progress = progress;
    result.complete = complete::CompleteSolver(options).Solve(state);
    result.stopped = result.complete.verdict == complete::Verdict::Stopped;
    if (kind == JobKind::Hint && result.complete.verdict == complete::Verdict::Unique) {
      ChooseHint(state, result.complete.solution, result);
    }
  }
  result.board = state;
  return result;
}

BackgroundJob::BackgroundJob(QObject* parent)
    : QObject(parent), progress_(std::make_shared<std::atomic<std::int64_t>>(0)) {}

BackgroundJob::~BackgroundJob() { StopAndWait(); }

void BackgroundJob::Start(JobKind kind, const BoardState& state,
                          const complete::GenerateOptions& generate) {
  StopAndWait();
  kind_ = kind;
  running_ = true;
  shared_ = std::make_shared<Shared>();
  progress_ = std::make_shared<std::atomic<std::int64_t>>(0);
  clock_.start();
  watcher_ = new QFutureWatcher<JobResult>(this);
  connect(watcher_, &QFutureWatcher<JobResult>::finished, this, &BackgroundJob::Collect);
  // The job holds its own references: a dropped job may outlive this call.
  watcher_->setFuture(QtConcurrent::run([kind, state, generate, shared = shared_, progress = progress_] {
    return RunJob(kind, state, &shared->stop, progress.get(), generate);
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
