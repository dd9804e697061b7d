// The .nbl format byte for byte, and the reader's all-or-nothing promise.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "core/board/nbl_file.h"

namespace numbloc {
namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string AsString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
std::vector<std::uint8_t> AsBytes(const std::string& s) { return {s.begin(), s.end()}; }

BoardState EmptyBoard(int w, int h) {
  BoardState s;
  s.BoardWidth = static_cast<std::uint8_t>(w);
  s.BoardHeight = static_cast<std::uint8_t>(h);
  s.ResetBoard();
  return s;
}

// A refused read leaves the state as it was, but for SolverStatus = kStatusUnreadable, and says why.
void ExpectRefused(const std::function<NblResult(BoardState&)>& read, const std::string& what) {
  BoardState before = EmptyBoard(10, 10);
  before.Board[4][4] = {6, 1, 2};
  before.SolverStatus = kStatusGaveUp;
  before.BoardReady = 2;
  BoardState s = before;
  const NblResult r = read(s);
  EXPECT_FALSE(r.ok) << what;
  EXPECT_FALSE(r.reason.empty()) << what;
  EXPECT_EQ(s.SolverStatus, kStatusUnreadable) << what;
  s.SolverStatus = before.SolverStatus;
  EXPECT_TRUE(s == before) << what;
}

// 6 x 6, Solving, hint 5 at (1,1), placed complete 1 at (6,6), one history entry, status 2.
TEST(NblWrite, SmallBoardByteForByte) {
  BoardState s = EmptyBoard(6, 6);
  s.Mode = SolvePlayed;
  s.SelectedNumber = 12;
  s.EmptyCount = 34;
  s.history.HistoryCount = 1;
  s.history.column[0] = 6;
  s.history.row[0] = 6;
  s.history.previous[0] = 0;
  s.Board[1][1].number = 5;
  s.Board[6][6] = {101, 1, 2};
  s.SolverStatus = kStatusGaveUp;

  const std::string wall = "\x94" "0";
  const std::string frameColumn = Repeat(wall, 8);
  std::string expected = "266<0R01";  // mode 2, 6 x 6, selected 12, EmptyCount 0|34, HistoryCount 0|1
  expected += frameColumn;
  expected += wall + "50" + Repeat("00", 5) + wall;   // x = 1: the hint 5 on top
  for (int x = 2; x <= 5; ++x) expected += wall + Repeat("00", 6) + wall;
  expected += wall + Repeat("00", 5) + "\x95" "1" + wall;  // x = 6: placed 1, complete
  expected += frameColumn;
  expected += "660" + Repeat("000", 199);
  expected += "2\r\n\r\n\r\n\r\n";

  const std::string written = AsString(WriteNblBytes(s));
  EXPECT_EQ(written.size(), NblFileSize(6, 6));
  EXPECT_EQ(written, expected);
}

// Everything stored comes back, largest board, each mode, with damaged counters
// and values a save must keep (mode 9, status 100, cell 250 flag 7). Marks stay 0.
TEST(NblFile, SaveAndReopenRestoresEveryStoredVariableInEachMode) {
  const fs::path dir = fs::temp_directory_path() / ("nbl-modes-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const int counters[] = {1234, 20907, -4752, -4848, 9999};
  int i = 0;
  for (const ModeValue mode : {Creation, SolveStart, SolvePlayed, SolveAuto, ModeValue{9}}) {
    BoardState s = EmptyBoard(30, 40);
    s.Mode = mode;
    s.SelectedNumber = mode == 9 ? 0 : 14;
    s.EmptyCount = counters[i++];
    s.SolverStatus = mode == SolveAuto ? kStatusContradiction : mode == 9 ? 100 : kStatusOk;
    s.Board[1][1] = {3, 1, 0};
    s.Board[2][1] = {140, 1, 0};
    s.Board[30][40] = {105, 0, 0};
    s.Board[7][4] = {99, 0, 0};
    s.Board[2][2] = {250, 7, 0};
    for (int k = 0; k < 120; ++k) {
      s.PushHistory(static_cast<std::uint8_t>(1 + k % 12), static_cast<std::uint8_t>(1 + k % 9),
                    static_cast<std::uint8_t>(k % 2 ? 0 : 101 + k % 40));
    }
    s.LayoutPending = 1;  // as every read leaves it
    const std::string path = (dir / ("mode" + std::to_string(mode) + ".nbl")).string();
    ASSERT_TRUE(WriteNblFile(path, s).ok);
    if (mode == Creation) {  // 30 x 40, selected 14, EmptyCount 12|34, HistoryCount 1|20, a WALL
      EXPECT_EQ(AsString(WriteNblBytes(s)).substr(0, 9), "0NX><R1D\x94");
    }
    BoardState back = EmptyBoard(6, 6);
    back.BoardReady = 0;
    const NblResult r = ReadNblFile(path, back);
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_TRUE(back == s) << "mode " << int(mode);

    // The 120 recorded changes undo newest first.
    back.Board[1 + 119 % 12][1 + 119 % 9].number = 111;
    back.UndoHistory();
    EXPECT_EQ(back.Board[1 + 119 % 12][1 + 119 % 9].number, 0);
    EXPECT_EQ(back.history.HistoryCount, 119);
  }
  fs::remove_all(dir);
}

TEST(NblRead, ACutFileAtAnyLengthOrAMissingFileLeavesTheStateUntouched) {
  BoardState source = EmptyBoard(7, 9);
  source.Mode = SolvePlayed;
  source.Board[3][3].number = 4;
  const auto bytes = WriteNblBytes(source);
  const std::size_t statusAt = bytes.size() - 9;
  for (std::size_t len = 0; len <= statusAt; ++len) {
    ExpectRefused([&](BoardState& s) { return ReadNblBytes(bytes.data(), len, s); }, "cut at " + std::to_string(len));
  }
  // The trailer is never read: a file that stops right after the status is whole.
  BoardState s;
  EXPECT_TRUE(ReadNblBytes(bytes.data(), statusAt + 1, s).ok);

  ExpectRefused([](BoardState& s) { return ReadNblFile("/nonexistent-folder/missing.nbl", s); }, "missing");
  EXPECT_NE(ReadNblFile("/nonexistent-folder/missing.nbl", s).reason.find("missing.nbl"), std::string::npos);
}

TEST(NblRead, RefusesValuesThatWouldReachOutsideTheBoard) {
  const std::string good = AsString(WriteNblBytes(EmptyBoard(8, 8)));
  const std::size_t historyAt = 8 + 2 * 10 * 10;
  const struct {
    const char* why;
    std::vector<std::pair<std::size_t, char>> bytes;  // (offset, new value)
  } cases[] = {
      {"height 228", {{2, 20}}},  // (20 - 48) mod 256
      {"history count 200", {{6, '0' + 2}}},
      {"history count -1", {{7, '/'}}},
      {"live history entry on the frame", {{7, '1'}, {historyAt, '0' + 9}, {historyAt + 1, '1'}}},  // column 9 of 8
      {"frame cell (9, 0) not a wall", {{8 + 2 * 10 * 9, '0'}}},
  };
  for (const auto& c : cases) {
    std::string bytes = good;
    for (const auto& [at, value] : c.bytes) bytes[at] = value;
    ExpectRefused([&](BoardState& s) { return ReadNblBytes(AsBytes(bytes), s); }, c.why);
  }
  std::string wide = good;
  wide[1] = '0' + 31;
  wide.resize(8 + 2 * 33 * 10 + 609, '0');
  ExpectRefused([&](BoardState& s) { return ReadNblBytes(AsBytes(wide), s); }, "width 31");
  // A history entry beyond HistoryCount is stale and harmless.
  std::string stale = good;
  stale[historyAt] = '0' + 9;
  stale[historyAt + 1] = '1';
  BoardState s = EmptyBoard(6, 6);
  EXPECT_TRUE(ReadNblBytes(AsBytes(stale), s).ok);
}

// A save replaces the old file whole, or on failure (no folder, full disk) leaves it.
TEST(NblWrite, SaveReplacesTheOldFileWholeOrNotAtAll) {
  const fs::path dir = fs::temp_directory_path() / ("nbl-save-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string target = (dir / "puzzle.nbl").string();
  auto contents = [&] {
    std::ifstream in(target, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  auto files = [&] { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); };

  NblResult r = WriteNblFile((dir / "no-such-folder" / "x.nbl").string(), EmptyBoard(8, 8));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("x.nbl"), std::string::npos);

  // A file size limit makes the write fail part of the way through.
  std::ofstream(target, std::ios::binary) << "old contents";
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 100;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  r = WriteNblFile(target, EmptyBoard(8, 8));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.reason.empty());
  EXPECT_EQ(contents(), "old contents");
  EXPECT_EQ(files(), 1);

  ASSERT_TRUE(WriteNblFile(target, EmptyBoard(8, 8)).ok);
  EXPECT_EQ(contents().size(), 817u);
  EXPECT_EQ(files(), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace numbloc
