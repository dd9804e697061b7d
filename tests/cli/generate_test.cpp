// numbloc-cli generate: the files it names and writes, its report, and the
// same bytes for the same seed on any number of jobs.
#include "cli_run.h"

namespace numbloc::test {
namespace {

TEST(Generate, WritesCreationModeFilesNamedBySizeSeedAndIndexTheSameOnAnyJobs) {
  const std::string dir = TempFolder();
  const CliRun run = RunCli({"generate", "--width", "8", "--height", "7", "--seed", "5", "--count", "3",
                             "--difficulty", "rules", "--out-dir", dir + "/a", "--jobs", "2"});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "g8x7-rules-s5-" + std::to_string(i) + ".nbl";
    EXPECT_NE(lines[i - 1].find(name), std::string::npos) << lines[i - 1];
    EXPECT_NE(lines[i - 1].find(" hints  unique  "), std::string::npos) << lines[i - 1];
    BoardState state;
    ASSERT_TRUE(ReadNblFile(dir + "/a/" + name, state).ok) << name;
    EXPECT_EQ(state.Mode, Creation);
    EXPECT_EQ(state.BoardWidth, 8);
    EXPECT_EQ(state.BoardHeight, 7);
  }
  ASSERT_EQ(RunCli({"generate", "--width", "8", "--height", "7", "--seed", "5", "--count", "3",
                    "--difficulty", "rules", "--out-dir", dir + "/b", "--jobs", "1"})
                .exit_code,
            0);
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "/g8x7-rules-s5-" + std::to_string(i) + ".nbl";
    EXPECT_EQ(ReadAll(dir + "/a" + name), ReadAll(dir + "/b" + name)) << name;
  }
}

}  // namespace
}  // namespace numbloc::test
