// What `numbloc-cli solve` reports per file and for the whole run, in the
// text, TSV and JSON forms.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc::cli {

enum class Outcome {
  Solved,
  Contradiction,  // automatic solve
  GaveUp,         // automatic solve
  TimeLimit,
  Unreadable,
  NoSolution,  // complete solver
  Several,     // complete solver
};
constexpr int kOutcomeCount = 7;

// "solved", "contradiction", "gave up", "time limit", "unreadable",
// "no solution", "several solutions".
const char* OutcomeText(Outcome outcome);
// The same as one token: "gave_up", "time_limit", "none", "several".
const char* OutcomeKey(Outcome outcome);

struct FileReport {
  std::string name;
  Outcome outcome = Outcome::Unreadable;
  int width = 0;
  int height = 0;
  int status = kStatusOk;  // SolverStatus after the solve (kStatusUnreadable when unreadable)
  int conflict_column = 0;
  int conflict_row = 0;
  int conflict_number = 0;
  int placed = 0;        // numbers on the board after the solve
  double seconds = 0;    // the solve alone, not reading or saving
  std::string detail;    // why unreadable / how the time limit ended it
  std::string saved_to;  // the result file, when one was written
  std::string save_error;
  bool complete = false;  // decided by the complete solver: no status-line message
};

struct RunSummary {
  int counts[kOutcomeCount] = {};
  std::vector<double> times;  // every file that reached the solver
  std::string worst_name;
  double wall_seconds = 0;
  int jobs = 1;
  bool classic = false;
  bool complete = false;
  long peak_memory_kib = 0;
  void Add(const FileReport& report);
  double Total() const;
  double Median() const;
  double Worst() const;
};

enum class ReportFormat { Text, Tsv, Json };

// The status-line message of a status value, without its padding; empty for
// status 0 and for values that have no message.
std::string TrimmedStatusMessage(int status);

// "0.41 ms", "1.20 s".
std::string FormatSeconds(double seconds);

class ReportWriter {
 public:
  ReportWriter(ReportFormat format, std::FILE* out) : format_(format), out_(out) {}
  void Begin();
  void File(const FileReport& report);
  void Summary(const RunSummary& summary);

 private:
  ReportFormat format_;
  std::FILE* out_;
  bool first_ = true;
};

}  // namespace numbloc::cli
