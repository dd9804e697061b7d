// numbloc-cli count, and solve --complete: verdicts, report formats, exit
// codes, and what the complete solve leaves in the saved file.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

struct Files {
  std::string unique, several, none;
};

Files WritePuzzles(const std::string& dir) {
  const TextGridResult empty = ParseTextGrid(EmptyBoard(6, 6));
  EXPECT_TRUE(empty.ok);
  return {WriteBoard(dir + "/unique.nbl", BoardFromPicture(kFourOpen)),
          WriteBoard(dir + "/several.nbl", MakeCreationState(empty.grid)),
          WriteBoard(dir + "/none.nbl", BoardFromPicture(kBroken))};
}

TEST(CountCommand, OneLinePerFileInOrderAndVerdictsAreNotFailures) {
  const std::string dir = TempFolder();
  const Files f = WritePuzzles(dir);
  CliRun run = RunCli({"count", "--jobs", "3", f.several, f.none, f.unique});
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_EQ(lines[0].rfind(f.several + "  6x6  several (", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(" cells differ, first at column "), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind(f.none + "  6x6  none  ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind(f.unique + "  6x6  unique  ", 0), 0u) << lines[2];
  EXPECT_EQ(lines[3].rfind("3 files: 1 none, 1 unique, 1 several, 0 time_limit, 0 unreadable", 0),
            0u)
      << lines[3];

  // An unreadable file and a time limit reached fail the run.
  const TextGridResult large = ParseTextGrid(EmptyBoard(30, 40));
  ASSERT_TRUE(large.ok);
  const std::string slow = WriteBoard(dir + "/slow.nbl", MakeCreationState(large.grid));
  run = RunCli({"count", "--time-limit", "0.001", slow, dir + "/missing.nbl", f.unique});
  EXPECT_EQ(run.exit_code, 1) << run.out << run.err;
  lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_NE(lines[0].find("  30x40  time limit (stopped after 1.00 ms)"), std::string::npos)
      << lines[0];
  EXPECT_NE(lines[1].find("missing.nbl  unreadable ("), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("  unique  "), std::string::npos) << lines[2];
}

TEST(CountCommand, TsvAndJsonNameTheirFields) {
  const Files f = WritePuzzles(TempFolder());
  CliRun run = RunCli({"count", "--format", "tsv", f.several, f.unique});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0],
            "file\twidth\theight\tverdict\tseconds\tdiffering\tfirst_column\tfirst_row\t"
            "decisions\tconflicts\tdetail");
  EXPECT_EQ(Field(lines[1], 0), f.several);
  EXPECT_EQ(Field(lines[1], 3), "several");
  const int differing = std::stoi(Field(lines[1], 5));
  const int column = std::stoi(Field(lines[1], 6)), row = std::stoi(Field(lines[1], 7));
  EXPECT_GE(differing, 2);  // one cell cannot change alone
  EXPECT_TRUE(column >= 1 && column <= 6 && row >= 1 && row <= 6) << lines[1];
  EXPECT_EQ(Field(lines[2], 3), "unique");
  EXPECT_EQ(Field(lines[2], 5), "0");
  EXPECT_NE(run.out.find("#summary\tseveral\t1\n"), std::string::npos) << run.out;

  run = RunCli({"count", "--format", "json", f.unique, f.several});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.rfind("{\"files\": [", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\"verdict\": \"unique\", \"width\": 6, \"height\": 6"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"differing\": " + std::to_string(differing)), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"summary\": {\"files\": 2, \"none\": 0, \"unique\": 1, \"several\": 1"),
            std::string::npos)
      << run.out;
}

TEST(CountCommand, UsageErrorsExitTwo) {
  const Files f = WritePuzzles(TempFolder());
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"count"},
           {"count", f.unique, "--jobs", "0"},
           {"count", f.unique, "--format", "xml"},
           {"count", f.unique, "--time-limit"},
           {"count", f.unique, "-o", "x.nbl"},
           {"solve", f.unique, "--complete", "--classic"},
       }) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 2) << args.back() << "\n" << run.out << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
}

TEST(SolveComplete, WritesWhatTheAutomaticSolveWritesAndLeavesOthersAlone) {
  const std::string dir = TempFolder();
  const Files f = WritePuzzles(dir);
  // Where the automatic solve solves a puzzle, the complete solve saves the
  // same bytes.
  CliRun run = RunCli({"solve", f.unique, "-o", dir + "/auto.nbl"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  run = RunCli({"solve", "--complete", f.unique, f.several, f.none, "--out-dir", dir + "/out"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_NE(lines[0].find("unique.nbl  6x6  solved  placed 4"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("several.nbl  6x6  several solutions  placed 0"), std::string::npos)
      << lines[1];
  EXPECT_NE(lines[2].find("none.nbl  6x6  no solution  placed 0"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3].rfind("3 files (complete): 1 solved, 1 no solution, 1 several solutions", 0),
            0u)
      << lines[3];
  EXPECT_EQ(ReadAll(dir + "/out/unique.nbl"), ReadAll(dir + "/auto.nbl"));
  EXPECT_EQ(ReadAll(dir + "/out/several.nbl"), ReadAll(f.several));
  EXPECT_EQ(ReadAll(dir + "/out/none.nbl"), ReadAll(f.none));
}

}  // namespace
}  // namespace numbloc::test
