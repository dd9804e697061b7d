// Running our tools from a test and keeping their output; shared boards.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../common/board_picture.h"
#include "core/board/nbl_file.h"

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
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The current test's own folder, emptied when the test first asks for it.
inline std::string TempFolder() {
  static std::string last;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string dir = ::testing::TempDir() + "numbloc_cli_" + info->test_suite_name() + "_" + info->name();
  if (last != dir) std::filesystem::remove_all(dir);
  last = dir;
  std::filesystem::create_directories(dir);
  return dir;
}

inline CliRun RunCli(const std::vector<std::string>& args, const std::string& program = NUMBLOC_CLI_PATH) {
  const std::string out_path = TempFolder() + "/.stdout", err_path = TempFolder() + "/.stderr";
  std::string command = Quote(program);
  for (const std::string& a : args) command += " " + Quote(a);
  const int status = std::system((command + " >" + Quote(out_path) + " 2>" + Quote(err_path)).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out_path), ReadAll(err_path)};
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each expected text appears in the output line of the same index.
inline void ExpectLines(const std::string& out, const std::vector<std::string>& texts) {
  const std::vector<std::string> lines = Lines(out);
  ASSERT_GE(lines.size(), texts.size()) << out;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_NE(lines[i].find(texts[i]), std::string::npos) << "line " << i << ": " << lines[i];
  }
}

// Field `i` of a tab-separated row.
inline std::string Field(const std::string& row, int i) {
  std::size_t start = 0;
  for (int k = 0; k < i; ++k) start = row.find('\t', start) + 1;
  return row.substr(start, row.find('\t', start) - start);
}

// A Creation-mode board from a picture (core/board/text_grid.h notation).
inline BoardState Board(const std::vector<std::string>& rows) {
  BoardState state;
  numbloc::testing::FillFromPicture(state, rows);
  return state;
}

inline BoardState EmptyBoard(int w, int h) {
  std::string row = ".";
  for (int x = 1; x < w; ++x) row += " .";
  return Board(std::vector<std::string>(static_cast<std::size_t>(h), row));
}

inline std::string WriteBoard(const std::string& path, const BoardState& state) {
  const NblResult r = WriteNblFile(path, state);
  EXPECT_TRUE(r.ok) << r.reason;
  return path;
}

// A finished valid 6 x 6 board; with four cells the rules fill; with a lone 2 at (4, 6).
inline const std::vector<std::string> kFull = {"3 3 3 2 2 1", "4 4 4 4 3 3", "1 2 5 5 5 3",
                                               "6 2 5 1 5 4", "6 6 6 6 4 4", "6 1 2 2 1 4"};
inline const std::vector<std::string> kFourOpen = {"3 3 3 2 2 1", "4 . 4 4 3 3", "1 2 5 5 5 3",
                                                   "6 2 5 . 5 4", "6 6 . 6 4 4", "6 1 2 2 1 ."};
inline const std::vector<std::string> kBroken = {"3 3 3 2 2 1", "4 4 4 4 3 3", "1 2 5 5 5 3",
                                                 "6 2 5 1 5 4", "6 6 6 6 4 4", "6 1 2 1 1 4"};

}  // namespace numbloc::test
