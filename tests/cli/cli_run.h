// Running numbloc-cli from a test and keeping what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/board/board_state.h"
#include "core/board/nbl_file.h"
#include "core/board/text_grid.h"

namespace numbloc::test {

struct CliRun {
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::string ReadAll(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

// The current test's own folder, emptied when the test first asks for it.
inline std::string TempFolder() {
  static std::string last;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                    (std::string("numbloc_cli_") + info->test_suite_name() +
                                     "_" + info->name()) / "";
  if (last != dir.string()) {
    last = dir.string();
    std::filesystem::remove_all(dir);
  }
  std::filesystem::create_directories(dir);
  return dir.parent_path().string();
}

inline CliRun RunCli(const std::vector<std::string>& args) {
  const std::string err_path = TempFolder() + "/.stderr";
  std::string command = Quote(NUMBLOC_CLI_PATH);
  for (const std::string& a : args) command += " " + Quote(a);
  command += " 2>" + Quote(err_path);
  CliRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadAll(err_path);
  return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
    lines.push_back(text.substr(start, nl - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A Creation-mode board from a picture; in `placed` the digits become numbers
// placed in Solving mode instead of hints where the picture of the same size
// marks them with '+' (e.g. "+3").
inline BoardState BoardFromPicture(const std::string& picture) {
  std::string hints = picture;
  for (char& c : hints) {
    if (c == '+') c = ' ';
  }
  const TextGridResult parsed = ParseTextGrid(hints);
  EXPECT_TRUE(parsed.ok) << parsed.error;
  BoardState state = MakeCreationState(parsed.grid);
  // Second pass: the cells written with '+' are placed numbers.
  int y = 0;
  std::size_t start = 0;
  while (start <= picture.size()) {
    std::size_t nl = picture.find('\n', start);
    if (nl == std::string::npos) nl = picture.size();
    const std::string line = picture.substr(start, nl - start);
    start = nl + 1;
    if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#') {
      continue;
    }
    ++y;
    int x = 0;
    for (std::size_t i = 0; i < line.size();) {
      if (line[i] == ' ' || line[i] == '\t') {
        ++i;
        continue;
      }
      ++x;
      const bool plus = line[i] == '+';
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (plus && state.Board[x][y].number > 0 && state.Board[x][y].number < 100) {
        state.Board[x][y].number = static_cast<std::uint8_t>(state.Board[x][y].number + 100);
      }
    }
  }
  return state;
}

// A text grid of w x h empty cells.
inline std::string EmptyBoard(int w, int h) {
  std::string row;
  for (int x = 0; x < w; ++x) row += ". ";
  std::string grid;
  for (int y = 0; y < h; ++y) grid += row + "\n";
  return grid;
}

// Field `i` of a tab-separated row.
inline std::string Field(const std::string& row, int i) {
  std::size_t start = 0;
  for (int k = 0; k < i; ++k) start = row.find('\t', start) + 1;
  return row.substr(start, row.find('\t', start) - start);
}

// Boards shared by the command tests.
// A finished valid 6 x 6 board (see check_test.cpp), here all hints.
inline constexpr const char* kFull = R"(
 3 3 3 2 2 1
 4 4 4 4 3 3
 1 2 5 5 5 3
 6 2 5 1 5 4
 6 6 6 6 4 4
 6 1 2 2 1 4
)";

// The same with four cells left open that the rules fill at once.
inline constexpr const char* kFourOpen = R"(
 3 3 3 2 2 1
 4 . 4 4 3 3
 1 2 5 5 5 3
 6 2 5 . 5 4
 6 6 . 6 4 4
 6 1 2 2 1 .
)";

// Full, but the 2 at (4, 6) is alone: the filled board breaks a rule.
inline constexpr const char* kBroken = R"(
 3 3 3 2 2 1
 4 4 4 4 3 3
 1 2 5 5 5 3
 6 2 5 1 5 4
 6 6 6 6 4 4
 6 1 2 1 1 4
)";

inline std::string WriteBoard(const std::string& path, const BoardState& state) {
  const NblResult r = WriteNblFile(path, state);
  EXPECT_TRUE(r.ok) << r.reason;
  return path;
}

}  // namespace numbloc::test
