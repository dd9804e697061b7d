// The .nbl format byte for byte, and the reader's all-or-nothing promise.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

// A 6 x 6 board in Solving mode with a hint 5 at (1,1), a placed complete 1 at
// (6,6), one history entry and status 2, written out by hand.
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

TEST(NblWrite, SizesAndTwoDigitCounters) {
  BoardState small = EmptyBoard(8, 8);
  const std::string eight = AsString(WriteNblBytes(small));
  EXPECT_EQ(eight.size(), 817u);
  EXPECT_EQ(eight.substr(0, 8), "08810000");

  BoardState large = EmptyBoard(30, 40);
  large.EmptyCount = 1200;
  large.history.HistoryCount = 150;
  for (int i = 0; i < 150; ++i) large.history.column[i] = large.history.row[i] = 1;
  const auto bytes = WriteNblBytes(large);
  ASSERT_EQ(bytes.size(), 3305u);
  EXPECT_EQ(bytes[1], 'N');
  EXPECT_EQ(bytes[2], 'X');
  EXPECT_EQ(bytes[4], 60);
  EXPECT_EQ(bytes[5], 48);
  EXPECT_EQ(bytes[6], 49);
  EXPECT_EQ(bytes[7], 98);
  EXPECT_EQ(bytes[8], 148);  // WALL

  BoardState back = EmptyBoard(8, 8);
  ASSERT_TRUE(ReadNblBytes(bytes, back).ok);
  EXPECT_EQ(back.EmptyCount, 1200);
  EXPECT_EQ(back.history.HistoryCount, 150);
}

// What a file stores, compared field by field; marks and cells beyond the frame are not stored.
void ExpectSameStoredState(const BoardState& a, const BoardState& b) {
  EXPECT_EQ(a.Mode, b.Mode);
  EXPECT_EQ(a.BoardWidth, b.BoardWidth);
  EXPECT_EQ(a.BoardHeight, b.BoardHeight);
  EXPECT_EQ(a.SelectedNumber, b.SelectedNumber);
  EXPECT_EQ(a.EmptyCount, b.EmptyCount);
  EXPECT_EQ(a.SolverStatus, b.SolverStatus);
  EXPECT_TRUE(a.history == b.history);
  for (int x = 0; x <= a.BoardWidth + 1; ++x) {
    for (int y = 0; y <= a.BoardHeight + 1; ++y) {
      EXPECT_EQ(a.Board[x][y].number, b.Board[x][y].number) << x << "," << y;
      EXPECT_EQ(a.Board[x][y].complete, b.Board[x][y].complete) << x << "," << y;
    }
  }
}

TEST(NblFile, SaveAndReopenRestoresEveryStoredVariableInEachMode) {
  const fs::path dir = fs::temp_directory_path() / ("nbl-modes-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  for (std::uint8_t mode : {Creation, SolveStart, SolvePlayed, SolveAuto}) {
    BoardState s = EmptyBoard(12, 9);
    s.Mode = mode;
    s.SelectedNumber = 14;
    s.EmptyCount = 77;
    s.SolverStatus = mode == SolveAuto ? 1 : 0;
    s.Board[1][1] = {3, 1, 0};
    s.Board[2][1] = {140, 1, 0};
    s.Board[12][9] = {105, 0, 0};
    s.Board[7][4] = {99, 0, 0};
    for (int i = 0; i < 120; ++i) {
      s.PushHistory(static_cast<std::uint8_t>(1 + i % 12), static_cast<std::uint8_t>(1 + i % 9),
                    static_cast<std::uint8_t>(i % 2 ? 0 : 101 + i % 40));
    }
    const std::string path = (dir / ("mode" + std::to_string(mode) + ".nbl")).string();
    ASSERT_TRUE(WriteNblFile(path, s).ok);

    BoardState back = EmptyBoard(30, 40);
    const NblResult r = ReadNblFile(path, back);
    ASSERT_TRUE(r.ok) << r.reason;
    ExpectSameStoredState(s, back);
    EXPECT_EQ(back.LayoutPending, 1);
    EXPECT_EQ(back.BoardReady, 1);
    EXPECT_EQ(AsString(WriteNblBytes(back)), AsString(WriteNblBytes(s)));

    // The 120 recorded changes undo newest first.
    back.Board[1 + 119 % 12][1 + 119 % 9].number = 111;
    back.UndoHistory();
    EXPECT_EQ(back.Board[1 + 119 % 12][1 + 119 % 9].number, 0);
    EXPECT_EQ(back.history.HistoryCount, 119);
  }
  fs::remove_all(dir);
}

TEST(NblRead, ACutFileAtAnyLengthLeavesTheStateUntouched) {
  BoardState source = EmptyBoard(7, 9);
  source.Mode = SolvePlayed;
  source.Board[3][3].number = 4;
  const auto bytes = WriteNblBytes(source);

  BoardState before = EmptyBoard(10, 10);
  before.Board[4][4] = {6, 1, 2};
  before.SolverStatus = kStatusGaveUp;
  before.LayoutPending = 0;
  before.BoardReady = 2;
  const std::size_t statusAt = bytes.size() - 9;
  for (std::size_t len = 0; len <= statusAt; ++len) {
    BoardState s = before;
    const NblResult r = ReadNblBytes(bytes.data(), len, s);
    ASSERT_FALSE(r.ok) << len;
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(s.SolverStatus, kStatusUnreadable) << len;
    s.SolverStatus = before.SolverStatus;
    ASSERT_TRUE(s == before) << "state changed by a file cut at " << len;
  }
  // The trailer is never read: a file that stops right after the status is whole.
  BoardState s = before;
  EXPECT_TRUE(ReadNblBytes(bytes.data(), statusAt + 1, s).ok);
}

TEST(NblRead, RefusesValuesThatWouldReachOutsideTheBoard) {
  const BoardState base = EmptyBoard(8, 8);
  const std::string good = AsString(WriteNblBytes(base));
  auto refused = [&](std::string bytes, const char* why) {
    BoardState s = EmptyBoard(6, 6);
    const BoardState before = s;
    const NblResult r = ReadNblBytes(AsBytes(bytes), s);
    EXPECT_FALSE(r.ok) << why;
    EXPECT_EQ(s.SolverStatus, kStatusUnreadable) << why;
    s.SolverStatus = before.SolverStatus;
    EXPECT_TRUE(s == before) << why;
  };

  std::string wide = good;
  wide[1] = '0' + 31;
  wide.resize(8 + 2 * 33 * 10 + 609, '0');
  refused(wide, "width 31");
  std::string wrapped = good;
  wrapped[2] = 20;  // (20 - 48) mod 256 = 228 rows
  refused(wrapped, "height 228");
  std::string count = good;
  count[6] = '0' + 2;
  refused(count, "history count 200");
  std::string negative = good;
  negative[7] = '/';
  refused(negative, "history count -1");

  const std::size_t historyAt = 8 + 2 * 10 * 10;
  std::string outside = good;
  outside[7] = '1';
  outside[historyAt] = '0' + 9;  // column 9 of an 8-wide puzzle: a frame cell
  outside[historyAt + 1] = '1';
  refused(outside, "live history entry on the frame");
  std::string stale = outside;
  stale[7] = '0';  // the same entry beyond HistoryCount is stale and harmless
  BoardState s = EmptyBoard(6, 6);
  EXPECT_TRUE(ReadNblBytes(AsBytes(stale), s).ok);

  std::string hole = good;
  hole[8 + 2 * 10 * 9] = '0';  // cell (9, 0) of the frame is empty
  refused(hole, "frame cell not a wall");
}

TEST(NblRead, DamagedValuesInsideTheBoardAreTakenAsStored) {
  BoardState source = EmptyBoard(6, 6);
  source.Board[2][2] = {250, 7, 0};
  source.Mode = 9;
  source.SelectedNumber = 0;
  const auto bytes = WriteNblBytes(source);
  std::vector<std::uint8_t> odd = bytes;
  odd[bytes.size() - 9] = 48 + 100;  // status 100 shows no message but is kept
  BoardState s = EmptyBoard(8, 8);
  ASSERT_TRUE(ReadNblBytes(odd, s).ok);
  EXPECT_EQ(s.Board[2][2].number, 250);
  EXPECT_EQ(s.Board[2][2].complete, 7);
  EXPECT_EQ(s.Mode, 9);
  EXPECT_EQ(s.SolverStatus, 100);
}

TEST(NblRead, AMissingFileSetsStatusThreeOnly) {
  BoardState s = EmptyBoard(9, 7);
  s.Board[1][1].number = 3;
  const BoardState before = s;
  const NblResult r = ReadNblFile("/nonexistent-folder/missing.nbl", s);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("missing.nbl"), std::string::npos);
  EXPECT_EQ(s.SolverStatus, kStatusUnreadable);
  s.SolverStatus = before.SolverStatus;
  EXPECT_TRUE(s == before);
}

class SaveFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("nbl-save-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    target_ = (dir_ / "puzzle.nbl").string();
    std::ofstream(target_, std::ios::binary) << "old contents";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Contents() const {
    std::ifstream in(target_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::size_t FilesInDir() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator())); }
  fs::path dir_;
  std::string target_;
};

TEST_F(SaveFailure, AFolderThatDoesNotExistIsReported) {
  const NblResult r = WriteNblFile((dir_ / "no-such-folder" / "x.nbl").string(), EmptyBoard(8, 8));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("x.nbl"), std::string::npos);
}

TEST_F(SaveFailure, AnUnwritableFolderLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; the disk-full case covers this";
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  const NblResult r = WriteNblFile(target_, EmptyBoard(8, 8));
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Contents(), "old contents");
}

TEST_F(SaveFailure, AWriteThatStopsHalfwayLeavesTheOldFileAndNoTemporary) {
  // A file size limit makes the write fail part of the way through, as a full disk would.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 100;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const NblResult r = WriteNblFile(target_, EmptyBoard(8, 8));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.reason.empty());
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SaveFailure, ASuccessfulSaveReplacesTheOldFileWhole) {
  ASSERT_TRUE(WriteNblFile(target_, EmptyBoard(8, 8)).ok);
  EXPECT_EQ(Contents().size(), 817u);
  EXPECT_EQ(FilesInDir(), 1u);
}

}  // namespace
}  // namespace numbloc

namespace numbloc {
namespace {

// A damaged counter byte gives a value outside what the plain two digits
// carry; saving it must not turn it into another value.
TEST(NblFile, OddCountersFromADamagedFileSurviveASave) {
  for (int value : {160, 20907, -1, -4752, -4848, 9999, 1200}) {
    BoardState s;
    s.ResetBoard();
    s.EmptyCount = value;
    BoardState back;
    ASSERT_TRUE(ReadNblBytes(WriteNblBytes(s), back).ok);
    EXPECT_EQ(back.EmptyCount, value);
  }
  BoardState s;
  s.ResetBoard();
  s.EmptyCount = 1234;
  const auto bytes = WriteNblBytes(s);
  EXPECT_EQ(bytes[4], '0' + 12);
  EXPECT_EQ(bytes[5], '0' + 34);
}

}  // namespace
}  // namespace numbloc
