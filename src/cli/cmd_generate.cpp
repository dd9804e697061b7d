// `numbloc-cli generate`: new puzzles with exactly one solution, written as
// Creation-mode .nbl files named by size, seed and index. Each written file
// is read back and decided again by the complete solver, so the verdict
// printed is about the bytes on disk, not about the generator's own belief.
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/solve_report.h"
#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "core/complete/complete_solver.h"
#include "core/complete/generator.h"

namespace numbloc::cli {
namespace {

constexpr const char* kGenerateUsage =
    "usage: numbloc-cli generate --width W --height H --out-dir DIR [--seed S]\n"
    "                            [--count N] [--max-number M]\n"
    "                            [--difficulty rules|trials|any] [--symmetric]\n"
    "                            [--jobs N] [--time-limit SECONDS]\n"
    "  Makes N puzzles of W x H (6..30 by 6..40), each with exactly one solution,\n"
    "  and writes them in Creation mode as DIR/gWxH[-difficulty]-sS-I.nbl\n"
    "  (I = 1..N). The same seed and options give the same files on every machine.\n"
    "  --seed S          the run's seed (default 1)\n"
    "  --count N         puzzles to make (default 1)\n"
    "  --max-number M    the largest number of a solution, 3..the size's limit\n"
    "                    (default 9, or the size's limit when lower)\n"
    "  --difficulty D    rules: the automatic solve finishes it with its deduction\n"
    "                    rules alone; trials: it finishes it, trials allowed;\n"
    "                    any (default): the solution need only be unique\n"
    "  --symmetric       hints symmetric about the centre\n"
    "  --exact           decide every hint's removal in full, however long it takes\n"
    "                    (by default a removal too hard to decide quickly keeps its\n"
    "                    hint); for comparing hint counts\n"
    "  --jobs N          make N puzzles at a time (default: the number of cores)\n"
    "  --time-limit S    give up a puzzle after S seconds and report 'time limit'\n"
    "  --format F        text (default) or tsv\n"
    "  One line per puzzle: file, hints, the complete solver's verdict on the\n"
    "  written file, seconds. Exit 0 when every puzzle was made; 1 otherwise;\n"
    "  2 on a usage error.\n";

struct GenerateArgs {
  complete::GenerateOptions options;
  int count = 1;
  bool maxNumberGiven = false;
  std::string outDir;
  BatchOptions batch;
};

struct GenerateReport {
  std::string file;          // the name written (or that would have been)
  complete::GenerateStatus status = complete::GenerateStatus::Invalid;
  int hints = 0;
  std::string verdict;       // the complete solver's word on the written file
  double seconds = 0;
  std::string detail;        // why nothing was written
};

bool ParseInt(const char* text, long long low, long long high, long long& value) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno || end == text || *end || v < low || v > high) return false;
  value = v;
  return true;
}

std::optional<std::string> ParseArgs(int argc, char** argv, GenerateArgs& args) {
  bool width = false, height = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (ParseBatchOption(argc, argv, i, args.batch, &error)) {
      if (!error.empty()) return error;
      if (args.batch.format == ReportFormat::Json) return "--format takes text or tsv here";
      continue;
    }
    if (arg == "--symmetric" || arg == "--exact") {
      (arg == "--symmetric" ? args.options.symmetric : args.options.exact) = true;
      continue;
    }
    if (i + 1 >= argc) return arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unexpected " + arg;
    const char* value = argv[++i];
    long long v = 0;
    if (arg == "--width" || arg == "--height") {
      if (!ParseInt(value, 1, 1000, v)) return arg + " takes a whole number";
      (arg == "--width" ? args.options.width : args.options.height) = static_cast<int>(v);
      (arg == "--width" ? width : height) = true;
    } else if (arg == "--seed") {
      if (!ParseInt(value, 0, INT64_MAX, v)) return "--seed takes a whole number 0 or more";
      args.options.seed = static_cast<std::uint64_t>(v);
    } else if (arg == "--count") {
      if (!ParseInt(value, 1, 100000, v)) return "--count takes a number 1..100000";
      args.count = static_cast<int>(v);
    } else if (arg == "--max-number") {
      if (!ParseInt(value, 1, 1000, v)) return "--max-number takes a whole number";
      args.options.maxNumber = static_cast<int>(v);
      args.maxNumberGiven = true;
    } else if (arg == "--difficulty") {
      if (!complete::ParseDifficulty(value, args.options.difficulty)) {
        return "--difficulty takes rules, trials or any";
      }
    } else if (arg == "--out-dir") {
      args.outDir = value;
    } else {
      return "unknown option " + arg;
    }
  }
  if (!width || !height) return "--width and --height are needed";
  if (args.outDir.empty()) return "--out-dir is needed";
  const int limit = DeriveMaxNumber(args.options.width, args.options.height);
  if (!args.maxNumberGiven && args.options.maxNumber > limit) args.options.maxNumber = limit;
  const std::string problem = complete::OptionsProblem(args.options);
  if (!problem.empty()) return problem;
  return std::nullopt;
}

GenerateReport MakeOne(const GenerateArgs& args, int index) {
  complete::GenerateOptions options = args.options;
  options.index = index;
  options.timeBudgetSeconds = args.batch.time_limit;
  GenerateReport report;
  report.file = (std::filesystem::path(args.outDir) / (complete::GeneratedName(options, index) + ".nbl")).string();
  const auto begin = std::chrono::steady_clock::now();
  const complete::GenerateResult made = complete::Generate(options);
  report.status = made.status;
  if (made.status == complete::GenerateStatus::Made) {
    report.hints = made.hints;
    const NblResult written = WriteNblFile(report.file, made.puzzle);
    auto back = std::make_unique<BoardState>();
    const NblResult read = written.ok ? ReadNblFile(report.file, *back) : written;
    if (!read.ok) {
      report.status = complete::GenerateStatus::Invalid;
      report.detail = read.reason;
    } else {
      complete::CompleteSolver solver;
      const complete::CompleteResult r = solver.Solve(*back);
      report.verdict = r.verdict == complete::Verdict::Unique    ? "unique"
                       : r.verdict == complete::Verdict::Several ? "several"
                       : r.verdict == complete::Verdict::None    ? "none"
                                                                 : "undecided";
    }
  } else if (made.status == complete::GenerateStatus::OutOfTime) {
    report.detail = "time limit of " + FormatSeconds(args.batch.time_limit);
  } else {
    report.detail = made.reason.empty() ? "stopped" : made.reason;
  }
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return report;
}

void PrintReport(ReportFormat format, const GenerateReport& r) {
  const bool made = r.status == complete::GenerateStatus::Made;
  if (format == ReportFormat::Tsv) {
    std::printf("%s\t%d\t%s\t%.6f\t%s\n", r.file.c_str(), made ? r.hints : 0,
                made ? r.verdict.c_str() : r.status == complete::GenerateStatus::OutOfTime ? "time_limit" : "failed",
                r.seconds, r.detail.c_str());
  } else if (made) {
    std::printf("%s  %d hints  %s  %s\n", r.file.c_str(), r.hints, r.verdict.c_str(),
                FormatSeconds(r.seconds).c_str());
  } else {
    std::printf("%s  not made (%s)  %s\n", r.file.c_str(), r.detail.c_str(), FormatSeconds(r.seconds).c_str());
  }
  std::fflush(stdout);
}

}  // namespace

int RunGenerate(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "-h" || std::string(argv[i]) == "--help") {
      std::fputs(kGenerateUsage, stdout);
      return kExitOk;
    }
  }
  GenerateArgs args;
  if (const auto error = ParseArgs(argc, argv, args)) {
    std::fprintf(stderr, "generate: %s\n%s", error->c_str(), kGenerateUsage);
    return kExitUsage;
  }
  std::error_code ec;
  std::filesystem::create_directories(args.outDir, ec);
  if (ec) {
    std::fprintf(stderr, "generate: cannot make %s: %s\n", args.outDir.c_str(), ec.message().c_str());
    return kExitFailure;
  }
  if (args.batch.format == ReportFormat::Tsv) std::puts("file\thints\tverdict\tseconds\tdetail");
  // Each puzzle keeps its own time budget inside the generator, so that it
  // can say "out of time" rather than merely stop.
  BatchOptions batch = args.batch;
  batch.time_limit = 0;
  bool allMade = true;
  RunBatch<GenerateReport>(
      args.count, batch, [&](int i, const std::atomic<bool>*) { return MakeOne(args, i + 1); },
      [&](int, const GenerateReport& r) {
        PrintReport(args.batch.format, r);
        allMade = allMade && r.status == complete::GenerateStatus::Made && r.verdict == "unique";
      });
  return allMade ? kExitOk : kExitFailure;
}

}  // namespace numbloc::cli
