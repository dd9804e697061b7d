// numbloc-cli show and new, run as a user runs them: exit codes, messages,
// and a grid that goes through new and comes back out of show unchanged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "cli_run.h"

namespace numbloc::test {
namespace {

const char kGrid[] =
    "5 . 5 . . 5 . 7\n"
    ". 4 . . . 3 . .\n"
    ". . . 1 . 2 . .\n"
    "1 . 1 . . . . .\n"
    ". 6 . . 3 . . .\n"
    "1 . . 3 . 3 . 40\n";

std::string WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(ShowNew, AGridGoesThroughNewAndComesBackOutOfShow) {
  const std::string dir = TempFolder();
  const std::string grid = WriteText(dir + "/grid.txt", kGrid);
  const CliRun made = RunCli({"new", "-o", dir + "/p.nbl", grid});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  EXPECT_EQ(ReadAll(dir + "/p.nbl").size(), NblFileSize(8, 6));

  const CliRun shown = RunCli({"show", dir + "/p.nbl"});
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  EXPECT_NE(shown.out.find("Mode            0 (Creation)"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("BoardWidth      8"), std::string::npos);
  EXPECT_NE(shown.out.find("BoardHeight     6"), std::string::npos);
  EXPECT_NE(shown.out.find("\n   1    .    .    3    .    3    .   40\n"), std::string::npos) << shown.out;

  // The same grid from standard input gives the same bytes.
  const std::string cmd = Quote(NUMBLOC_CLI_PATH) + " new -o " + Quote(dir + "/q.nbl") + " - < " + Quote(grid);
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(ReadAll(dir + "/p.nbl"), ReadAll(dir + "/q.nbl"));
}

TEST(ShowNew, ShowMarksPlacedAndCompleteCells) {
  BoardState s;
  s.ResetBoard();
  s.Mode = SolveAuto;
  s.SolverStatus = kStatusContradiction;
  s.Board[1][1] = {1, 1, 0};
  s.Board[2][1] = {102, 0, 0};
  s.Board[3][1] = {140, 1, 0};
  const CliRun shown = RunCli({"show", WriteBoard(TempFolder() + "/s.nbl", s)});
  ASSERT_EQ(shown.exit_code, 0);
  EXPECT_NE(shown.out.find("SolveAuto"), std::string::npos);
  EXPECT_NE(shown.out.find("この問題は成立していません"), std::string::npos);
  EXPECT_NE(shown.out.find("\n   1*  +2  +40*   .    ."), std::string::npos) << shown.out;
}

TEST(ShowNew, RefusedInputWritesNothingAndSaysWhy) {
  const std::string dir = TempFolder();
  const CliRun bad =
      RunCli({"new", "-o", dir + "/bad.nbl", WriteText(dir + "/bad.txt", ". . . . . .\n. . 41 . . .\n")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.err.find("line 2: 41 is outside 1..40"), std::string::npos) << bad.err;
  EXPECT_TRUE(ReadAll(dir + "/bad.nbl").empty());

  const CliRun missing = RunCli({"show", dir + "/missing.nbl"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("missing.nbl"), std::string::npos);

  EXPECT_EQ(RunCli({"show", WriteText(dir + "/short.nbl", "08810000")}).exit_code, 1);
}

TEST(ShowNew, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunCli({}).exit_code, 2);
  EXPECT_EQ(RunCli({"frobnicate"}).exit_code, 2);
  EXPECT_EQ(RunCli({"new"}).exit_code, 2);
  EXPECT_EQ(RunCli({"new", "-o"}).exit_code, 2);
  EXPECT_EQ(RunCli({"show"}).exit_code, 2);
  EXPECT_EQ(RunCli({"show", "a", "b"}).exit_code, 2);
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("new -o OUT.nbl"), std::string::npos);
}

}  // namespace
}  // namespace numbloc::test
