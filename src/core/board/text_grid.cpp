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
      // A typed grid holds hints alone; 0 is an empty cell too.
      Cell cell;
      if (token == "0") {
        row.push_back(0);
        continue;
      }
      if (!ParseCell(token, cell) || cell.number > kMaxCellNumber || cell.complete) {
        int value = 0;
        const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (ec == std::errc{} && ptr == token.data() + token.size()) {
          result.error = LineError(lineNo, std::to_string(value) + " is outside 1..40");
        } else {
          result.error = LineError(lineNo, "'" + std::string(token) + "' is not a number or '.'");
        }
        return result;
      }
      row.push_back(cell.number);
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

std::string FormatCell(const Cell& c) {
  std::string token;
  if (c.number == 0) {
    token = ".";
  } else if (c.number == WALL) {
    token = "#";
  } else if (c.number > 100 && c.number <= 100 + kMaxCellNumber) {
    token = "+" + std::to_string(c.number - 100);
  } else {
    token = std::to_string(c.number);
  }
  if (c.complete) token += '*';
  return token;
}

bool ParseCell(std::string_view token, Cell& cell) {
  Cell c{};
  if (!token.empty() && token.back() == '*') {
    c.complete = 1;
    token.remove_suffix(1);
  }
  if (token == "#") {
    c.number = WALL;
  } else if (token != ".") {
    const bool placed = !token.empty() && token.front() == '+';
    if (placed) token.remove_prefix(1);
    int n = 0;
    const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), n);
    if (token.empty() || ec != std::errc{} || ptr != token.data() + token.size() || n < 1 ||
        n > (placed ? kMaxCellNumber : 255)) {
      return false;
    }
    c.number = static_cast<std::uint8_t>(placed ? n + 100 : n);
  }
  cell = c;
  return true;
}

bool FillFromRows(BoardState& state, const std::vector<std::string>& rows, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  std::vector<std::vector<std::string>> tokens;
  for (const std::string& row : rows) {
    std::vector<std::string>& line = tokens.emplace_back();
    for (std::size_t i = 0; i < row.size();) {
      if (IsSpace(row[i])) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < row.size() && !IsSpace(row[j])) ++j;
      line.push_back(row.substr(i, j - i));
      i = j;
    }
  }
  const int h = static_cast<int>(tokens.size());
  const int w = h == 0 ? 0 : static_cast<int>(tokens.front().size());
  if (h < 1 || h > kMaxHeight || w < 1 || w > kMaxWidth) return fail("the size must be 1..30 by 1..40");
  std::vector<Cell> cells;
  for (int y = 0; y < h; ++y) {
    if (static_cast<int>(tokens[y].size()) != w) return fail(LineError(y + 1, "rows differ in length"));
    for (const std::string& token : tokens[y]) {
      if (!ParseCell(token, cells.emplace_back())) return fail(LineError(y + 1, "'" + token + "' is no cell"));
    }
  }
  state.BoardWidth = static_cast<std::uint8_t>(w);
  state.BoardHeight = static_cast<std::uint8_t>(h);
  state.ResetBoard();
  state.MaxNumber = DeriveMaxNumber(w, h);
  for (int y = 1; y <= h; ++y) {
    for (int x = 1; x <= w; ++x) {
      const Cell& c = cells[static_cast<std::size_t>((y - 1) * w + (x - 1))];
      state.Board[x][y].number = c.number;
      state.Board[x][y].complete = c.complete;
    }
  }
  return true;
}

std::string FormatGrid(const BoardState& s) {
  std::string out;
  const int w = std::min<int>(s.BoardWidth, kMaxWidth);
  const int h = std::min<int>(s.BoardHeight, kMaxHeight);
  for (int y = 1; y <= h; ++y) {
    for (int x = 1; x <= w; ++x) {
      std::string token = FormatCell(s.Board[x][y]);
      // Aligned on the number: the flag sticks out to the right.
      if (token.back() != '*') token += ' ';
      out += std::string(token.size() < 5 ? 5 - token.size() : 1, ' ') + token;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
  }
  return out;
}

}  // namespace numbloc
