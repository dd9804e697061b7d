// numbloc-cli check: which broken rule and cell it names, and its exit codes.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

// A valid finished 6 x 6 board (hints in the outer columns) and its hints alone.
const std::vector<std::string> kValid = {"3 +3 +3 +2 +2 1", "4 +4 +4 +4 +3 3", "1 +2 +5 +5 +5 3",
                                         "6 +2 +5 +1 +5 4", "6 +6 +6 +6 +4 4", "6 +1 +2 +2 +1 4"};
const std::vector<std::string> kPuzzle = {"3 . . . . 1", "4 . . . . 3", "1 . . . . 3",
                                          "6 . . . . 4", "6 . . . . 4", "6 . . . . 4"};

// The rows with row `y` (from 1) replaced.
std::vector<std::string> With(std::vector<std::string> rows, int y, const char* row) {
  rows[y - 1] = row;
  return rows;
}

TEST(CheckCommand, NamesTheFirstBrokenRuleAndItsCell) {
  const struct {
    std::vector<std::string> board, puzzle;  // puzzle empty: checked alone
    const char* finding;
    int exit = 1;
  } cases[] = {
      {kValid, {}, ": valid", 0},
      {kValid, kPuzzle, "every hint kept", 0},
      // Two empty cells; (2, 5) comes before (4, 1) because columns run outside.
      {With(With(kValid, 5, "6 . +6 +6 +4 4"), 1, "3 +3 +3 . +2 1"), {}, "empty cell at column 2, row 5"},
      // The 1 at (5, 6) becomes a 2 beside the pair of 2s: three 2s in one group.
      {With(kValid, 6, "6 +1 +2 +2 +2 4"), {}, "block of 2 at column 3, row 6 has 3 cells"},
      // (1, 6) becomes 1: the 6-block keeps 5 cells (found first) and 1 touches 1.
      {With(kValid, 6, "1 +1 +2 +2 +1 4"), {}, "block of 6 at column 1, row 4 has 5 cells (too small)"},
      {kValid, With(kPuzzle, 3, "1 . 5 . . 3"), "hint 5 not kept at column 3, row 3"},
      {With(kValid, 2, "4 +4 4 +4 +3 3"), kPuzzle, "hint 4 not in the puzzle at column 3, row 2"},
      {With(kValid, 4, "6 +2 +5 # +5 4"), {}, "invalid cell value 100 at column 4, row 4"},
  };
  const std::string dir = TempFolder();
  for (const auto& c : cases) {
    std::vector<std::string> args{"check", WriteBoard(dir + "/board.nbl", Board(c.board))};
    if (!c.puzzle.empty()) args.insert(args.end(), {"--puzzle", WriteBoard(dir + "/puzzle.nbl", Board(c.puzzle))});
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, c.exit) << c.finding;
    EXPECT_NE(run.out.find(c.finding), std::string::npos) << run.out << run.err;
  }
}

}  // namespace
}  // namespace numbloc::test
