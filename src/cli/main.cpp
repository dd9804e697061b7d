// numbloc-cli: inspect, create, solve, count and check .nbl puzzle files without the window.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace {

const char kUsage[] =
    "usage: numbloc-cli COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  show FILE.nbl                 print the header fields and the grid\n"
    "  new -o OUT.nbl [GRID.txt|-]   make a puzzle in Creation mode from a text grid\n"
    "                                (one row per line, numbers 1..40 separated by spaces,\n"
    "                                '.' or 0 for an empty cell, '#' starts a comment line)\n"
    "  solve IN.nbl... [-o OUT.nbl | --out-dir DIR] [--jobs N] [--time-limit SECONDS]\n"
    "        [--format text|tsv|json] [--threads N] [--classic | --complete]\n"
    "                                run the automatic solve (or the complete solver)\n"
    "                                on each file\n"
    "  count FILE.nbl... [--jobs N] [--time-limit SECONDS] [--format text|tsv|json]\n"
    "                                say whether each puzzle has no solution, one or\n"
    "                                several\n"
    "  check FILE.nbl... [--puzzle PUZZLE.nbl|.txt] check finished boards against the rules\n"
    "  generate --width W --height H --out-dir DIR [--seed S] [--count N]\n"
    "        [--max-number M] [--difficulty rules|trials|any] [--symmetric]\n"
    "                                make new puzzles that have exactly one solution\n"
    "\n"
    "exit codes: 0 ok, 1 bad input or failure, 2 usage\n"
    "'numbloc-cli COMMAND --help' describes one command.\n";

struct Command {
  const char* name;
  int (*run)(int, char**);
};

const Command kCommands[] = {
    {"show", numbloc::cli::RunShow},
    {"new", numbloc::cli::RunNew},
    {"solve", numbloc::cli::RunSolve},
    {"check", numbloc::cli::RunCheck},
    {"count", numbloc::cli::RunCount},
    {"generate", numbloc::cli::RunGenerate},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return numbloc::cli::kExitUsage;
  }
  if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
    std::fputs(kUsage, stdout);
    return numbloc::cli::kExitOk;
  }
  for (const Command& c : kCommands) {
    if (!std::strcmp(argv[1], c.name)) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "numbloc-cli: unknown command '%s'\n\n%s", argv[1], kUsage);
  return numbloc::cli::kExitUsage;
}
