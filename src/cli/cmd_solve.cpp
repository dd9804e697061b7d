// `numbloc-cli solve`: the automatic solve of the board window, run on many
// files at once, with a per-file time limit and machine-readable reports.
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/solve_report.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "core/solver/solver.h"

namespace numbloc::cli {
namespace {

constexpr const char* kSolveUsage =
    "usage: numbloc-cli solve IN.nbl... [-o OUT.nbl | --out-dir DIR] [--jobs N]\n"
    "                         [--time-limit SECONDS] [--format text|tsv|json] [--classic]\n"
    "  Runs the automatic solve on each file, as the board window's button does,\n"
    "  and prints one line per file in the order given, then a summary.\n"
    "  -o OUT.nbl        save the result of the one input file\n"
    "  --out-dir DIR     save each result as DIR/<input file name>\n"
    "  --jobs N          solve N files at a time (default: the number of cores)\n"
    "  --time-limit S    stop a solve after S seconds and report 'time limit'\n"
    "  --format F        text (default), tsv or json\n"
    "  --classic         the solver exactly as the original program ran it\n"
    "  Outcomes: solved, contradiction, gave up, time limit, unreadable.\n"
    "  Exit 0 when every file was read, decided and (if asked) saved; 1 otherwise;\n"
    "  2 on a usage error.\n";

struct SolveArgs {
  std::vector<std::string> inputs;
  std::string out_file;
  std::string out_dir;
  int jobs = 0;
  double time_limit = 0;  // seconds; 0 = none
  ReportFormat format = ReportFormat::Text;
  bool classic = false;
};

// Parses the command line; returns an error text for a usage error.
std::optional<std::string> ParseArgs(int argc, char** argv, SolveArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) -> bool {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "-o" || arg == "--out-dir" || arg == "--jobs" || arg == "--time-limit" ||
        arg == "--format") {
      if (!value(v)) return arg + " needs a value";
      if (arg == "-o") {
        args.out_file = v;
      } else if (arg == "--out-dir") {
        args.out_dir = v;
      } else if (arg == "--jobs") {
        char* end = nullptr;
        const long n = std::strtol(v.c_str(), &end, 10);
        if (v.empty() || *end || n < 1 || n > 256) return "--jobs wants a number 1..256";
        args.jobs = static_cast<int>(n);
      } else if (arg == "--time-limit") {
        char* end = nullptr;
        const double s = std::strtod(v.c_str(), &end);
        if (v.empty() || *end || !(s > 0) || s > 1e6) {
          return "--time-limit wants a positive number of seconds";
        }
        args.time_limit = s;
      } else {
        if (v == "text") {
          args.format = ReportFormat::Text;
        } else if (v == "tsv") {
          args.format = ReportFormat::Tsv;
        } else if (v == "json") {
          args.format = ReportFormat::Json;
        } else {
          return "--format wants text, tsv or json";
        }
      }
    } else if (arg == "--classic") {
      args.classic = true;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) args.inputs.emplace_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      args.inputs.push_back(arg);
    }
  }
  if (args.inputs.empty()) return "no input file";
  if (!args.out_file.empty() && !args.out_dir.empty()) return "-o and --out-dir exclude each other";
  if (!args.out_file.empty() && args.inputs.size() != 1) return "-o takes exactly one input file";
  if (!args.out_dir.empty()) {
    std::set<std::string> names;
    for (const std::string& in : args.inputs) {
      const std::string name = std::filesystem::path(in).filename().string();
      if (!names.insert(name).second) return "two inputs would be saved as " + name;
    }
  }
  return std::nullopt;
}

// Stops solves that run past their deadline. Each running solve registers its
// own flag, so a late tick can never stop the next solve on the same thread.
class Watchdog {
 public:
  Watchdog(int slots, double limit_seconds)
      : slots_(slots), limit_(std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(limit_seconds))) {
    thread_ = std::thread([this] { Run(); });
  }
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void Start(int slot, std::atomic<bool>* flag) {
    std::lock_guard lock(mutex_);
    slots_[slot] = {flag, Clock::now() + limit_};
  }
  void Finish(int slot) {
    std::lock_guard lock(mutex_);
    slots_[slot].flag = nullptr;
  }

 private:
  using Clock = std::chrono::steady_clock;
  struct Slot {
    std::atomic<bool>* flag = nullptr;
    Clock::time_point deadline;
  };
  void Run() {
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
  std::vector<Slot> slots_;
  Clock::duration limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

std::string OutputPath(const SolveArgs& args, const std::string& input) {
  if (!args.out_file.empty()) return args.out_file;
  if (!args.out_dir.empty()) {
    return (std::filesystem::path(args.out_dir) / std::filesystem::path(input).filename())
        .string();
  }
  return {};
}

FileReport SolveFile(const SolveArgs& args, const std::string& input, int slot,
                     Watchdog* watchdog) {
  FileReport report;
  report.name = input;
  auto state = std::make_unique<BoardState>();
  const NblResult read = ReadNblFile(input, *state);
  if (!read.ok) {
    report.outcome = Outcome::Unreadable;
    report.status = state->SolverStatus;
    report.detail = read.reason;
    return report;
  }
  report.width = state->BoardWidth;
  report.height = state->BoardHeight;
  // The window lays a loaded board out before any click can reach the solve
  // button, and the layout derives the number bar's limit from the size.
  state->MaxNumber = DeriveMaxNumber(state->BoardWidth, state->BoardHeight);
  state->LayoutPending = 0;
  state->SolverStatus = 0;

  std::atomic<bool> stop{false};
  SolverOptions options;
  options.classic = args.classic;
  options.stop = watchdog ? &stop : nullptr;
  auto solver = std::make_unique<Solver>(*state, options);
  if (watchdog) watchdog->Start(slot, &stop);
  const auto begin = std::chrono::steady_clock::now();
  solver->AutoSolve();
  const auto end = std::chrono::steady_clock::now();
  if (watchdog) watchdog->Finish(slot);
  report.seconds = std::chrono::duration<double>(end - begin).count();

  if (solver->Stopped()) {
    report.outcome = Outcome::TimeLimit;
    report.detail = "stopped after " + FormatSeconds(args.time_limit);
    return report;  // the board is mid-solve: nothing worth saving
  }
  state->Mode = SolveAuto;
  report.status = state->SolverStatus;
  report.outcome = state->SolverStatus == 0   ? Outcome::Solved
                   : state->SolverStatus == 1 ? Outcome::Contradiction
                                              : Outcome::GaveUp;
  report.conflict_column = state->ConflictColumn;
  report.conflict_row = state->ConflictRow;
  report.conflict_number = state->ConflictNumber;
  for (int x = 1; x <= state->BoardWidth; ++x) {
    for (int y = 1; y <= state->BoardHeight; ++y) {
      if (state->Board[x][y].number > 100) ++report.placed;
    }
  }
  const std::string out = OutputPath(args, input);
  if (!out.empty()) {
    const NblResult written = WriteNblFile(out, *state);
    report.saved_to = written.ok ? out : std::string();
    report.save_error = written.ok ? std::string() : out + ": " + written.reason;
  }
  return report;
}

}  // namespace

int RunSolve(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kSolveUsage, stdout);
      return kExitOk;
    }
  }
  SolveArgs args;
  if (const auto error = ParseArgs(argc, argv, args)) {
    std::fprintf(stderr, "solve: %s\n%s", error->c_str(), kSolveUsage);
    return kExitUsage;
  }
  if (!args.out_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(args.out_dir, ec);
    if (ec) {
      std::fprintf(stderr, "solve: cannot make %s: %s\n", args.out_dir.c_str(),
                   ec.message().c_str());
      return kExitFailure;
    }
  }
  const int count = static_cast<int>(args.inputs.size());
  int jobs = args.jobs;
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  jobs = std::min(jobs, count);

  std::unique_ptr<Watchdog> watchdog;
  if (args.time_limit > 0) watchdog = std::make_unique<Watchdog>(jobs, args.time_limit);

  std::vector<std::optional<FileReport>> reports(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<int> next{0};
  const auto wall_begin = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (int slot = 0; slot < jobs; ++slot) {
    workers.emplace_back([&, slot] {
      for (int i; (i = next.fetch_add(1)) < count;) {
        FileReport report = SolveFile(args, args.inputs[i], slot, watchdog.get());
        std::lock_guard lock(mutex);
        reports[i] = std::move(report);
        ready.notify_all();
      }
    });
  }

  ReportWriter writer(args.format, stdout);
  writer.Begin();
  for (int i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return reports[i].has_value(); });
    const FileReport report = *reports[i];
    lock.unlock();
    writer.File(report);
  }
  for (std::thread& t : workers) t.join();
  watchdog.reset();

  RunSummary summary;
  summary.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_begin).count();
  summary.jobs = jobs;
  summary.classic = args.classic;
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) == 0) summary.peak_memory_kib = usage.ru_maxrss;
  bool all_good = true;
  for (const auto& r : reports) {
    summary.Add(*r);
    if (r->outcome == Outcome::Unreadable || r->outcome == Outcome::TimeLimit ||
        !r->save_error.empty()) {
      all_good = false;
    }
  }
  writer.Summary(summary);
  std::fflush(stdout);
  return all_good ? kExitOk : kExitFailure;
}

}  // namespace numbloc::cli
