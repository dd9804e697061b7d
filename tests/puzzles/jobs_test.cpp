// numbloc-cli solve gives the same results, byte for byte, on one thread and
// on several, and with a time limit that is never reached.
#include "../cli/cli_run.h"
#include "shared_puzzles.h"

namespace numbloc::test {
namespace {

// Quick puzzles with every verdict among them (contradictions in classic mode).
constexpr const char* kPuzzles[] = {"h0001", "h0004", "h0009", "h0014", "h0021", "h0031",
                                    "h0040", "h0063", "h0081", "h0093", "h0103", "h0109",
                                    "h0119", "h0130", "h0165", "h0178", "h0207", "h0234",
                                    "h0251", "h0278", "h0290", "h0344", "h0393", "h0441"};

// The report rows without the times (field 9), which differ from run to run.
std::string Untimed(const std::string& tsv) {
  std::string out;
  for (const std::string& line : Lines(tsv)) {
    if (line.rfind("#summary", 0) == 0) continue;
    for (int i = 0; i < 11; ++i) out += i == 9 ? "|" : Field(line, i) + "|";
    out += "\n";
  }
  return out;
}

TEST(SolveJobs, ResultsDoNotDependOnJobsOrAnUnreachedTimeLimit) {
  NUMBLOC_REQUIRE_SHARED();
  const std::string dir = TempFolder();
  for (const bool classic : {false, true}) {
    std::vector<std::string> base{"solve", "--format", "tsv"};
    if (classic) base.push_back("--classic");
    for (const char* name : kPuzzles) base.push_back((HandDir() / (std::string(name) + ".nbl")).string());

    std::vector<std::string> one = base;
    one.insert(one.end(), {"--jobs", "1", "--out-dir", dir + "/one"});
    std::vector<std::string> many = base;
    many.insert(many.end(), {"--jobs", "4", "--time-limit", "100000", "--out-dir", dir + "/many"});
    const CliRun a = RunCli(one);
    const CliRun b = RunCli(many);
    ASSERT_EQ(a.exit_code, 0) << a.out << a.err;
    ASSERT_EQ(b.exit_code, 0) << b.out << b.err;
    EXPECT_EQ(Untimed(a.out), Untimed(b.out)) << (classic ? "classic" : "default");
    for (const char* name : kPuzzles) {
      const std::string file = std::string("/") + name + ".nbl";
      const std::string saved = ReadAll(dir + "/one" + file);
      EXPECT_FALSE(saved.empty()) << name;
      EXPECT_EQ(saved, ReadAll(dir + "/many" + file)) << name << (classic ? " classic" : "");
    }
    if (classic) {
      EXPECT_NE(a.out.find("\tcontradiction\t"), std::string::npos) << "the set lost its contradictions";
    }
    EXPECT_NE(a.out.find("\tgave_up\t"), std::string::npos) << "the set lost its gave-up puzzle";
  }
}

}  // namespace
}  // namespace numbloc::test
