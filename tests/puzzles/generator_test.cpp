// make_puzzles: valid solved boards, hints taken from them, and the same
// files for the same seed.
#include <functional>

#include "../cli/cli_run.h"
#include "cli/board_check.h"
#include "cli/puzzle_text.h"

namespace numbloc::test {
namespace {

CliRun MakePuzzles(const std::vector<std::string>& args) { return RunCli(args, NUMBLOC_MAKE_PUZZLES_PATH); }

TEST(MakePuzzles, BoardsAreValidAndHintsComeFromThem) {
  const std::string dir = TempFolder();
  const CliRun run = MakePuzzles({"--out-dir", dir, "--width", "30", "--height", "40", "--seed",
                                  "7", "--count", "3", "--keep", "0.4"});
  ASSERT_EQ(run.exit_code, 0) << run.out;
  for (const char* stem : {"g30x40-s0007", "g30x40-s0008", "g30x40-s0009"}) {
    std::string why;
    const auto text = ReadPuzzleText(dir + "/" + stem + ".txt", &why);
    ASSERT_TRUE(text.has_value()) << stem << ": " << why;
    ASSERT_TRUE(text->HasSolution());
    // The solution as a board of hints must obey every rule.
    PuzzleText full = *text;
    full.hints = full.solution;
    const CheckFinding f = CheckBoard(PuzzleToState(full));
    EXPECT_TRUE(f.ok()) << stem << ": " << DescribeFinding(f);

    int hints = 0;
    for (int x = 1; x <= text->width; ++x) {
      for (int y = 1; y <= text->height; ++y) {
        if (!text->HintAt(x, y)) continue;
        ++hints;
        EXPECT_EQ(text->HintAt(x, y), text->SolutionAt(x, y)) << stem << " " << x << "," << y;
      }
    }
    EXPECT_NEAR(hints, 0.4 * 1200, 1) << stem;

    // The .nbl holds the hints in Creation mode, as the program saves a puzzle just set up.
    BoardState nbl;
    ASSERT_TRUE(ReadNblFile(dir + "/" + stem + ".nbl", nbl).ok);
    EXPECT_EQ(nbl.Mode, Creation);
    EXPECT_EQ(WriteNblBytes(nbl), WriteNblBytes(PuzzleToState(*text))) << stem;
  }
}

TEST(MakePuzzles, EveryBlockKeepsAHintEvenWhenFewAreKept) {
  const std::string dir = TempFolder();
  ASSERT_EQ(MakePuzzles({"--out-dir", dir, "--width", "12", "--height", "9", "--keep", "0"}).exit_code, 0);
  const auto text = ReadPuzzleText(dir + "/g12x9-s0001.txt");
  ASSERT_TRUE(text.has_value());
  // Marks the block of n through (x, y) as seen; true when a cell of it holds a hint.
  std::vector<bool> seen(12 * 9);
  std::function<bool(int, int, int)> flood = [&](int x, int y, int n) {
    if (x < 1 || x > 12 || y < 1 || y > 9 || seen[(x - 1) * 9 + y - 1] || text->SolutionAt(x, y) != n) return false;
    seen[(x - 1) * 9 + y - 1] = true;
    bool hint = text->HintAt(x, y) != 0;
    for (auto [dx, dy] : {std::pair{0, -1}, {-1, 0}, {0, 1}, {1, 0}}) hint = flood(x + dx, y + dy, n) || hint;
    return hint;
  };
  for (int x = 1; x <= 12; ++x) {
    for (int y = 1; y <= 9; ++y) {
      if (seen[(x - 1) * 9 + y - 1]) continue;
      EXPECT_TRUE(flood(x, y, text->SolutionAt(x, y))) << "block at " << x << "," << y;
    }
  }
}

TEST(MakePuzzles, TheSeedFixesTheFiles) {
  const std::string dir = TempFolder();
  ASSERT_EQ(MakePuzzles({"--out-dir", dir + "/a", "--seed", "3", "--count", "2"}).exit_code, 0);
  ASSERT_EQ(MakePuzzles({"--out-dir", dir + "/b", "--seed", "4"}).exit_code, 0);
  const std::string again = ReadAll(dir + "/b/g30x40-s0004.nbl");
  EXPECT_FALSE(again.empty());
  EXPECT_EQ(ReadAll(dir + "/a/g30x40-s0004.nbl"), again);
  EXPECT_NE(ReadAll(dir + "/a/g30x40-s0003.nbl"), again);
  EXPECT_EQ(MakePuzzles({"--width", "31", "--out-dir", dir}).exit_code, 2);
}

TEST(PuzzleText, FormatAndParseAgree) {
  const std::string text =
      "# size: 6x6 (width x height)\n# solutions: unique (published or checked)\nhints:\n"
      " 5  .  5  .  .  5\n .  4  .  .  .  3\n .  .  .  1  .  2\n"
      " 1  .  1  .  .  .\n .  6  .  .  3  .\n 1  .  .  3  . 13\n";
  std::string why;
  const auto parsed = ParsePuzzleText(text, &why);
  ASSERT_TRUE(parsed.has_value()) << why;
  EXPECT_EQ(parsed->HintAt(2, 2), 4);
  EXPECT_EQ(parsed->HintAt(6, 6), 13);
  EXPECT_FALSE(parsed->HasSolution());
  EXPECT_EQ(FormatPuzzleText(*parsed), text);
  EXPECT_FALSE(ParsePuzzleText("# size: 6x6\nhints:\n 1 2\n").has_value());
  EXPECT_FALSE(ParsePuzzleText("hints:\n 1\n").has_value());
}

}  // namespace
}  // namespace numbloc::test
