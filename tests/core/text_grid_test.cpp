// Text grids typed by people: what is accepted, what is refused and why.
#include <gtest/gtest.h>

#include "core/board/nbl_file.h"
#include "core/board/text_grid.h"

namespace numbloc {
namespace {

const char kSixBySix[] =
    "# a comment line\n"
    "5 . 5 . . 5\n"
    ". 4 . . . 3\n"
    "0 0 0 1 0 2\n"
    "1 . 1 . . .\n"
    "\n"
    ". 6 . . 3 .\n"
    "1 . . 3 . 40\r\n";

TEST(ParseTextGrid, ReadsRowsAndMakesACreationBoard) {
  const TextGridResult r = ParseTextGrid(kSixBySix);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.grid.width, 6);
  EXPECT_EQ(r.grid.height, 6);
  EXPECT_EQ(r.grid.At(6, 6), 40);
  EXPECT_EQ(r.grid.At(1, 3), 0);

  const BoardState s = MakeCreationState(r.grid);
  EXPECT_EQ(s.Mode, Creation);
  EXPECT_EQ(s.SelectedNumber, 1);
  EXPECT_EQ(s.Board[6][6].number, 40);
  EXPECT_EQ(s.Board[7][6].number, WALL);
  EXPECT_EQ(s.Board[3][1].number, 5);
  const auto bytes = WriteNblBytes(s);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "06610000");
}

TEST(ParseTextGrid, RefusalsNameTheLineAndTheProblem) {
  const struct { const char* text; const char* error; } cases[] = {
      {"1 2 3 4 5\n1 2 3 4 5\n", "line 1: 5 cells"},
      {". . . . . .\n. . . . . .\n. . x . . .\n", "line 3: 'x' is not"},
      {". . . . . .\n. . 41 . . .\n", "line 2: 41 is outside 1..40"},
      {". . . . . .\n. . -2 . . .\n", "line 2: -2 is outside"},
      {". . . . . .\n. . . . .\n", "line 2: 5 cells where line 1 has 6"},
      {". . . . . .\n. . . . . .\n", "2 rows"},
      {"", "0 rows"},
  };
  for (const auto& c : cases) {
    const TextGridResult r = ParseTextGrid(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
  std::string tall;
  for (int i = 0; i < 41; ++i) tall += ". . . . . .\n";
  EXPECT_NE(ParseTextGrid(tall).error.find("line 41: more than 40 rows"), std::string::npos);
  std::string wide;
  for (int i = 0; i < 31; ++i) wide += ". ";
  EXPECT_NE(ParseTextGrid(wide).error.find("31 cells"), std::string::npos);
}

// Every cell value and flag prints as a token that reads back as the same cell.
TEST(BoardNotation, EveryCellRoundTrips) {
  for (int number = 0; number < 256; ++number) {
    for (const std::uint8_t complete : {0, 1}) {
      const Cell cell{static_cast<std::uint8_t>(number), complete, 0};
      const std::string token = FormatCell(cell);
      Cell back{9, 9, 0};
      ASSERT_TRUE(ParseCell(token, back)) << token;
      EXPECT_EQ(back.number, cell.number) << token;
      EXPECT_EQ(back.complete, cell.complete) << token;
    }
  }
  BoardState s, back;
  ASSERT_TRUE(FillFromRows(s, {"1* . +12* #", "40 +3 . 7*"}));
  std::vector<std::string> rows;
  for (std::size_t at = 0, end; (end = FormatGrid(s).find('\n', at)) != std::string::npos; at = end + 1) {
    rows.push_back(FormatGrid(s).substr(at, end - at));
  }
  ASSERT_TRUE(FillFromRows(back, rows));
  EXPECT_EQ(FormatGrid(back), FormatGrid(s));
  EXPECT_EQ(back.Board[3][1].number, 112);
  EXPECT_EQ(back.Board[4][1].number, WALL);
  std::string why;
  EXPECT_FALSE(FillFromRows(back, {"1 2", "3"}, &why));
  EXPECT_NE(why.find("line 2"), std::string::npos) << why;
}

TEST(FormatGrid, TellsHintsPlacedCompleteAndDamagedApart) {
  BoardState s;
  s.BoardWidth = 6;
  s.BoardHeight = 6;
  s.ResetBoard();
  s.Board[1][1] = {5, 0, 0};
  s.Board[2][1] = {112, 1, 0};
  s.Board[3][1] = {77, 0, 0};
  s.Board[4][1] = {230, 0, 0};
  const std::string text = FormatGrid(s);
  EXPECT_EQ(text.substr(0, text.find('\n')), "   5  +12*  77  230    .    .");
}

}  // namespace
}  // namespace numbloc
