// Text grids typed by people: what is refused and why (numbloc-cli new shows
// what is accepted); the board notation of the tests and the command line.
#include <gtest/gtest.h>

#include "core/board/text_grid.h"

namespace numbloc {
namespace {

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

// Every cell value and flag prints as a token that reads back as the same
// cell; a grid prints aligned on the numbers and reads back the same.
TEST(BoardNotation, EveryCellAndGridRoundTrips) {
  for (int number = 0; number < 256; ++number) {
    for (const std::uint8_t complete : {0, 1}) {
      const Cell cell{static_cast<std::uint8_t>(number), complete, 0};
      Cell back{9, 9, 0};
      ASSERT_TRUE(ParseCell(FormatCell(cell), back)) << FormatCell(cell);
      EXPECT_EQ(back, cell) << FormatCell(cell);
    }
  }
  BoardState s, back;
  ASSERT_TRUE(FillFromRows(s, {"5 +12* 77 230 . .", "40 +3 . 7* 1* #"}));
  const std::string text = FormatGrid(s);
  const std::vector<std::string> printed = {"   5  +12*  77  230    .    .", "  40   +3    .    7*   1*   #"};
  EXPECT_EQ(text, printed[0] + "\n" + printed[1] + "\n");
  ASSERT_TRUE(FillFromRows(back, printed));
  EXPECT_EQ(FormatGrid(back), text);
  EXPECT_EQ(back.Board[2][1].number, 112);
  EXPECT_EQ(back.Board[6][2].number, WALL);
  std::string why;
  EXPECT_FALSE(FillFromRows(back, {"1 2", "3"}, &why));
  EXPECT_NE(why.find("line 2"), std::string::npos) << why;
}

}  // namespace
}  // namespace numbloc
