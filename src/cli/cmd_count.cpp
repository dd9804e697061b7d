// `numbloc-cli count`: does each puzzle have no solution, exactly one, or
// several (and where do two of them differ)? The complete solver on many
// files at once, reported like `solve`.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
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

namespace numbloc::cli {
namespace {

constexpr const char* kCountUsage =
    "usage: numbloc-cli count FILE.nbl... [--jobs N] [--time-limit SECONDS]\n"
    "                         [--format text|tsv|json]\n"
    "  Decides from the hints of each file whether the puzzle has no solution,\n"
    "  exactly one or several; for several it names how many cells differ between\n"
    "  two solutions and the first of them. One line per file in the order given,\n"
    "  then a summary.\n"
    "  --jobs N          decide N files at a time (default: the number of cores)\n"
    "  --time-limit S    stop after S seconds per file and report 'time limit'\n"
    "  --format F        text (default), tsv or json\n"
    "  Verdicts: none, unique, several, time_limit, unreadable.\n"
    "  Exit 0 when every file was read and decided; 1 otherwise; 2 on a usage error.\n";

enum class Count { None, Unique, Several, TimeLimit, Unreadable };
constexpr const char* kCountKeys[] = {"none", "unique", "several", "time_limit", "unreadable"};

struct CountReport {
  std::string name;
  Count verdict = Count::Unreadable;
  int width = 0;
  int height = 0;
  double seconds = 0;
  int differing = 0;     // several: cells where two solutions differ
  int first_column = 0;  // several: the first of them (1-based, row by row)
  int first_row = 0;
  long long decisions = 0;  // search decisions; 0 when reasoning alone decided
  long long conflicts = 0;
  std::string detail;  // why unreadable / how the time limit ended it
};

std::optional<std::string> ParseArgs(int argc, char** argv, std::vector<std::string>& inputs,
                                     BatchOptions& batch) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string error;
    if (ParseBatchOption(argc, argv, i, batch, &error)) {
      if (!error.empty()) return error;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) inputs.emplace_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option " + arg;
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) return "no input file";
  return std::nullopt;
}

CountReport CountFile(const std::string& input, const std::atomic<bool>* stop,
                      double time_limit) {
  CountReport report;
  report.name = input;
  auto state = std::make_unique<BoardState>();
  const NblResult read = ReadNblFile(input, *state);
  if (!read.ok) {
    report.detail = read.reason;
    return report;
  }
  report.width = state->BoardWidth;
  report.height = state->BoardHeight;
  complete::CompleteOptions options;
  options.stop = stop;
  complete::CompleteSolver solver(options);
  const auto begin = std::chrono::steady_clock::now();
  const complete::CompleteResult r = solver.Solve(*state);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  report.decisions = r.stats.decisions;
  report.conflicts = r.stats.conflicts;
  switch (r.verdict) {
    case complete::Verdict::None: report.verdict = Count::None; break;
    case complete::Verdict::Unique: report.verdict = Count::Unique; break;
    case complete::Verdict::Several:
      report.verdict = Count::Several;
      report.differing = r.differing;
      report.first_column = r.firstDiffering % r.width + 1;
      report.first_row = r.firstDiffering / r.width + 1;
      break;
    case complete::Verdict::Stopped:
    case complete::Verdict::Invalid:  // the reader refuses such sizes first
      report.verdict = Count::TimeLimit;
      report.detail = "stopped after " + FormatSeconds(time_limit);
      break;
  }
  return report;
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned char>(c));
      out += esc;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Tsv(std::string s) {
  std::replace_if(s.begin(), s.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; },
                  ' ');
  return s;
}

void PrintFile(ReportFormat format, const CountReport& r, bool first) {
  const char* key = kCountKeys[static_cast<int>(r.verdict)];
  switch (format) {
    case ReportFormat::Text: {
      std::string line = r.name + "  ";
      if (r.verdict == Count::Unreadable) {
        line += "unreadable (" + r.detail + ")";
      } else {
        line += std::to_string(r.width) + "x" + std::to_string(r.height) + "  ";
        line += r.verdict == Count::TimeLimit ? "time limit (" + r.detail + ")" : key;
        if (r.verdict == Count::Several) {
          line += " (" + std::to_string(r.differing) + " cells differ, first at column " +
                  std::to_string(r.first_column) + ", row " + std::to_string(r.first_row) + ")";
        }
        line += "  " + FormatSeconds(r.seconds);
      }
      std::printf("%s\n", line.c_str());
      break;
    }
    case ReportFormat::Tsv:
      std::printf("%s\t%d\t%d\t%s\t%.6f\t%d\t%d\t%d\t%lld\t%lld\t%s\n", Tsv(r.name).c_str(),
                  r.width, r.height, key, r.seconds, r.differing, r.first_column, r.first_row,
                  r.decisions, r.conflicts, Tsv(r.detail).c_str());
      break;
    case ReportFormat::Json:
      std::printf("%s\n  {\"file\": %s, \"verdict\": \"%s\"", first ? "" : ",",
                  Json(r.name).c_str(), key);
      if (r.verdict != Count::Unreadable) {
        std::printf(", \"width\": %d, \"height\": %d, \"seconds\": %.6f, \"decisions\": %lld, "
                    "\"conflicts\": %lld",
                    r.width, r.height, r.seconds, r.decisions, r.conflicts);
      }
      if (r.verdict == Count::Several) {
        std::printf(", \"differing\": %d, \"first\": {\"column\": %d, \"row\": %d}", r.differing,
                    r.first_column, r.first_row);
      }
      if (!r.detail.empty()) std::printf(", \"detail\": %s", Json(r.detail).c_str());
      std::printf("}");
      break;
  }
  std::fflush(stdout);
}

struct CountSummary {
  int counts[5] = {};
  std::vector<double> times;  // files that reached the solver
  std::string worst_name;
  double worst = 0;
};

void PrintSummary(ReportFormat format, const CountSummary& s, double wall, int jobs, long kib) {
  int files = 0;
  for (const int c : s.counts) files += c;
  std::vector<double> sorted = s.times;
  std::sort(sorted.begin(), sorted.end());
  double total = 0;
  for (const double t : sorted) total += t;
  const std::size_t n = sorted.size();
  const double median = n == 0 ? 0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  switch (format) {
    case ReportFormat::Text: {
      std::string counts;
      for (int i = 0; i < 5; ++i) {
        counts += (i ? ", " : "") + std::to_string(s.counts[i]) + " " + kCountKeys[i];
      }
      std::printf("%d file%s: %s\n", files, files == 1 ? "" : "s", counts.c_str());
      std::printf("time: total %s, median %s, worst %s%s%s; wall %s on %d job%s; "
                  "peak memory %.1f MiB\n",
                  FormatSeconds(total).c_str(), FormatSeconds(median).c_str(),
                  FormatSeconds(s.worst).c_str(), s.worst_name.empty() ? "" : " ",
                  s.worst_name.c_str(), FormatSeconds(wall).c_str(), jobs, jobs == 1 ? "" : "s",
                  kib / 1024.0);
      break;
    }
    case ReportFormat::Tsv:
      std::printf("#summary\tfiles\t%d\n", files);
      for (int i = 0; i < 5; ++i) std::printf("#summary\t%s\t%d\n", kCountKeys[i], s.counts[i]);
      std::printf("#summary\ttotal_seconds\t%.6f\n#summary\tmedian_seconds\t%.6f\n"
                  "#summary\tworst_seconds\t%.6f\n#summary\twall_seconds\t%.6f\n"
                  "#summary\tjobs\t%d\n#summary\tpeak_memory_kib\t%ld\n",
                  total, median, s.worst, wall, jobs, kib);
      break;
    case ReportFormat::Json:
      std::printf("%s],\n \"summary\": {\"files\": %d", files ? "\n" : "", files);
      for (int i = 0; i < 5; ++i) std::printf(", \"%s\": %d", kCountKeys[i], s.counts[i]);
      std::printf(", \"total_seconds\": %.6f, \"median_seconds\": %.6f, \"worst_seconds\": %.6f, "
                  "\"worst_file\": %s, \"wall_seconds\": %.6f, \"jobs\": %d, "
                  "\"peak_memory_kib\": %ld}}\n",
                  total, median, s.worst, Json(s.worst_name).c_str(), wall, jobs, kib);
      break;
  }
}

}  // namespace

int RunCount(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kCountUsage, stdout);
      return kExitOk;
    }
  }
  std::vector<std::string> inputs;
  BatchOptions batch;
  if (const auto error = ParseArgs(argc, argv, inputs, batch)) {
    std::fprintf(stderr, "count: %s\n%s", error->c_str(), kCountUsage);
    return kExitUsage;
  }
  if (batch.format == ReportFormat::Tsv) {
    std::puts("file\twidth\theight\tverdict\tseconds\tdiffering\tfirst_column\tfirst_row\t"
              "decisions\tconflicts\tdetail");
  } else if (batch.format == ReportFormat::Json) {
    std::printf("{\"files\": [");
  }
  CountSummary summary;
  bool all_good = true;
  const auto wall_begin = std::chrono::steady_clock::now();
  const int jobs = RunBatch<CountReport>(
      static_cast<int>(inputs.size()), batch,
      [&](int i, const std::atomic<bool>* stop) {
        return CountFile(inputs[i], stop, batch.time_limit);
      },
      [&](int i, const CountReport& r) {
        PrintFile(batch.format, r, i == 0);
        ++summary.counts[static_cast<int>(r.verdict)];
        if (r.verdict == Count::Unreadable || r.verdict == Count::TimeLimit) all_good = false;
        if (r.verdict == Count::Unreadable) return;
        summary.times.push_back(r.seconds);
        if (summary.worst_name.empty() || r.seconds > summary.worst) {
          summary.worst = r.seconds;
          summary.worst_name = r.name;
        }
      });
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_begin).count();
  PrintSummary(batch.format, summary, wall, jobs, PeakMemoryKib());
  std::fflush(stdout);
  return all_good ? kExitOk : kExitFailure;
}

}  // namespace numbloc::cli
