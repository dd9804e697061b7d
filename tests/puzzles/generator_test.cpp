// make_puzzles: valid solved boards, hints taken from them, same files per seed.
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

TEST(MakePuzzles, TheSeedFixesTheFiles) {
  const std::string dir = TempFolder();
  ASSERT_EQ(MakePuzzles({"--out-dir", dir + "/a", "--seed", "3", "--count", "2"}).exit_code, 0);
  ASSERT_EQ(MakePuzzles({"--out-dir", dir + "/b", "--seed", "4"}).exit_code, 0);
  const std::string again = ReadAll(dir + "/b/g30x40-s0004.nbl");
  EXPECT_FALSE(again.empty());
  EXPECT_EQ(ReadAll(dir + "/a/g30x40-s0004.nbl"), again);
  EXPECT_NE(ReadAll(dir + "/a/g30x40-s0003.nbl"), again);
}

}  // namespace
}  // namespace numbloc::test
