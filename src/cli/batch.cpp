// Options, the watchdog and memory figures shared by the batch commands.
#include "cli/batch.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>

namespace numbloc::cli {

bool ParseBatchOption(int argc, char** argv, int& i, BatchOptions& options, std::string* error) {
  const std::string arg = argv[i];
  if (arg != "--jobs" && arg != "--time-limit" && arg != "--format") return false;
  if (i + 1 >= argc) {
    *error = arg + " needs a value";
    return true;
  }
  const std::string v = argv[++i];
  if (arg == "--jobs") {
    char* end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end || n < 1 || n > 256) {
      *error = "--jobs wants a number 1..256";
    } else {
      options.jobs = static_cast<int>(n);
    }
  } else if (arg == "--time-limit") {
    char* end = nullptr;
    const double s = std::strtod(v.c_str(), &end);
    if (v.empty() || *end || !(s > 0) || s > 1e6) {
      *error = "--time-limit wants a positive number of seconds";
    } else {
      options.time_limit = s;
    }
  } else if (v == "text") {
    options.format = ReportFormat::Text;
  } else if (v == "tsv") {
    options.format = ReportFormat::Tsv;
  } else if (v == "json") {
    options.format = ReportFormat::Json;
  } else {
    *error = "--format wants text, tsv or json";
  }
  return true;
}

Watchdog::Watchdog(int slots, double limit_seconds)
    : slots_(slots),
      limit_(std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(limit_seconds))) {
  thread_ = std::thread([this] { Run(); });
}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void Watchdog::Start(int slot, std::atomic<bool>* flag) {
  std::lock_guard lock(mutex_);
  slots_[slot] = {flag, Clock::now() + limit_};
}

void Watchdog::Finish(int slot) {
  std::lock_guard lock(mutex_);
  slots_[slot].flag = nullptr;
}

void Watchdog::Run() {
  const auto tick = std::clamp<Clock::duration>(limit_ / 20, std::chrono::microseconds(200),
                                                std::chrono::milliseconds(20));
  std::unique_lock lock(mutex_);
  while (!done_) {
    wake_.wait_for(lock, tick);
    const auto now = Clock::now();
    for (Slot& s : slots_) {
      if (s.flag && now >= s.deadline) s.flag->store(true, std::memory_order_relaxed);
    }
  }
}

long PeakMemoryKib() {
  rusage usage{};
  return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
}

}  // namespace numbloc::cli
