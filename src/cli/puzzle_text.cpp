// Reading and writing the plain-text puzzle format.
#include "cli/puzzle_text.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace numbloc {
namespace {

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// Reads `height` rows of `width` tokens into grid; '.' stands for 0.
bool ReadGrid(std::istringstream& in, int width, int height, std::vector<int>& grid,
              const char* what, std::string* error) {
  grid.assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    std::string line;
    if (!std::getline(in, line)) return Fail(error, std::string(what) + ": too few rows");
    std::istringstream row(line);
    std::string token;
    for (int x = 0; x < width; ++x) {
      if (!(row >> token)) {
        return Fail(error, std::string(what) + ": row " + std::to_string(y + 1) + " is short");
      }
      if (token == ".") continue;
      int value = 0;
      for (char c : token) {
        if (c < '0' || c > '9' || value > 99) {
          return Fail(error, std::string(what) + ": bad entry '" + token + "'");
        }
        value = value * 10 + (c - '0');
      }
      if (value < 1 || value > 99) {
        return Fail(error, std::string(what) + ": bad entry '" + token + "'");
      }
      grid[static_cast<std::size_t>(x) * height + y] = value;
    }
    if (row >> token) {
      return Fail(error, std::string(what) + ": row " + std::to_string(y + 1) + " is long");
    }
  }
  return true;
}

}  // namespace

std::optional<PuzzleText> ParsePuzzleText(const std::string& text, std::string* error) {
  PuzzleText puzzle;
  std::istringstream in(text);
  std::string line;
  bool have_hints = false;
  while (std::getline(in, line)) {
    const std::string t = Trim(line);
    if (t.rfind("# size:", 0) == 0) {
      if (std::sscanf(t.c_str(), "# size: %dx%d", &puzzle.width, &puzzle.height) != 2) {
        Fail(error, "bad size line");
        return std::nullopt;
      }
      if (puzzle.width < 1 || puzzle.width > kMaxWidth || puzzle.height < 1 ||
          puzzle.height > kMaxHeight) {
        Fail(error, "size out of range");
        return std::nullopt;
      }
    } else if (t.rfind("# solutions:", 0) == 0) {
      puzzle.solutions = Trim(t.substr(12));
    } else if (t == "hints:" || t == "solution:") {
      if (puzzle.width == 0) {
        Fail(error, "grid before the size line");
        return std::nullopt;
      }
      const bool hints = t == "hints:";
      if (!ReadGrid(in, puzzle.width, puzzle.height, hints ? puzzle.hints : puzzle.solution,
                    hints ? "hints" : "solution", error)) {
        return std::nullopt;
      }
      have_hints = have_hints || hints;
    } else if (!t.empty() && t[0] != '#') {
      Fail(error, "unexpected line '" + t + "'");
      return std::nullopt;
    }
  }
  if (!have_hints) {
    Fail(error, "no hints grid");
    return std::nullopt;
  }
  return puzzle;
}

std::optional<PuzzleText> ReadPuzzleText(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    Fail(error, "cannot open " + path);
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParsePuzzleText(text.str(), error);
}

std::string FormatPuzzleText(const PuzzleText& puzzle) {
  std::ostringstream out;
  out << "# size: " << puzzle.width << 'x' << puzzle.height << " (width x height)\n";
  out << "# solutions: " << puzzle.solutions << '\n';
  auto grid = [&](const std::vector<int>& cells) {
    for (int y = 0; y < puzzle.height; ++y) {
      for (int x = 0; x < puzzle.width; ++x) {
        const int v = cells[static_cast<std::size_t>(x) * puzzle.height + y];
        char cell[8];
        std::snprintf(cell, sizeof cell, "%s%2s", x ? " " : "",
                      v ? std::to_string(v).c_str() : ".");
        out << cell;
      }
      out << '\n';
    }
  };
  out << "hints:\n";
  grid(puzzle.hints);
  if (puzzle.HasSolution()) {
    out << "solution:\n";
    grid(puzzle.solution);
  }
  return out.str();
}

BoardState PuzzleToState(const PuzzleText& puzzle) {
  BoardState state;
  state.BoardWidth = static_cast<std::uint8_t>(puzzle.width);
  state.BoardHeight = static_cast<std::uint8_t>(puzzle.height);
  state.ResetBoard();
  state.MaxNumber = DeriveMaxNumber(puzzle.width, puzzle.height);
  for (int x = 1; x <= puzzle.width; ++x) {
    for (int y = 1; y <= puzzle.height; ++y) {
      state.Board[x][y].number = static_cast<std::uint8_t>(puzzle.HintAt(x, y));
    }
  }
  return state;
}

}  // namespace numbloc
