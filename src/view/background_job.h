// Long work off the window's thread: the automatic solve and the complete
// solver run on a copy of the board, one job at a time, with a stop flag, a
// progress count the window reads, and a result the window takes over in one
// step when the job ends.
#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>

#include "core/board/board_state.h"
#include "core/complete/complete_solver.h"
#include "core/complete/generator.h"

namespace numbloc {

enum class JobKind {
  AutoSolve,      // the automatic solve, as the button runs it
  Count,          // the complete solver: one, several or no solution
  CompleteSolve,  // the complete solver, to write a unique solution
  LiveVerdict,    // the complete solver after each change in Creation mode
  CheckEntries,   // the complete solver, to compare the player's numbers with
  Hint,           // the complete solver and the deduction rules, for one number
  Generate,       // a new puzzle from the generator
};

struct JobResult {
  JobKind kind = JobKind::AutoSolve;
  bool stopped = false;               // the stop flag ended it: the result means nothing
  BoardState board;                   // AutoSolve: the board after the solve
  complete::CompleteResult complete;  // the others: the verdict
  int hintColumn = 0;                 // Hint: the cell to fill (0: none) and its number
  int hintRow = 0;
  int hintNumber = 0;
  complete::GenerateStatus generated = complete::GenerateStatus::Invalid;  // Generate: the outcome
  int generatedHints = 0;  // Generate, Made: hints of the new puzzle (`board`)
};

class BackgroundJob : public QObject {
  Q_OBJECT

 public:
  explicit BackgroundJob(QObject* parent = nullptr);
  ~BackgroundJob() override;

  // Starts `kind` on a copy of `state` (Generate: with `generate`); a job
  // still running is stopped and waited for first (its result is dropped).
  void Start(JobKind kind, const BoardState& state, const complete::GenerateOptions& generate = {});
  // Raises the stop flag; `finished` follows with a stopped result.
  void Cancel();
  // Raises the stop flag and waits until the job has returned; its result
  // is dropped. For closing the window and for starting another job.
  void StopAndWait();

  bool Running() const { return running_; }
  JobKind Kind() const { return kind_; }
  double ElapsedSeconds() const;
  // Trials (automatic solve), search steps (complete solver) or cells
  // looked at (generator) so far.
  std::int64_t Progress() const { return progress_->load(std::memory_order_relaxed); }

 signals:
  void finished(const numbloc::JobResult& result);

 private:
  struct Shared {
    std::atomic<bool> stop{false};
  };
  void Collect();

  QFutureWatcher<JobResult>* watcher_ = nullptr;
  std::shared_ptr<Shared> shared_;                    // the running job's stop flag
  std::shared_ptr<std::atomic<std::int64_t>> progress_;
  JobKind kind_ = JobKind::AutoSolve;
  bool running_ = false;
  QElapsedTimer clock_;
};

// The work of one job, run directly: what the background run returns.
JobResult RunJob(JobKind kind, BoardState state, const std::atomic<bool>* stop,
                 std::atomic<std::int64_t>* progress, complete::GenerateOptions generate = {});

}  // namespace numbloc
