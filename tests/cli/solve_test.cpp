// numbloc-cli solve: exit codes, the order of its report, saved results, the
// time limit and the report formats.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

// The 3-pair at (5, 2)-(6, 2) can only grow into (6, 3), which also touches
// the hint 3 at (6, 4): the placement makes a block of four 3s.
constexpr const char* kOverfill = R"(
 3 3 3 2 2 1
 4 4 4 4 3 3
 1 2 5 5 5 .
 6 2 5 1 5 3
 6 6 6 6 4 4
 6 1 2 2 1 4
)";

TEST(SolveCommand, UsageErrorsExitTwo) {
  const std::string dir = TempFolder();
  const std::string a = WriteBoard(dir + "/a.nbl", BoardFromPicture(kFull));
  std::filesystem::create_directories(dir + "/sub");
  const std::string same = WriteBoard(dir + "/sub/a.nbl", BoardFromPicture(kFull));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"solve"},
           {"solve", a, a, "-o", dir + "/out.nbl"},
           {"solve", a, "-o", dir + "/o.nbl", "--out-dir", dir},
           {"solve", a, "--jobs", "0"},
           {"solve", a, "--jobs", "two"},
           {"solve", a, "--threads", "0"},
           {"solve", a, "--complete", "--threads", "2"},
           {"solve", a, "--time-limit", "-1"},
           {"solve", a, "--format", "xml"},
           {"solve", a, "--frobnicate"},
           {"solve", a, same, "--out-dir", dir + "/out"},
       }) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exit_code, 2) << args.back() << "\n" << run.out << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
}

TEST(SolveCommand, ReportsEachVerdictWithItsMessage) {
  const std::string dir = TempFolder();
  const CliRun run = RunCli({"solve", WriteBoard(dir + "/full.nbl", BoardFromPicture(kFull)),
                             WriteBoard(dir + "/open.nbl", BoardFromPicture(kFourOpen)),
                             WriteBoard(dir + "/broken.nbl", BoardFromPicture(kBroken)),
                             dir + "/missing.nbl"});
  // An unreadable file fails the run; a contradiction is a verdict, not a failure.
  EXPECT_EQ(run.exit_code, 1) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 6u) << run.out;
  EXPECT_NE(lines[0].find("full.nbl  6x6  solved  placed 0"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("open.nbl  6x6  solved  placed 4"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("broken.nbl  6x6  contradiction"), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find("この問題は成立していません"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[2].find("at column"), std::string::npos) << "no overfilled block here";
  EXPECT_NE(lines[3].find("missing.nbl  unreadable"), std::string::npos) << lines[3];
  EXPECT_NE(lines[3].find("問題が正常に読み込めません"), std::string::npos) << lines[3];
  // The message of status 0 is blank padding: nothing of it may show.
  EXPECT_EQ(lines[0].find("\xE3\x80\x80"), std::string::npos) << lines[0];
  EXPECT_NE(lines[4].find("4 files: 2 solved, 1 contradiction, 0 gave up, 0 time limit, 1 unreadable"),
            std::string::npos)
      << lines[4];
}

TEST(SolveCommand, NamesTheCellThatOverfilledABlock) {
  const std::string file = WriteBoard(TempFolder() + "/over.nbl", BoardFromPicture(kOverfill));
  CliRun run = RunCli({"solve", file});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("over.nbl  6x6  contradiction at column 6, row 3 (number 3)  placed 1"),
            std::string::npos)
      << run.out;
  run = RunCli({"solve", "--format", "tsv", file});
  const auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 2u) << run.out;
  EXPECT_EQ(Field(lines[1], 3), "contradiction");
  EXPECT_EQ(Field(lines[1], 5) + "," + Field(lines[1], 6) + "," + Field(lines[1], 7), "6,3,3");
}

TEST(SolveCommand, SavesWhatTheSolveButtonLeaves) {
  const std::string dir = TempFolder();
  // A player's wrong number on the board before the solve must be gone.
  BoardState start = BoardFromPicture(kFourOpen);
  start.Mode = SolvePlayed;
  start.Board[2][2].number = 103;
  const std::string in = WriteBoard(dir + "/in.nbl", start);
  CliRun run = RunCli({"solve", in, "-o", dir + "/out.nbl"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;

  BoardState out;
  ASSERT_TRUE(ReadNblFile(dir + "/out.nbl", out).ok);
  EXPECT_EQ(out.Mode, SolveAuto);
  EXPECT_EQ(out.SolverStatus, kStatusOk);
  EXPECT_EQ(out.Board[2][2].number, 104);
  EXPECT_EQ(out.Board[4][4].number, 101);
  EXPECT_EQ(out.Board[1][1].number, 3) << "hints stay hints";
  run = RunCli({"check", dir + "/out.nbl", "--puzzle", in});
  EXPECT_EQ(run.exit_code, 0) << run.out;

  // --out-dir keeps the input names, and the input itself is left alone;
  // the number of threads changes nothing.
  run = RunCli({"solve", in, "--out-dir", dir + "/many", "--threads", "3"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(ReadAll(dir + "/many/in.nbl"), ReadAll(dir + "/out.nbl"));
  BoardState again;
  ASSERT_TRUE(ReadNblFile(in, again).ok);
  EXPECT_EQ(again.Mode, SolvePlayed);
}

TEST(SolveCommand, OutputKeepsInputOrderWhateverFinishesFirst) {
  const std::string dir = TempFolder();
  // The first file runs into the time limit; the rest finish at once.
  const std::string slow = dir + "/slow.nbl";
  const TextGridResult empty = ParseTextGrid(EmptyBoard(20, 20));
  ASSERT_TRUE(empty.ok);
  WriteBoard(slow, MakeCreationState(empty.grid));
  std::vector<std::string> args{"solve", "--jobs", "3", "--time-limit", "0.5", slow};
  std::vector<std::string> names{"slow.nbl"};
  for (int i = 0; i < 8; ++i) {
    const std::string name = "quick" + std::to_string(i) + ".nbl";
    args.push_back(WriteBoard(dir + "/" + name, BoardFromPicture(i % 2 ? kFull : kFourOpen)));
    names.push_back(name);
  }
  args.push_back(dir + "/none.nbl");
  names.push_back("none.nbl");
  args.push_back("--out-dir");
  args.push_back(dir + "/out");
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.exit_code, 1) << "an unreadable file fails the run";
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), names.size() + 2) << run.out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_NE(lines[i].find(dir + "/" + names[i] + "  "), std::string::npos) << i << ": " << lines[i];
  }
  // Should a faster solver one day decide the empty board in time, it is saved.
  const bool stopped = lines[0].find("  time limit (stopped after ") != std::string::npos;
  EXPECT_EQ(std::filesystem::exists(dir + "/out/slow.nbl"), !stopped) << lines[0];
  EXPECT_TRUE(std::filesystem::exists(dir + "/out/quick0.nbl"));
}

TEST(SolveCommand, TsvAndJsonCarryTheSameFacts) {
  const std::string dir = TempFolder();
  const std::string full = WriteBoard(dir + "/full.nbl", BoardFromPicture(kFull));
  const std::string broken = WriteBoard(dir + "/broken.nbl", BoardFromPicture(kBroken));
  CliRun run = RunCli({"solve", "--format", "tsv", "--classic", full, broken});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "file\twidth\theight\toutcome\tstatus\tconflict_column\tconflict_row\t"
            "conflict_number\tplaced\tseconds\tmessage");
  EXPECT_EQ(Field(lines[1], 0), full);
  EXPECT_EQ(Field(lines[1], 3), "solved");
  EXPECT_EQ(Field(lines[1], 10), "");
  EXPECT_EQ(Field(lines[2], 3), "contradiction");
  EXPECT_EQ(Field(lines[2], 4), "1");
  EXPECT_EQ(Field(lines[2], 10), "この問題は成立していません");
  EXPECT_NE(run.out.find("#summary\tsolved\t1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("#summary\tcontradiction\t1\n"), std::string::npos) << run.out;

  run = RunCli({"solve", "--format", "json", full, broken});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.rfind("{\"files\": [", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\"outcome\": \"solved\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"outcome\": \"contradiction\", \"status\": 1, \"message\": "
                         "\"この問題は成立していません\""),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"summary\": {\"files\": 2, \"solved\": 1, \"contradiction\": 1"),
            std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace numbloc::test
