// The .nbl byte format: a header of eight values, the puzzle with its frame
// column by column, all 200 history entries, the status and four CR LF.
#include "core/board/nbl_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace numbloc {
namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kHistoryBytes = 3 * kHistorySize;
constexpr std::size_t kTrailerBytes = 8;  // four CR LF pairs, never read back
constexpr std::size_t kLargestFile = 3305;

std::uint8_t Encode(int value) { return static_cast<std::uint8_t>((value + 48) & 0xFF); }
std::uint8_t DecodeByte(std::uint8_t byte) { return static_cast<std::uint8_t>(byte - 48); }
int DecodeDigit(std::uint8_t byte) { return int{byte} - 48; }

// A counter is two base-100 digits, each read back as its byte minus 48
// (-48..207). Values the program makes (0..9999) get the plain digits; the
// odd values a damaged file can bring are split so that they read back the same.
void EncodeCounter(std::vector<std::uint8_t>& out, std::int32_t value) {
  const std::int32_t floorHigh = value >= 0 ? value / 100 : -((-value + 99) / 100);
  const std::int32_t high = std::clamp(floorHigh, -48, 207);
  out.push_back(Encode(high));
  out.push_back(Encode(value - 100 * high));
}

std::size_t CellBytes(int width, int height) {
  return 2 * static_cast<std::size_t>(width + 2) * static_cast<std::size_t>(height + 2);
}

std::string CellName(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

NblResult Fail(BoardState& state, std::string reason) {
  state.SolverStatus = kStatusUnreadable;
  return {false, std::move(reason)};
}

// Everything a file stores, read and checked before any of it reaches the state.
struct Parsed {
  std::uint8_t mode, width, height, selected;
  std::int32_t emptyCount, historyCount, status;
  Cell cells[kBoardColumns][kBoardRows];
  MoveHistory history;
};

}  // namespace

std::size_t NblFileSize(int width, int height) {
  return kHeaderBytes + CellBytes(width, height) + kHistoryBytes + 1 + kTrailerBytes;
}

std::vector<std::uint8_t> WriteNblBytes(const BoardState& s) {
  // A state holds at most 30 x 40 puzzle cells; never write past its array.
  const int w = std::min<int>(s.BoardWidth, kMaxWidth);
  const int h = std::min<int>(s.BoardHeight, kMaxHeight);
  std::vector<std::uint8_t> out;
  out.reserve(NblFileSize(w, h));
  out.push_back(Encode(s.Mode));
  out.push_back(Encode(w));
  out.push_back(Encode(h));
  out.push_back(Encode(s.SelectedNumber));
  EncodeCounter(out, s.EmptyCount);
  EncodeCounter(out, s.history.HistoryCount);
  for (int x = 0; x <= w + 1; ++x) {
    for (int y = 0; y <= h + 1; ++y) {
      out.push_back(Encode(s.Board[x][y].number));
      out.push_back(Encode(s.Board[x][y].complete));
    }
  }
  for (int i = 0; i < kHistorySize; ++i) {
    out.push_back(Encode(s.history.column[i]));
    out.push_back(Encode(s.history.row[i]));
    out.push_back(Encode(s.history.previous[i]));
  }
  out.push_back(Encode(s.SolverStatus));
  for (int i = 0; i < 4; ++i) {
    out.push_back('\r');
    out.push_back('\n');
  }
  return out;
}

NblResult ReadNblBytes(const std::uint8_t* data, std::size_t size, BoardState& state) {
  if (size < kHeaderBytes) return Fail(state, "the file ends inside its header");
  Parsed p{};
  p.mode = DecodeByte(data[0]);
  p.width = DecodeByte(data[1]);
  p.height = DecodeByte(data[2]);
  p.selected = DecodeByte(data[3]);
  p.emptyCount = DecodeDigit(data[4]) * 100 + DecodeDigit(data[5]);
  p.historyCount = DecodeDigit(data[6]) * 100 + DecodeDigit(data[7]);
  if (p.width > kMaxWidth) return Fail(state, "width " + std::to_string(p.width) + " is above 30");
  if (p.height > kMaxHeight) return Fail(state, "height " + std::to_string(p.height) + " is above 40");
  if (p.historyCount < 0 || p.historyCount >= kHistorySize) {
    return Fail(state, "history count " + std::to_string(p.historyCount) + " is outside 0..199");
  }
  const int w = p.width;
  const int h = p.height;
  const std::size_t statusAt = kHeaderBytes + CellBytes(w, h) + kHistoryBytes;
  if (size <= statusAt) {
    return Fail(state, "the file ends early: " + std::to_string(size) + " bytes where " +
                           std::to_string(statusAt + 1) + " are needed");
  }

  // Start from the state's own cells: those beyond the stored rectangle keep their values.
  std::memcpy(p.cells, state.Board, sizeof p.cells);
  const std::uint8_t* at = data + kHeaderBytes;
  for (int x = 0; x <= w + 1; ++x) {
    for (int y = 0; y <= h + 1; ++y) {
      Cell& c = p.cells[x][y];
      c.number = DecodeByte(*at++);
      c.complete = DecodeByte(*at++);
      const bool frame = x == 0 || y == 0 || x == w + 1 || y == h + 1;
      // The frame is what keeps every walk over neighbours inside the array.
      if (frame && c.number != WALL) return Fail(state, "frame cell " + CellName(x, y) + " is not a wall");
    }
  }
  for (int i = 0; i < kHistorySize; ++i) {
    p.history.column[i] = DecodeByte(*at++);
    p.history.row[i] = DecodeByte(*at++);
    p.history.previous[i] = DecodeByte(*at++);
    const bool live = i < p.historyCount;
    const int c = p.history.column[i];
    const int r = p.history.row[i];
    if (live && (c < 1 || c > w || r < 1 || r > h)) {
      return Fail(state, "history entry " + std::to_string(i) + " names cell " + CellName(c, r) +
                             " outside the puzzle");
    }
  }
  p.history.HistoryCount = p.historyCount;
  p.status = DecodeDigit(*at);

  state.Mode = p.mode;
  state.BoardWidth = p.width;
  state.BoardHeight = p.height;
  state.SelectedNumber = p.selected;
  state.EmptyCount = p.emptyCount;
  std::memcpy(state.Board, p.cells, sizeof p.cells);
  state.history = p.history;
  state.SolverStatus = p.status;
  state.LayoutPending = 1;
  state.BoardReady = 1;
  return {true, {}};
}

NblResult ReadNblBytes(const std::vector<std::uint8_t>& bytes, BoardState& state) {
  return ReadNblBytes(bytes.data(), bytes.size(), state);
}

NblResult ReadNblFile(const std::string& path, BoardState& state) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return Fail(state, "cannot open " + path + ": " + std::strerror(errno));
  // Nothing past the largest file is ever used; a longer file is read no further.
  std::vector<std::uint8_t> bytes(kLargestFile + 1);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
  const bool failed = std::ferror(f) != 0;
  const int readErrno = errno;
  std::fclose(f);
  if (failed) return Fail(state, "cannot read " + path + ": " + std::strerror(readErrno));
  bytes.resize(got);
  return ReadNblBytes(bytes, state);
}

NblResult WriteNblFile(const std::string& path, const BoardState& state) {
  static std::atomic<unsigned> serial{0};
  const std::vector<std::uint8_t> bytes = WriteNblBytes(state);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return {false, "cannot create a file beside " + path + ": " + std::strerror(errno)};

  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  std::size_t done = 0;
  int error = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return {false, "cannot write " + path + ": " + std::strerror(error)};
  }
  return {true, {}};
}

}  // namespace numbloc
