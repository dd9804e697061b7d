// `numbloc-cli solve`: the automatic solve of the board window (or the
// complete solver), run on many files at once, with a per-file time limit and
// machine-readable reports.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/solve_report.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "core/complete/complete_solver.h"
#include "core/solver/solver.h"

namespace numbloc::cli {
namespace {

constexpr const char* kSolveUsage =
    "usage: numbloc-cli solve IN.nbl... [-o OUT.nbl | --out-dir DIR] [--jobs N]\n"
    "                         [--time-limit SECONDS] [--format text|tsv|json]\n"
    "                         [--threads N] [--classic | --complete]\n"
    "  Runs the automatic solve on each file, as the board window's button does,\n"
    "  and prints one line per file in the order given, then a summary.\n"
    "  -o OUT.nbl        save the result of the one input file\n"
    "  --out-dir DIR     save each result as DIR/<input file name>\n"
    "  --jobs N          solve N files at a time (default: the number of cores)\n"
    "  --threads N       threads for each automatic solve's trials (default: the\n"
    "                    cores left to each file solved at once); the result is\n"
    "                    the same whatever N\n"
    "  --time-limit S    stop a solve after S seconds and report 'time limit'\n"
    "  --format F        text (default), tsv or json\n"
    "  --classic         the deduction rules as first written plus two fixes that\n"
    "                    hold in every mode (a complete block is flagged whole;\n"
    "                    the trials try numbers up to the largest hint); it may\n"
    "                    call valid puzzles contradictory; for comparison\n"
    "  --complete        the complete solver instead: a unique solution is written\n"
    "                    to the board as the automatic solve writes one; with no\n"
    "                    solution or several the board stays as it was\n"
    "  Outcomes: solved, contradiction, gave up (automatic solve); solved, no\n"
    "  solution, several solutions (--complete); time limit; unreadable.\n"
    "  Exit 0 when every file was read, decided and (if asked) saved; 1 otherwise;\n"
    "  2 on a usage error.\n";

struct SolveArgs {
  std::vector<std::string> inputs;
  std::string out_file;
  std::string out_dir;
  BatchOptions batch;
  bool classic = false;
  bool complete = false;
  int threads = 0;  // 0: share the cores among the files solved at once
};

// Parses the command line; returns an error text for a usage error.
std::optional<std::string> ParseArgs(int argc, char** argv, SolveArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (ParseBatchOption(argc, argv, i, args.batch, &error)) {
      if (!error.empty()) return error;
    } else if (arg == "-o" || arg == "--out-dir") {
      if (i + 1 >= argc) return arg + " needs a value";
      (arg == "-o" ? args.out_file : args.out_dir) = argv[++i];
    } else if (arg == "--threads") {
      char* end = nullptr;
      const long n = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : 0;
      if (i + 1 >= argc || *argv[i + 1] == '\0' || *end || n < 1 || n > 256) {
        return "--threads wants a number 1..256";
      }
      args.threads = static_cast<int>(n);
      ++i;
    } else if (arg == "--classic") {
      args.classic = true;
    } else if (arg == "--complete") {
      args.complete = true;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) args.inputs.emplace_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      args.inputs.push_back(arg);
    }
  }
  if (args.inputs.empty()) return "no input file";
  if (args.classic && args.complete) return "--classic and --complete exclude each other";
  if (args.threads > 0 && args.complete) return "--threads is for the automatic solve, not --complete";
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

std::string OutputPath(const SolveArgs& args, const std::string& input) {
  if (!args.out_file.empty()) return args.out_file;
  if (!args.out_dir.empty()) {
    return (std::filesystem::path(args.out_dir) / std::filesystem::path(input).filename())
        .string();
  }
  return {};
}

// The automatic solve; false when the time limit stopped it.
bool AutoSolveFile(const SolveArgs& args, BoardState& state, const std::atomic<bool>* stop,
                   FileReport& report) {
  SolverOptions options;
  options.mends = Mends::For(args.classic);
  options.threads = ThreadsPerFile(args.threads, BatchJobs(args.batch, static_cast<int>(args.inputs.size())));
  options.stop = stop;
  const auto begin = std::chrono::steady_clock::now();
  const bool finished = SolveLikeTheButton(state, options);
  report.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  if (!finished) return false;
  report.status = state.SolverStatus;
  report.outcome = state.SolverStatus == kStatusOk   ? Outcome::Solved
                   : state.SolverStatus == kStatusContradiction ? Outcome::Contradiction
                                             : Outcome::GaveUp;
  report.conflict_column = state.ConflictColumn;
  report.conflict_row = state.ConflictRow;
  report.conflict_number = state.ConflictNumber;
  return true;
}

// The complete solver; false when the time limit stopped it.
bool CompleteSolveFile(BoardState& state, const std::atomic<bool>* stop, FileReport& report) {
  complete::CompleteOptions options;
  options.stop = stop;
  complete::CompleteSolver solver(options);
  const auto begin = std::chrono::steady_clock::now();
  const complete::CompleteResult result = solver.Solve(state);
  report.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  report.complete = true;
  switch (result.verdict) {
    case complete::Verdict::Unique:
      complete::WriteSolution(result.solution, state);
      report.outcome = Outcome::Solved;
      break;
    case complete::Verdict::None:
      report.outcome = Outcome::NoSolution;
      break;
    case complete::Verdict::Several:
      report.outcome = Outcome::Several;
      break;
    case complete::Verdict::Stopped:
    case complete::Verdict::Invalid:  // the reader refuses such sizes first
      return false;
  }
  report.status = state.SolverStatus;
  return true;
}

FileReport SolveFile(const SolveArgs& args, const std::string& input,
                     const std::atomic<bool>* stop) {
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
  const bool decided = args.complete ? CompleteSolveFile(*state, stop, report)
                                     : AutoSolveFile(args, *state, stop, report);
  if (!decided) {
    report.outcome = Outcome::TimeLimit;
    report.detail = "stopped after " + FormatSeconds(args.batch.time_limit);
    return report;  // the board is mid-solve: nothing worth saving
  }
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
  ReportWriter writer(args.batch.format, stdout);
  writer.Begin();
  RunSummary summary;
  summary.classic = args.classic;
  summary.complete = args.complete;
  bool all_good = true;
  const auto wall_begin = std::chrono::steady_clock::now();
  summary.jobs = RunBatch<FileReport>(
      count, args.batch,
      [&](int i, const std::atomic<bool>* stop) { return SolveFile(args, args.inputs[i], stop); },
      [&](int, const FileReport& r) {
        writer.File(r);
        summary.Add(r);
        if (r.outcome == Outcome::Unreadable || r.outcome == Outcome::TimeLimit ||
            !r.save_error.empty()) {
          all_good = false;
        }
      });
  summary.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_begin).count();
  summary.peak_memory_kib = PeakMemoryKib();
  writer.Summary(summary);
  std::fflush(stdout);
  return all_good ? kExitOk : kExitFailure;
}

}  // namespace numbloc::cli
