// Plain-text puzzles for the command line and for tests.
#include "core/board/text_grid.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace numbloc {
namespace {

std::string LineError(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

TextGridResult ParseTextGrid(std::string_view text) {
  TextGridResult result;
  TextGrid& g = result.grid;
  int lineNo = 0;
  int firstRowLine = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNo;

    std::size_t start = 0;
    while (start < line.size() && IsSpace(line[start])) ++start;
    if (start == line.size() || line[start] == '#') continue;

    std::vector<int> row;
    std::size_t i = start;
    while (i < line.size()) {
      if (IsSpace(line[i])) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < line.size() && !IsSpace(line[j])) ++j;
      const std::string_view token = line.substr(i, j - i);
      i = j;
      if (token == ".") {
        row.push_back(0);
        continue;
      }
      int value = -1;
      const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
      if (ec != std::errc{} || ptr != token.data() + token.size()) {
        result.error = LineError(lineNo, "'" + std::string(token) + "' is not a number or '.'");
        return result;
      }
      if (value < 0 || value > kMaxCellNumber) {
        result.error = LineError(lineNo, std::to_string(value) + " is outside 1..40");
        return result;
      }
      row.push_back(value);
    }

    const int width = static_cast<int>(row.size());
    if (g.height == 0) {
      if (width < kMinWidth || width > kMaxWidth) {
        result.error = LineError(lineNo, std::to_string(width) + " cells; a row must have 6..30");
        return result;
      }
      g.width = width;
      firstRowLine = lineNo;
    } else if (width != g.width) {
      result.error = LineError(lineNo, std::to_string(width) + " cells where line " +
                                           std::to_string(firstRowLine) + " has " + std::to_string(g.width));
      return result;
    }
    if (g.height == kMaxHeight) {
      result.error = LineError(lineNo, "more than 40 rows");
      return result;
    }
    ++g.height;
    g.numbers.insert(g.numbers.end(), row.begin(), row.end());
  }
  if (g.height < kMinHeight) {
    result.error = LineError(lineNo, std::to_string(g.height) + " rows; a puzzle must have 6..40");
    return result;
  }
  result.ok = true;
  return result;
}

BoardState MakeCreationState(const TextGrid& grid) {
  BoardState s;
  s.BoardWidth = static_cast<std::uint8_t>(grid.width);
  s.BoardHeight = static_cast<std::uint8_t>(grid.height);
  s.ResetBoard();
  s.history.HistoryCount = 0;
  s.EmptyCount = 0;
  s.MaxNumber = DeriveMaxNumber(grid.width, grid.height);
  for (int x = 1; x <= grid.width; ++x) {
    for (int y = 1; y <= grid.height; ++y) {
      s.Board[x][y].number = static_cast<std::uint8_t>(grid.At(x, y));
    }
  }
  return s;
}

std::string FormatGrid(const BoardState& s) {
  std::string out;
  const int w = std::min<int>(s.BoardWidth, kMaxWidth);
  const int h = std::min<int>(s.BoardHeight, kMaxHeight);
  for (int y = 1; y <= h; ++y) {
    for (int x = 1; x <= w; ++x) {
      const Cell& c = s.Board[x][y];
      const int n = Reduced(c.number);
      char token[8] = "   . ";
      if (c.number != 0) {
        const bool valid = n >= 1 && n <= kMaxCellNumber && c.number <= 100 + kMaxCellNumber && c.number != WALL;
        char value[4] = "?";
        if (valid) std::snprintf(value, sizeof value, "%s%d", c.number > 100 ? "+" : "", n);
        std::snprintf(token, sizeof token, "%4s%c", value, valid && c.complete ? '*' : ' ');
      }
      out += token;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
  }
  return out;
}

}  // namespace numbloc
