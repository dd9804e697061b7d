// Formatting of the solve reports.
#include "cli/solve_report.h"

#include <algorithm>

#include "core/board/board_state.h"

namespace numbloc::cli {
namespace {

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", u);
      out += esc;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Tabs and line breaks would break a TSV row.
std::string TsvField(std::string s) {
  for (char& c : s) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return s;
}

bool HasConflict(const FileReport& r) {
  return r.outcome == Outcome::Contradiction && r.conflict_number != 0;
}

std::string Size(const FileReport& r) {
  return std::to_string(r.width) + "x" + std::to_string(r.height);
}

}  // namespace

const char* OutcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::Solved: return "solved";
    case Outcome::Contradiction: return "contradiction";
    case Outcome::GaveUp: return "gave up";
    case Outcome::TimeLimit: return "time limit";
    case Outcome::Unreadable: return "unreadable";
    case Outcome::NoSolution: return "no solution";
    case Outcome::Several: return "several solutions";
  }
  return "?";
}

const char* OutcomeKey(Outcome outcome) {
  switch (outcome) {
    case Outcome::GaveUp: return "gave_up";
    case Outcome::TimeLimit: return "time_limit";
    case Outcome::NoSolution: return "none";
    case Outcome::Several: return "several";
    default: return OutcomeText(outcome);
  }
}

void RunSummary::Add(const FileReport& report) {
  ++counts[static_cast<int>(report.outcome)];
  if (report.outcome == Outcome::Unreadable) return;
  if (times.empty() || report.seconds > Worst()) worst_name = report.name;
  times.push_back(report.seconds);
}

double RunSummary::Total() const {
  double total = 0;
  for (const double t : times) total += t;
  return total;
}

double RunSummary::Median() const {
  if (times.empty()) return 0;
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  const std::size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double RunSummary::Worst() const {
  return times.empty() ? 0 : *std::max_element(times.begin(), times.end());
}

std::string TrimmedStatusMessage(int status) {
  const char* message = StatusMessageFor(status);
  if (!message) return {};
  std::string s = message;
  static const std::string kWideSpace = "\xE3\x80\x80";  // U+3000
  for (;;) {
    if (!s.empty() && s.back() == ' ') {
      s.pop_back();
    } else if (s.size() >= kWideSpace.size() &&
               s.compare(s.size() - kWideSpace.size(), kWideSpace.size(), kWideSpace) == 0) {
      s.erase(s.size() - kWideSpace.size());
    } else {
      break;
    }
  }
  return s;
}

std::string FormatSeconds(double seconds) {
  char text[32];
  if (seconds < 1) {
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1000);
  } else {
    std::snprintf(text, sizeof text, "%.2f s", seconds);
  }
  return text;
}

void ReportWriter::Begin() {
  if (format_ == ReportFormat::Tsv) {
    std::fputs("file\twidth\theight\toutcome\tstatus\tconflict_column\tconflict_row\t"
               "conflict_number\tplaced\tseconds\tmessage\n",
               out_);
  } else if (format_ == ReportFormat::Json) {
    std::fputs("{\"files\": [", out_);
  }
}

void ReportWriter::File(const FileReport& r) {
  const std::string message = r.complete ? std::string() : TrimmedStatusMessage(r.status);
  const bool unreadable = r.outcome == Outcome::Unreadable;
  switch (format_) {
    case ReportFormat::Text: {
      std::string line = r.name + "  ";
      if (unreadable) {
        line += std::string("unreadable (") + r.detail + ")";
      } else {
        line += Size(r) + "  " + OutcomeText(r.outcome);
        if (HasConflict(r)) {
          line += " at column " + std::to_string(r.conflict_column) + ", row " +
                  std::to_string(r.conflict_row) + " (number " +
                  std::to_string(r.conflict_number) + ")";
        }
        if (r.outcome == Outcome::TimeLimit) {
          line += " (" + r.detail + ")";
        } else {
          line += "  placed " + std::to_string(r.placed);
        }
        line += "  " + FormatSeconds(r.seconds);
      }
      if (!message.empty() && r.outcome != Outcome::TimeLimit) line += "  " + message;
      if (!r.saved_to.empty()) line += "  -> " + r.saved_to;
      if (!r.save_error.empty()) line += "  NOT SAVED: " + r.save_error;
      std::fprintf(out_, "%s\n", line.c_str());
      break;
    }
    case ReportFormat::Tsv:
      std::fprintf(out_, "%s\t%d\t%d\t%s\t%d\t%d\t%d\t%d\t%d\t%.6f\t%s\n",
                   TsvField(r.name).c_str(), r.width, r.height, OutcomeKey(r.outcome), r.status,
                   r.conflict_column, r.conflict_row, r.conflict_number, r.placed, r.seconds,
                   TsvField(unreadable ? r.detail : message).c_str());
      break;
    case ReportFormat::Json: {
      std::fprintf(out_, "%s\n  {\"file\": %s, \"width\": %d, \"height\": %d, \"outcome\": \"%s\"",
                   first_ ? "" : ",", JsonString(r.name).c_str(), r.width, r.height,
                   OutcomeKey(r.outcome));
      if (r.outcome != Outcome::TimeLimit) {
        std::fprintf(out_, ", \"status\": %d, \"message\": %s", r.status,
                     JsonString(message).c_str());
      }
      if (HasConflict(r)) {
        std::fprintf(out_, ", \"conflict\": {\"column\": %d, \"row\": %d, \"number\": %d}",
                     r.conflict_column, r.conflict_row, r.conflict_number);
      }
      if (!unreadable) std::fprintf(out_, ", \"placed\": %d, \"seconds\": %.6f", r.placed, r.seconds);
      if (!r.detail.empty()) std::fprintf(out_, ", \"detail\": %s", JsonString(r.detail).c_str());
      if (!r.saved_to.empty()) std::fprintf(out_, ", \"saved_to\": %s", JsonString(r.saved_to).c_str());
      if (!r.save_error.empty()) {
        std::fprintf(out_, ", \"save_error\": %s", JsonString(r.save_error).c_str());
      }
      std::fputs("}", out_);
      break;
    }
  }
  first_ = false;
  std::fflush(out_);
}

void ReportWriter::Summary(const RunSummary& s) {
  static const Outcome kAuto[] = {Outcome::Solved, Outcome::Contradiction, Outcome::GaveUp,
                                  Outcome::TimeLimit, Outcome::Unreadable};
  static const Outcome kComplete[] = {Outcome::Solved, Outcome::NoSolution, Outcome::Several,
                                      Outcome::TimeLimit, Outcome::Unreadable};
  // The outcomes the run's solver can give, in that order.
  const Outcome* const first = s.complete ? kComplete : kAuto;
  const std::vector<Outcome> shown(first, first + 5);
  int files = 0;
  for (const int c : s.counts) files += c;
  switch (format_) {
    case ReportFormat::Text: {
      std::string counts;
      for (const Outcome o : shown) {
        counts += (counts.empty() ? "" : ", ") + std::to_string(s.counts[static_cast<int>(o)]) +
                  " " + OutcomeText(o);
      }
      std::fprintf(out_, "%d file%s%s: %s\n", files, files == 1 ? "" : "s",
                   s.classic ? " (classic)" : s.complete ? " (complete)" : "", counts.c_str());
      std::fprintf(out_, "solve time: total %s, median %s, worst %s%s%s; wall %s on %d job%s; "
                   "peak memory %.1f MiB\n",
                   FormatSeconds(s.Total()).c_str(), FormatSeconds(s.Median()).c_str(),
                   FormatSeconds(s.Worst()).c_str(), s.worst_name.empty() ? "" : " ",
                   s.worst_name.c_str(), FormatSeconds(s.wall_seconds).c_str(), s.jobs,
                   s.jobs == 1 ? "" : "s", s.peak_memory_kib / 1024.0);
      break;
    }
    case ReportFormat::Tsv:
      std::fprintf(out_, "#summary\tfiles\t%d\n", files);
      for (const Outcome o : shown) {
        std::fprintf(out_, "#summary\t%s\t%d\n", OutcomeKey(o), s.counts[static_cast<int>(o)]);
      }
      std::fprintf(out_,
                   "#summary\ttotal_seconds\t%.6f\n#summary\tmedian_seconds\t%.6f\n"
                   "#summary\tworst_seconds\t%.6f\n#summary\twall_seconds\t%.6f\n"
                   "#summary\tjobs\t%d\n#summary\tpeak_memory_kib\t%ld\n",
                   s.Total(), s.Median(), s.Worst(), s.wall_seconds, s.jobs, s.peak_memory_kib);
      break;
    case ReportFormat::Json: {
      std::fprintf(out_, "%s],\n \"summary\": {\"files\": %d", first_ ? "" : "\n", files);
      for (const Outcome o : shown) {
        std::fprintf(out_, ", \"%s\": %d", OutcomeKey(o), s.counts[static_cast<int>(o)]);
      }
      std::fprintf(out_,
                   ", \"classic\": %s, \"complete\": %s, \"total_seconds\": %.6f, "
                   "\"median_seconds\": %.6f, \"worst_seconds\": %.6f, \"worst_file\": %s, "
                   "\"wall_seconds\": %.6f, \"jobs\": %d, \"peak_memory_kib\": %ld}}\n",
                   s.classic ? "true" : "false", s.complete ? "true" : "false", s.Total(), s.Median(), s.Worst(),
                   JsonString(s.worst_name).c_str(), s.wall_seconds, s.jobs, s.peak_memory_kib);
      break;
    }
  }
  std::fflush(out_);
}

}  // namespace numbloc::cli
