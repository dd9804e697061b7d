// numbloc-cli show and new as a user runs them (a grid round trip, messages),
// and the usage errors of every command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "cli_run.h"

namespace numbloc::test {
namespace {

std::string WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The grid has what people type: a comment, a blank line, 0 for empty, a CRLF.
TEST(ShowNew, AGridGoesThroughNewAndComesBackOutOfShow) {
  const std::string dir = TempFolder();
  const std::string grid = WriteText(dir + "/grid.txt",
                                     "# a comment line\n5 . 5 . . 5 . 7\n. 4 . . . 3 . .\n\n0 0 0 1 0 2 0 0\n"
                                     "1 . 1 . . . . .\n. 6 . . 3 . . .\n1 . . 3 . 3 . 40\r\n");
  const CliRun made = RunCli({"new", "-o", dir + "/p.nbl", grid});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  EXPECT_EQ(ReadAll(dir + "/p.nbl").size(), NblFileSize(8, 6));

  const CliRun shown = RunCli({"show", dir + "/p.nbl"});
  ASSERT_EQ(shown.exit_code, 0) << shown.err;
  for (const char* text : {"Mode            0 (Creation)\nBoardWidth      8\nBoardHeight     6\n",
                           "\n   .    .    .    1    .    2    .    .\n",
                           "\n   1    .    .    3    .    3    .   40\n"}) {
    EXPECT_NE(shown.out.find(text), std::string::npos) << text << "\n" << shown.out;
  }
  // The same grid from standard input gives the same bytes.
  const std::string cmd = Quote(NUMBLOC_CLI_PATH) + " new -o " + Quote(dir + "/q.nbl") + " - < " + Quote(grid);
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(ReadAll(dir + "/p.nbl"), ReadAll(dir + "/q.nbl"));
}

TEST(ShowNew, RefusedInputWritesNothingAndSaysWhy) {
  const std::string dir = TempFolder();
  const CliRun bad =
      RunCli({"new", "-o", dir + "/bad.nbl", WriteText(dir + "/bad.txt", ". . . . . .\n. . 41 . . .\n")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.err.find("line 2: 41 is outside 1..40"), std::string::npos) << bad.err;
  EXPECT_FALSE(std::filesystem::exists(dir + "/bad.nbl"));
  EXPECT_EQ(RunCli({"show", WriteText(dir + "/short.nbl", "08810000")}).exit_code, 1);
}

TEST(Usage, ErrorsExitTwoAndPrintNothingOnStandardOutput) {
  const std::string dir = TempFolder();
  const std::string a = WriteBoard(dir + "/a.nbl", Board(kFull));
  std::filesystem::create_directories(dir + "/sub");
  const std::string same = WriteBoard(dir + "/sub/a.nbl", Board(kFull));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"new"}, {"new", "-o"}, {"show"}, {"show", "a", "b"},
           {"check"}, {"check", a, "--bogus"}, {"check", a, "--puzzle"},
           {"count"}, {"count", a, "--jobs", "0"}, {"count", a, "--format", "xml"},
           {"count", a, "--time-limit"}, {"count", a, "-o", "x.nbl"},
           {"solve"}, {"solve", a, a, "-o", dir + "/out.nbl"}, {"solve", a, "-o", dir + "/o.nbl", "--out-dir", dir},
           {"solve", a, "--jobs", "0"}, {"solve", a, "--jobs", "two"}, {"solve", a, "--threads", "0"},
           {"solve", a, "--complete", "--threads", "2"}, {"solve", a, "--complete", "--classic"},
           {"solve", a, "--time-limit", "-1"}, {"solve", a, "--format", "xml"}, {"solve", a, "--frobnicate"},
           {"solve", a, same, "--out-dir", dir + "/out"},
           // generate refuses bad options before writing anything
           {"generate", "--width", "5", "--height", "10", "--out-dir", dir + "/gen"},
           {"generate", "--width", "10", "--height", "10", "--max-number", "2", "--out-dir", dir + "/gen"},
           {"generate", "--width", "6", "--height", "6", "--max-number", "9", "--out-dir", dir + "/gen"},
           {"generate", "--width", "10", "--height", "10", "--difficulty", "hard", "--out-dir", dir + "/gen"},
           {"generate", "--width", "10", "--height", "10", "--count", "0", "--out-dir", dir + "/gen"},
           {"generate", "--width", "10", "--out-dir", dir + "/gen"},
           {"generate", "--width", "10", "--height", "10", "--format", "json", "--out-dir", dir + "/gen"},
       }) {
    std::string command;
    for (const std::string& arg : args) command += " " + arg;
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 2) << command << "\n" << run.out << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/gen"));
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("new -o OUT.nbl"), std::string::npos);
}

}  // namespace
}  // namespace numbloc::test
