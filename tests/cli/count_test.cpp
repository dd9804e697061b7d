// numbloc-cli count and solve --complete: verdicts, formats, exit codes, saved files.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

struct Files {
  std::string unique, several, none;
};

Files WritePuzzles(const std::string& dir) {
  return {WriteBoard(dir + "/unique.nbl", Board(kFourOpen)), WriteBoard(dir + "/several.nbl", EmptyBoard(6, 6)),
          WriteBoard(dir + "/none.nbl", Board(kBroken))};
}

TEST(CountCommand, OneLinePerFileInOrderAndVerdictsAreNotFailures) {
  const std::string dir = TempFolder();
  const Files f = WritePuzzles(dir);
  CliRun run = RunCli({"count", "--jobs", "3", f.several, f.none, f.unique});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  ASSERT_EQ(Lines(run.out).size(), 5u) << run.out;
  ExpectLines(run.out, {f.several + "  6x6  several (", f.none + "  6x6  none  ", f.unique + "  6x6  unique  ",
                        "3 files: 1 none, 1 unique, 1 several, 0 time_limit, 0 unreadable"});
  EXPECT_NE(run.out.find(" cells differ, first at column "), std::string::npos) << run.out;

  // An unreadable file and a time limit reached fail the run.
  const std::string slow = WriteBoard(dir + "/slow.nbl", EmptyBoard(30, 40));
  run = RunCli({"count", "--time-limit", "0.001", slow, dir + "/missing.nbl", f.unique});
  EXPECT_EQ(run.exit_code, 1) << run.out << run.err;
  ASSERT_EQ(Lines(run.out).size(), 5u) << run.out;
  ExpectLines(run.out, {"  30x40  time limit (stopped after 1.00 ms)", "missing.nbl  unreadable (", "  unique  "});
}

TEST(CountCommand, TsvAndJsonNameTheirFields) {
  const Files f = WritePuzzles(TempFolder());
  CliRun run = RunCli({"count", "--format", "tsv", f.several, f.unique});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u) << run.out;
  EXPECT_EQ(Field(lines[1], 0) + "|" + Field(lines[1], 3), f.several + "|several");
  const int differing = std::stoi(Field(lines[1], 5));
  EXPECT_GE(differing, 2);  // one cell cannot change alone
  EXPECT_EQ(Field(lines[2], 3) + "|" + Field(lines[2], 5), "unique|0");

  run = RunCli({"count", "--format", "json", f.unique, f.several});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("\"differing\": " + std::to_string(differing)), std::string::npos) << run.out;
}

// Same bytes as the automatic solve where it solves; other puzzles left alone.
TEST(SolveComplete, WritesWhatTheAutomaticSolveWritesAndLeavesOthersAlone) {
  const std::string dir = TempFolder();
  const Files f = WritePuzzles(dir);
  CliRun run = RunCli({"solve", f.unique, "-o", dir + "/auto.nbl"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  run = RunCli({"solve", "--complete", f.unique, f.several, f.none, "--out-dir", dir + "/out"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  ASSERT_EQ(Lines(run.out).size(), 5u) << run.out;
  ExpectLines(run.out, {"unique.nbl  6x6  solved  placed 4", "several.nbl  6x6  several solutions  placed 0",
                        "none.nbl  6x6  no solution  placed 0",
                        "3 files (complete): 1 solved, 1 no solution, 1 several solutions"});
  EXPECT_EQ(ReadAll(dir + "/out/unique.nbl"), ReadAll(dir + "/auto.nbl"));
  EXPECT_EQ(ReadAll(dir + "/out/several.nbl"), ReadAll(f.several));
  EXPECT_EQ(ReadAll(dir + "/out/none.nbl"), ReadAll(f.none));
}

}  // namespace
}  // namespace numbloc::test
