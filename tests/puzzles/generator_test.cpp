// make_puzzles: valid solved boards, hints taken from them, and the same
// files for the same seed.
#include "../cli/cli_run.h"
#include "cli/board_check.h"
#include "cli/puzzle_text.h"

namespace numbloc::test {
namespace {

CliRun MakePuzzles(const std::vector<std::string>& args) {
  std::string command = Quote(NUMBLOC_MAKE_PUZZLES_PATH);
  for (const std::string& a : args) command += " " + Quote(a);
  CliRun run;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

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

    // The .nbl holds the same hints in Creation mode.
    BoardState nbl;
    ASSERT_TRUE(ReadNblFile(dir + "/" + stem + ".nbl", nbl).ok);
    EXPECT_EQ(nbl.Mode, Creation);
    const BoardState expected = PuzzleToState(*text);
    for (int x = 0; x <= 31; ++x) {
      for (int y = 0; y <= 41; ++y) {
        ASSERT_EQ(nbl.Board[x][y].number, expected.Board[x][y].number) << stem << " " << x << "," << y;
      }
    }
  }
}

TEST(MakePuzzles, EveryBlockKeepsAHintEvenWhenFewAreKept) {
  const std::string dir = TempFolder();
  ASSERT_EQ(MakePuzzles({"--out-dir", dir, "--width", "12", "--height", "9", "--keep", "0"}).exit_code, 0);
  const auto text = ReadPuzzleText(dir + "/g12x9-s0001.txt");
  ASSERT_TRUE(text.has_value());
  // Flood each solution block and look for a hint in it.
  std::vector<int> seen(12 * 9, 0);
  for (int start = 0; start < 12 * 9; ++start) {
    if (seen[start]) continue;
    std::vector<int> stack{start};
    seen[start] = 1;
    bool hinted = false;
    while (!stack.empty()) {
      const int c = stack.back();
      stack.pop_back();
      hinted = hinted || text->hints[c] != 0;
      const int cx = c / 9, cy = c % 9;
      const int nb[4][2] = {{cx, cy - 1}, {cx - 1, cy}, {cx, cy + 1}, {cx + 1, cy}};
      for (const auto& p : nb) {
        if (p[0] < 0 || p[0] >= 12 || p[1] < 0 || p[1] >= 9) continue;
        const int o = p[0] * 9 + p[1];
        if (!seen[o] && text->solution[o] == text->solution[c]) {
          seen[o] = 1;
          stack.push_back(o);
        }
      }
    }
    EXPECT_TRUE(hinted) << "block at " << start / 9 + 1 << "," << start % 9 + 1;
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
      "# size: 6x6 (width x height)\n"
      "# solutions: unique (published or checked)\n"
      "hints:\n"
      " 5  .  5  .  .  5\n .  4  .  .  .  3\n .  .  .  1  .  2\n"
      " 1  .  1  .  .  .\n .  6  .  .  3  .\n 1  .  .  3  . 13\n";
  std::string why;
  const auto parsed = ParsePuzzleText(text, &why);
  ASSERT_TRUE(parsed.has_value()) << why;
  EXPECT_EQ(parsed->HintAt(1, 1), 5);
  EXPECT_EQ(parsed->HintAt(2, 2), 4);
  EXPECT_EQ(parsed->HintAt(6, 6), 13);
  EXPECT_FALSE(parsed->HasSolution());
  EXPECT_EQ(FormatPuzzleText(*parsed), text);
  EXPECT_FALSE(ParsePuzzleText("# size: 6x6\nhints:\n 1 2\n").has_value());
  EXPECT_FALSE(ParsePuzzleText("hints:\n 1\n").has_value());
}

}  // namespace
}  // namespace numbloc::test
