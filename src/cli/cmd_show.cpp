// numbloc-cli show: the stored header fields and the grid of one .nbl file.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "core/board/nbl_file.h"
#include "core/board/text_grid.h"

namespace numbloc::cli {
namespace {

const char kShowUsage[] =
    "usage: numbloc-cli show FILE.nbl\n"
    "Prints the header fields by name and the grid: hints as they are, numbers placed\n"
    "in Solving mode with a leading '+', cells of complete blocks followed by '*',\n"
    "empty cells '.', the frame value inside the puzzle '#', and any other value\n"
    "a damaged file holds as its plain number.\n";

const char* ModeName(int mode) {
  switch (mode) {
    case Creation: return "Creation";
    case SolveStart: return "SolveStart";
    case SolvePlayed: return "SolvePlayed";
    case SolveAuto: return "SolveAuto";
    default: return "unknown";
  }
}

// The message without the padding that fills it to its fixed width.
std::string TrimmedMessage(std::int32_t status) {
  const char* text = StatusMessageFor(status);
  if (!text) return "(none)";
  std::string s = text;
  const std::string wideSpace = "\xE3\x80\x80";
  for (;;) {
    if (!s.empty() && s.back() == ' ') {
      s.pop_back();
    } else if (s.size() >= 3 && s.compare(s.size() - 3, 3, wideSpace) == 0) {
      s.resize(s.size() - 3);
    } else {
      break;
    }
  }
  return s.empty() ? "(blank)" : s;
}

}  // namespace

int RunShow(int argc, char** argv) {
  if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::fputs(kShowUsage, stdout);
    return kExitOk;
  }
  if (argc != 2) {
    std::fputs(kShowUsage, stderr);
    return kExitUsage;
  }
  auto state = std::make_unique<BoardState>();
  const NblResult read = ReadNblFile(argv[1], *state);
  if (!read.ok) {
    std::fprintf(stderr, "numbloc-cli show: %s: %s\n", argv[1], read.reason.c_str());
    return kExitFailure;
  }
  const BoardState& s = *state;
  std::printf("Mode            %d (%s)\n", s.Mode, ModeName(s.Mode));
  std::printf("BoardWidth      %d\n", s.BoardWidth);
  std::printf("BoardHeight     %d\n", s.BoardHeight);
  std::printf("MaxNumber       %d (from the size)\n", DeriveMaxNumber(s.BoardWidth, s.BoardHeight));
  std::printf("SelectedNumber  %d\n", s.SelectedNumber);
  std::printf("EmptyCount      %d\n", s.EmptyCount);
  std::printf("HistoryCount    %d\n", s.history.HistoryCount);
  std::printf("SolverStatus    %d %s\n", s.SolverStatus, TrimmedMessage(s.SolverStatus).c_str());
  std::printf("\n%s", FormatGrid(s).c_str());
  return kExitOk;
}

}  // namespace numbloc::cli
