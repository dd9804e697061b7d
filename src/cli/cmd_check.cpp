// `numbloc-cli check`: tells whether finished boards obey the puzzle rules.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/board_check.h"
#include "cli/commands.h"
#include "cli/puzzle_text.h"
#include "core/board/nbl_file.h"

namespace numbloc::cli {
namespace {

constexpr const char* kCheckUsage =
    "usage: numbloc-cli check FILE.nbl... [--puzzle PUZZLE.nbl|PUZZLE.txt]\n"
    "  Checks that every puzzle cell holds a number and that every block has as\n"
    "  many cells as its number (so no two same-number blocks touch). With\n"
    "  --puzzle, also that every hint of that puzzle is kept and none added.\n"
    "  Prints the first broken rule and its cell. Exit 0 when every board is\n"
    "  valid, 1 when one is not or cannot be read, 2 on a usage error.\n";

bool EndsWith(const std::string& s, const char* tail) {
  const std::size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Loads the puzzle given with --puzzle: its hints are the cells below 100.
bool LoadPuzzle(const std::string& path, BoardState& puzzle, std::string& why) {
  if (EndsWith(path, ".txt")) {
    const auto text = ReadPuzzleText(path, &why);
    if (!text) return false;
    puzzle = PuzzleToState(*text);
    return true;
  }
  const NblResult r = ReadNblFile(path, puzzle);
  why = r.reason;
  return r.ok;
}

}  // namespace

int RunCheck(int argc, char** argv) {
  std::vector<std::string> files;
  std::string puzzle_path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kCheckUsage, stdout);
      return kExitOk;
    }
    if (arg == "--puzzle") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "check: --puzzle needs a file\n%s", kCheckUsage);
        return kExitUsage;
      }
      puzzle_path = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "check: unknown option %s\n%s", arg.c_str(), kCheckUsage);
      return kExitUsage;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "check: no file given\n%s", kCheckUsage);
    return kExitUsage;
  }
  BoardState puzzle;
  if (!puzzle_path.empty()) {
    std::string why;
    if (!LoadPuzzle(puzzle_path, puzzle, why)) {
      std::fprintf(stderr, "check: cannot read puzzle %s: %s\n", puzzle_path.c_str(),
                   why.c_str());
      return kExitFailure;
    }
  }
  int exit_code = kExitOk;
  for (const std::string& file : files) {
    BoardState board;
    const NblResult r = ReadNblFile(file, board);
    if (!r.ok) {
      std::printf("%s: unreadable: %s\n", file.c_str(), r.reason.c_str());
      exit_code = kExitFailure;
      continue;
    }
    const CheckFinding finding = CheckBoard(board, puzzle_path.empty() ? nullptr : &puzzle);
    if (finding.ok()) {
      std::printf("%s: valid (%dx%d, every rule kept%s)\n", file.c_str(), board.BoardWidth,
                  board.BoardHeight, puzzle_path.empty() ? "" : ", every hint kept");
    } else {
      std::printf("%s: invalid: %s\n", file.c_str(), DescribeFinding(finding).c_str());
      exit_code = kExitFailure;
    }
  }
  return exit_code;
}

}  // namespace numbloc::cli
