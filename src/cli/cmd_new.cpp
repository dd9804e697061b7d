// numbloc-cli new: a Creation-mode puzzle file from a grid typed as text.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "core/board/nbl_file.h"
#include "core/board/text_grid.h"

namespace numbloc::cli {
namespace {

const char kNewUsage[] =
    "usage: numbloc-cli new -o OUT.nbl [GRID.txt | -]\n"
    "Reads a grid (standard input when no file or '-' is named): one row per line,\n"
    "numbers 1..40 separated by spaces, '.' or 0 for an empty cell; blank lines and\n"
    "lines starting with '#' are skipped. 6..30 columns, 6..40 rows.\n"
    "Writes a puzzle in Creation mode; nothing is written when the grid is refused.\n";

}  // namespace

int RunNew(int argc, char** argv) {
  std::string out;
  std::string in = "-";
  bool haveInput = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(kNewUsage, stdout);
      return kExitOk;
    }
    if (!std::strcmp(argv[i], "-o") || !std::strcmp(argv[i], "--output")) {
      if (i + 1 >= argc) {
        std::fputs(kNewUsage, stderr);
        return kExitUsage;
      }
      out = argv[++i];
    } else if (!haveInput && (argv[i][0] != '-' || !std::strcmp(argv[i], "-"))) {
      in = argv[i];
      haveInput = true;
    } else {
      std::fprintf(stderr, "numbloc-cli new: unexpected argument '%s'\n%s", argv[i], kNewUsage);
      return kExitUsage;
    }
  }
  if (out.empty()) {
    std::fputs(kNewUsage, stderr);
    return kExitUsage;
  }

  std::string text;
  if (in == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(in, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "numbloc-cli new: cannot open %s\n", in.c_str());
      return kExitFailure;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
  }

  const TextGridResult parsed = ParseTextGrid(text);
  if (!parsed.ok) {
    std::fprintf(stderr, "numbloc-cli new: %s: %s\n", in == "-" ? "<stdin>" : in.c_str(), parsed.error.c_str());
    return kExitFailure;
  }
  const NblResult written = WriteNblFile(out, MakeCreationState(parsed.grid));
  if (!written.ok) {
    std::fprintf(stderr, "numbloc-cli new: %s\n", written.reason.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace numbloc::cli
