// numbloc-cli check: which broken rule and cell it names, and its exit codes.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

// A valid finished 6 x 6 board: hints in the first and last column, the rest
// placed by the player.
constexpr const char* kValid = R"(
 3 +3 +3 +2 +2  1
 4 +4 +4 +4 +3  3
 1 +2 +5 +5 +5  3
 6 +2 +5 +1 +5  4
 6 +6 +6 +6 +4  4
 6 +1 +2 +2 +1  4
)";

// The board's hints alone, as the puzzle it came from.
constexpr const char* kPuzzle = R"(
 3 . . . .  1
 4 . . . .  3
 1 . . . .  3
 6 . . . .  4
 6 . . . .  4
 6 . . . .  4
)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

CliRun Check(const std::string& picture, const std::vector<std::string>& extra = {}) {
  const std::string file = WriteBoard(TempFolder() + "/board.nbl", BoardFromPicture(picture));
  std::vector<std::string> args{"check", file};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunCli(args);
}

TEST(CheckCommand, AcceptsAValidBoardWithAndWithoutItsPuzzle) {
  CliRun run = Check(kValid);
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_NE(run.out.find(": valid"), std::string::npos) << run.out;

  const std::string puzzle = WriteBoard(TempFolder() + "/puzzle.nbl", BoardFromPicture(kPuzzle));
  run = Check(kValid, {"--puzzle", puzzle});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("every hint kept"), std::string::npos) << run.out;
}

TEST(CheckCommand, NamesTheFirstEmptyCellInScanOrder) {
  // Two empty cells; (2, 5) comes before (4, 1) because columns run outside.
  std::string picture = Replace(kValid, " 6 +6 +6 +6 +4  4", " 6  . +6 +6 +4  4");
  picture = Replace(picture, " 3 +3 +3 +2 +2  1", " 3 +3 +3  . +2  1");
  const CliRun run = Check(picture);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("empty cell at column 2, row 5"), std::string::npos) << run.out;
}

TEST(CheckCommand, SameNumberBlocksThatTouchAreOneTooLargeBlock) {
  // The 1 at (5, 6) becomes a 2 beside the pair of 2s: three 2s in one group.
  const std::string picture = Replace(kValid, " 6 +1 +2 +2 +1  4", " 6 +1 +2 +2 +2  4");
  const CliRun run = Check(picture);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("block of 2 at column 3, row 6 has 3 cells"), std::string::npos)
      << run.out;
}

TEST(CheckCommand, ReportsABlockThatIsTooSmallBeforeLaterFaults) {
  // (1, 6) becomes 1: the 6-block keeps 5 cells (found first, in column 1)
  // and the new 1 touches the 1 at (2, 6) (found later).
  const std::string picture = Replace(kValid, " 6 +1 +2 +2 +1  4", " 1 +1 +2 +2 +1  4");
  const CliRun run = Check(picture);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("block of 6 at column 1, row 4 has 5 cells (too small)"),
            std::string::npos)
      << run.out;
}

TEST(CheckCommand, HintsOfThePuzzleMustBeKept) {
  const std::string dir = TempFolder();
  // The puzzle says 5 at (3, 3) as a hint; the board holds a placed 5 there.
  const std::string puzzle =
      WriteBoard(dir + "/puzzle5.nbl", BoardFromPicture(Replace(kPuzzle, " 1 . .", " 1 . 5")));
  CliRun run = Check(kValid, {"--puzzle", puzzle});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("hint 5 not kept at column 3, row 3"), std::string::npos) << run.out;

  // A board that gained a hint the puzzle does not have.
  const std::string plain = WriteBoard(dir + "/puzzle_plain.nbl", BoardFromPicture(kPuzzle));
  run = Check(Replace(kValid, "+4 +4 +4 +3", "+4 4 +4 +3"), {"--puzzle", plain});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("hint 4 not in the puzzle at column 3, row 2"), std::string::npos)
      << run.out;
}

TEST(CheckCommand, RejectsValuesNoCellMayHold) {
  BoardState board = BoardFromPicture(kValid);
  board.Board[4][4].number = WALL;
  const std::string file = WriteBoard(TempFolder() + "/wall.nbl", board);
  const CliRun run = RunCli({"check", file});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.out.find("invalid cell value 100 at column 4, row 4"), std::string::npos)
      << run.out;
}

TEST(CheckCommand, ExitCodesForUsageAndUnreadableFiles) {
  EXPECT_EQ(RunCli({"check"}).exit_code, 2);
  EXPECT_EQ(RunCli({"check", "x.nbl", "--bogus"}).exit_code, 2);
  EXPECT_EQ(RunCli({"check", "x.nbl", "--puzzle"}).exit_code, 2);
  const std::string dir = TempFolder();
  const std::string good = WriteBoard(dir + "/good.nbl", BoardFromPicture(kValid));
  // One unreadable file among good ones fails the run but the others are still checked.
  const CliRun run = RunCli({"check", good, dir + "/missing.nbl", good});
  EXPECT_EQ(run.exit_code, 1);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_NE(lines[0].find("valid"), std::string::npos);
  EXPECT_NE(lines[1].find("missing.nbl: unreadable"), std::string::npos);
  EXPECT_NE(lines[2].find("valid"), std::string::npos);
}

}  // namespace
}  // namespace numbloc::test
