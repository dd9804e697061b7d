// numbloc-cli solve: exit codes, report, saved results, formats (order: jobs_test).
#include <gtest/gtest.h>

#include "cli_run.h"

namespace numbloc::test {
namespace {

// The 3-pair at (5, 2)-(6, 2) can only grow into (6, 3), which also touches
// the hint 3 at (6, 4): the placement makes a block of four 3s.
const std::vector<std::string> kOverfill = {"3 3 3 2 2 1", "4 4 4 4 3 3", "1 2 5 5 5 .",
                                            "6 2 5 1 5 3", "6 6 6 6 4 4", "6 1 2 2 1 4"};

TEST(SolveCommand, ReportsEachVerdictWithItsMessage) {
  const std::string dir = TempFolder();
  const CliRun run = RunCli({"solve", WriteBoard(dir + "/full.nbl", Board(kFull)),
                             WriteBoard(dir + "/open.nbl", Board(kFourOpen)),
                             WriteBoard(dir + "/broken.nbl", Board(kBroken)),
                             WriteBoard(dir + "/over.nbl", Board(kOverfill)), dir + "/missing.nbl"});
  // An unreadable file fails the run (a contradiction alone does not, see below).
  EXPECT_EQ(run.exit_code, 1) << run.err;
  ASSERT_EQ(Lines(run.out).size(), 7u) << run.out;
  ExpectLines(run.out, {"full.nbl  6x6  solved  placed 0", "open.nbl  6x6  solved  placed 4",
                        "broken.nbl  6x6  contradiction  placed 0",
                        "over.nbl  6x6  contradiction at column 6, row 3 (number 3)  placed 1", "missing.nbl  unreadable",
                        "5 files: 2 solved, 2 contradiction, 0 gave up, 0 time limit, 1 unreadable"});
  EXPECT_NE(Lines(run.out)[2].find("この問題は成立していません"), std::string::npos) << run.out;
  // The message of status 0 is blank padding: nothing of it may show.
  EXPECT_EQ(Lines(run.out)[0].find("\xE3\x80\x80"), std::string::npos) << run.out;
}

TEST(SolveCommand, SavesWhatTheSolveButtonLeaves) {
  const std::string dir = TempFolder();
  // A player's wrong number on the board before the solve must be gone.
  BoardState start = Board(kFourOpen);
  start.Mode = SolvePlayed;
  start.Board[2][2].number = 103;
  const std::string in = WriteBoard(dir + "/in.nbl", start);
  CliRun run = RunCli({"solve", in, "-o", dir + "/out.nbl"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  BoardState out;
  ASSERT_TRUE(ReadNblFile(dir + "/out.nbl", out).ok);
  EXPECT_EQ(out.Mode, SolveAuto);
  EXPECT_EQ(out.SolverStatus, kStatusOk);
  // Valid, every hint kept and none added: the solution, in placed numbers.
  EXPECT_EQ(RunCli({"check", dir + "/out.nbl", "--puzzle", in}).exit_code, 0);

  // --out-dir keeps input names and leaves inputs alone; threads change nothing.
  run = RunCli({"solve", in, "--out-dir", dir + "/many", "--threads", "3"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(ReadAll(dir + "/many/in.nbl"), ReadAll(dir + "/out.nbl"));
  EXPECT_EQ(ReadAll(in), ReadAll(WriteBoard(dir + "/again.nbl", start)));
}

TEST(SolveCommand, TsvAndJsonCarryTheSameFacts) {
  const std::string dir = TempFolder();
  const std::string full = WriteBoard(dir + "/full.nbl", Board(kFull));
  const std::string broken = WriteBoard(dir + "/broken.nbl", Board(kBroken));
  const std::string over = WriteBoard(dir + "/over.nbl", Board(kOverfill));
  CliRun run = RunCli({"solve", "--format", "tsv", "--classic", full, broken, over});
  ASSERT_EQ(run.exit_code, 0) << run.err;  // contradictions are verdicts, not failures
  auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(Field(lines[1], 3) + "|" + Field(lines[1], 10), "solved|");
  EXPECT_EQ(Field(lines[2], 3) + "|" + Field(lines[2], 4) + "|" + Field(lines[2], 10),
            "contradiction|1|この問題は成立していません");
  EXPECT_EQ(Field(lines[3], 5) + "," + Field(lines[3], 6) + "," + Field(lines[3], 7), "6,3,3");
  EXPECT_NE(run.out.find("#summary\tcontradiction\t2\n"), std::string::npos) << run.out;

  run = RunCli({"solve", "--format", "json", full, broken});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const char* fact = "\"outcome\": \"contradiction\", \"status\": 1, \"message\": \"この問題は成立していません\"";
  EXPECT_NE(run.out.find(fact), std::string::npos) << run.out;
}

}  // namespace
}  // namespace numbloc::test
