// What `solve` and `count` share: their common options, one job per input
// file on several threads with a per-file time limit, and the results handed
// over in the order the files were given.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/solve_report.h"

namespace numbloc::cli {

struct BatchOptions {
  int jobs = 0;           // 0: one per core
  double time_limit = 0;  // seconds per file; 0 = none
  ReportFormat format = ReportFormat::Text;
};

// Takes --jobs N, --time-limit S or --format F at argv[i] (and its value).
// Returns false when argv[i] is none of them; sets *error for a bad value.
bool ParseBatchOption(int argc, char** argv, int& i, BatchOptions& options, std::string* error);

// Stops jobs that run past their deadline. Each running job registers its
// own flag, so a late tick can never stop the next job on the same thread.
class Watchdog {
 public:
  Watchdog(int slots, double limit_seconds);
  ~Watchdog();
  void Start(int slot, std::atomic<bool>* flag);
  void Finish(int slot);

 private:
  using Clock = std::chrono::steady_clock;
  struct Slot {
    std::atomic<bool>* flag = nullptr;
    Clock::time_point deadline;
  };
  void Run();
  std::vector<Slot> slots_;
  Clock::duration limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// The cores of this machine.
inline int Cores() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }

// Files solved at once for `count` inputs.
inline int BatchJobs(const BatchOptions& options, int count) {
  return std::max(1, std::min(options.jobs == 0 ? Cores() : options.jobs, count));
}

// Threads for each file's solve: as asked, or (0) the cores left to each of
// the files solved at once, so that together they do not oversubscribe.
inline int ThreadsPerFile(int threads, int jobs) { return threads > 0 ? threads : std::max(1, Cores() / jobs); }

// Runs work(i, stop) for every input on `jobs` threads (0 = cores, never more
// than inputs) and hands each result to emit(i, result) in input order, as
// soon as it and those before it are done. `stop` is raised when the time
// limit of that one file runs out; it is null without a limit. Returns the
// number of threads used.
template <class Result>
int RunBatch(int count, const BatchOptions& options,
             const std::function<Result(int, const std::atomic<bool>*)>& work,
             const std::function<void(int, const Result&)>& emit) {
  const int jobs = BatchJobs(options, count);
  std::optional<Watchdog> watchdog;
  if (options.time_limit > 0) watchdog.emplace(jobs, options.time_limit);

  std::vector<std::optional<Result>> results(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<int> next{0};
  std::vector<std::thread> workers;
  for (int slot = 0; slot < jobs; ++slot) {
    workers.emplace_back([&, slot] {
      for (int i; (i = next.fetch_add(1)) < count;) {
        std::atomic<bool> stop{false};
        if (watchdog) watchdog->Start(slot, &stop);
        Result result = work(i, watchdog ? &stop : nullptr);
        if (watchdog) watchdog->Finish(slot);
        std::lock_guard lock(mutex);
        results[i] = std::move(result);
        ready.notify_all();
      }
    });
  }
  for (int i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return results[i].has_value(); });
    const Result result = *results[i];
    lock.unlock();
    emit(i, result);
  }
  for (std::thread& t : workers) t.join();
  return jobs;
}

// Peak resident memory of this process so far, in KiB (0 when unknown).
long PeakMemoryKib();

}  // namespace numbloc::cli
