// The repaint's drawing steps, checked on a recording surface: background,
// status line, cell tiles and block outlines, the number bar in one or two
// pieces, the marker, buttons and label.
#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <set>
#include <tuple>

#include "board_picture.h"
#include "recording_surface.h"
#include "view/board_drawing.h"
#include "view/layout.h"

namespace numbloc {
namespace {

using testing::LoadPicture;

std::vector<std::string> Empty(int w, int h) {
  std::string row;
  for (int i = 0; i < w; ++i) row += i ? " ." : ".";
  return std::vector<std::string>(h, row);
}

bool HasCopy(const RecordingSurface& s, int dx, int dy, int sx, int sy, int w, int h) {
  for (const DrawOp& op : s.Of(DrawOp::Copy))
    if (std::tie(op.a, op.b, op.c, op.d, op.e, op.f) == std::tie(dx, dy, sx, sy, w, h)) return true;
  return false;
}

// The outline segments drawn, as (x1, y1, x2, y2).
std::set<std::tuple<int, int, int, int>> Segments(const RecordingSurface& s) {
  std::set<std::tuple<int, int, int, int>> result;
  for (const DrawOp& op : s.Of(DrawOp::Line)) {
    EXPECT_EQ(op.width, 4);
    EXPECT_EQ(op.color, QColor(0, 0, 0));
    result.insert({op.a, op.b, op.c, op.d});
  }
  return result;
}

std::tuple<int, int, int, int> Top(int i, int j) {
  const auto p = layout::CellOrigin(i, j);
  return {p.x, p.y, p.x + 26, p.y};
}
std::tuple<int, int, int, int> Left(int i, int j) {
  const auto p = layout::CellOrigin(i, j);
  return {p.x, p.y, p.x, p.y + 26};
}

TEST(Drawing, FirstPictureOfTheDefaultBoard) {
  BoardState state;
  LoadPicture(state, Empty(8, 8));
  RecordingSurface s;
  DrawBoardWindow(state, s);

  // Eleven teal rectangles with the 2-pixel pen, in order, then the frame.
  const auto rects = s.Of(DrawOp::Rect);
  ASSERT_EQ(rects.size(), 12u);
  const auto expected = layout::BackgroundRects(8, 8, 10);
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(std::tie(rects[k].a, rects[k].b, rects[k].c, rects[k].d),
              std::tie(expected[k].left, expected[k].top, expected[k].right, expected[k].bottom));
    EXPECT_EQ(rects[k].color, QColor(0, 128, 128));
    EXPECT_EQ(rects[k].width, 2);
    EXPECT_FALSE(rects[k].hollow);
  }
  EXPECT_EQ(std::tie(rects[11].a, rects[11].b, rects[11].c, rects[11].d),
            std::make_tuple(25, 50, 241, 266));
  EXPECT_EQ(rects[11].width, 4);
  EXPECT_TRUE(rects[11].hollow);

  // Title, 64 empty tiles, the bar 1..10 in the hint style, the red 1 marker,
  // the Creation buttons and label.
  const auto copies = s.Of(DrawOp::Copy);
  ASSERT_EQ(copies.size(), 1u + 64u + 1u + 1u + 2u + 1u);
  EXPECT_TRUE(HasCopy(s, 10, 5, 0, 541, 186, 21));
  for (int i = 1; i <= 8; ++i)
    for (int j = 1; j <= 8; ++j) {
      const auto p = layout::CellOrigin(i, j);
      EXPECT_TRUE(HasCopy(s, p.x, p.y, 168, 351, 28, 28)) << i << "," << j;
    }
  EXPECT_TRUE(HasCopy(s, 274, 50, 0, 0, 28, 271));
  EXPECT_TRUE(HasCopy(s, 274, 50, 28, 0, 27, 27));
  EXPECT_TRUE(HasCopy(s, 329, 210, 168, 0, 101, 35));
  EXPECT_TRUE(HasCopy(s, 329, 150, 168, 105, 101, 35));
  EXPECT_TRUE(HasCopy(s, 329, 90, 168, 211, 101, 22));
  // Order: buttons lower first, then the label last.
  EXPECT_EQ(copies[copies.size() - 3].b, 210);
  EXPECT_EQ(copies[copies.size() - 2].b, 150);
  EXPECT_EQ(copies.back().b, 90);

  // The blank status line: 22 full-width spaces, yellow, at (30, 30).
  const auto texts = s.Of(DrawOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].a, 30);
  EXPECT_EQ(texts[0].b, 30);
  EXPECT_EQ(texts[0].color, QColor(255, 255, 0));
  EXPECT_TRUE(texts[0].text.trimmed().isEmpty());
  EXPECT_TRUE(Segments(s).empty());
}

TEST(Drawing, StatusOneShowsTheConflictCellInDecimal) {
  BoardState state;
  LoadPicture(state, Empty(8, 8));
  state.SolverStatus = kStatusContradiction;
  state.ConflictColumn = 12;
  state.ConflictRow = 3;
  state.ConflictNumber = 4;
  RecordingSurface s;
  DrawBoardWindow(state, s);
  const auto texts = s.Of(DrawOp::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_TRUE(texts[0].text.startsWith(QStringLiteral("この問題は成立していません")));
  EXPECT_EQ(texts[1].text, "12");  // once written as '<', a character code
  EXPECT_EQ(texts[1].a, 300);
  EXPECT_EQ(texts[2].text, "3");
  EXPECT_EQ(texts[2].a, 320);
  EXPECT_EQ(texts[3].text, "4");
  EXPECT_EQ(texts[3].a, 340);
  for (const DrawOp& t : texts) {
    EXPECT_EQ(t.b, 30);
    EXPECT_EQ(t.color, QColor(255, 255, 0));
  }
  state.ConflictColumn = 11;
  state.ConflictRow = 40;
  RecordingSurface s2;
  DrawBoardWindow(state, s2);
  EXPECT_EQ(s2.Of(DrawOp::Text)[1].text, "11");
  EXPECT_EQ(s2.Of(DrawOp::Text)[2].text, "40");
}

TEST(Drawing, StatusMessagesAndUnknownStatus) {
  BoardState state;
  LoadPicture(state, Empty(8, 8));
  for (int status = 2; status <= 7; ++status) {
    state.SolverStatus = status;
    RecordingSurface s;
    DrawBoardWindow(state, s);
    ASSERT_EQ(s.Of(DrawOp::Text).size(), 1u) << status;
    EXPECT_EQ(s.Of(DrawOp::Text)[0].text, QString::fromUtf8(StatusMessageFor(status)));
  }
  EXPECT_TRUE(QString::fromUtf8(StatusMessageFor(4))
                  .startsWith(QStringLiteral("自動解析中！　しばらくお待ちください")));
  for (int status : {8, -1, 1000}) {
    state.SolverStatus = status;
    RecordingSurface s;
    DrawBoardWindow(state, s);
    EXPECT_TRUE(s.Of(DrawOp::Text).empty()) << status;
  }
}

TEST(Drawing, PlacedAndHintTilesAndDamagedValues) {
  BoardState state;
  LoadPicture(state, {"+35 35 . . . .", "+5 5 . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  state.Board[3][1].number = 77;
  state.Board[4][1].number = 150;
  RecordingSurface s;
  DrawBoardWindow(state, s);
  EXPECT_TRUE(HasCopy(s, 25, 50, 140, 378, 28, 28));  // placed 35, dark green
  EXPECT_TRUE(HasCopy(s, 52, 50, 84, 378, 28, 28));   // hint 35, blue
  EXPECT_TRUE(HasCopy(s, 25, 77, 56, 108, 28, 28));   // placed 5
  EXPECT_TRUE(HasCopy(s, 52, 77, 0, 108, 28, 28));    // hint 5
  EXPECT_TRUE(HasCopy(s, 79, 50, 168, 324, 28, 28));  // damaged: question mark
  EXPECT_TRUE(HasCopy(s, 106, 50, 168, 324, 28, 28));
}

TEST(Drawing, NumberBarInTwoPiecesAboveTwenty) {
  BoardState state;
  LoadPicture(state, Empty(20, 6));
  ASSERT_EQ(state.MaxNumber, 21);
  state.Mode = SolvePlayed;
  state.SelectedNumber = 25;
  RecordingSurface s;
  DrawBoardWindow(state, s);
  const int x = 27 * 20 + 58;
  EXPECT_TRUE(HasCopy(s, x, 50, 56, 0, 28, 541));
  EXPECT_TRUE(HasCopy(s, x, 590, 140, 0, 28, 28));
  EXPECT_TRUE(HasCopy(s, x, 698, 112, 108, 27, 27));  // the red 25
  EXPECT_TRUE(HasCopy(s, 27 * 20 + 113, 210, 168, 70, 101, 35));   // 最初に戻る
  EXPECT_TRUE(HasCopy(s, 27 * 20 + 113, 150, 168, 140, 101, 35));  // 1つ戻る
  EXPECT_TRUE(HasCopy(s, 27 * 20 + 113, 90, 168, 234, 101, 22));   // 解答モード

  LoadPicture(state, Empty(18, 6));
  ASSERT_EQ(state.MaxNumber, 20);
  RecordingSurface one;
  DrawBoardWindow(state, one);
  EXPECT_TRUE(HasCopy(one, 27 * 18 + 58, 50, 0, 0, 28, 541));
  EXPECT_FALSE(HasCopy(one, 27 * 18 + 58, 590, 84, 0, 28, 1));

  LoadPicture(state, Empty(30, 40));
  ASSERT_EQ(state.MaxNumber, 40);
  RecordingSurface full;
  DrawBoardWindow(state, full);
  EXPECT_TRUE(HasCopy(full, 868, 590, 84, 0, 28, 541));
}

TEST(Drawing, DamagedModeDrawsNoButtonsAndTheSolvingLabel) {
  BoardState state;
  LoadPicture(state, Empty(8, 8));
  state.Mode = 9;
  RecordingSurface s;
  DrawBoardWindow(state, s);
  for (const DrawOp& op : s.Of(DrawOp::Copy)) EXPECT_FALSE(op.a == 329 && op.e == 101 && op.f == 35);
  EXPECT_TRUE(HasCopy(s, 329, 90, 168, 234, 101, 22));
  EXPECT_TRUE(HasCopy(s, 274, 50, 56, 0, 28, 271));  // placed style bar
}

TEST(BlockOutline, CompleteDominoIsClosedBySixSegments) {
  BoardState state;
  LoadPicture(state, {". . . . . .", ". . . . . .", ". . 2* 2* . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  RecordingSurface s;
  DrawBoardWindow(state, s);
  // Own top and left of the left cell, own top of the right one, and the
  // empty neighbours' segments towards the complete block.
  EXPECT_EQ(Segments(s), (std::set<std::tuple<int, int, int, int>>{
                             Top(3, 3), Left(3, 3), Top(4, 3), Left(5, 3), Top(3, 4), Top(4, 4)}));
}

TEST(BlockOutline, IncompleteNeighboursGetOneSeparatingSegment) {
  BoardState state;
  LoadPicture(state, {". . . . . .", ". 3 4 . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  RecordingSurface s;
  DrawBoardWindow(state, s);
  EXPECT_EQ(Segments(s), (std::set<std::tuple<int, int, int, int>>{Left(3, 2)}));
}

TEST(BlockOutline, EdgeCellsOutlineOnlyWhenComplete) {
  BoardState state;
  LoadPicture(state, {"5 +5* . . . .", "1* . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  EXPECT_FALSE(DrawsTopSegment(state, 1, 1));
  EXPECT_FALSE(DrawsLeftSegment(state, 1, 1));
  EXPECT_TRUE(DrawsTopSegment(state, 2, 1));
  EXPECT_TRUE(DrawsLeftSegment(state, 2, 1));  // same number, different complete
  EXPECT_TRUE(DrawsTopSegment(state, 1, 2));   // 1 against 5
  EXPECT_TRUE(DrawsLeftSegment(state, 1, 2));  // complete against the frame
  EXPECT_TRUE(DrawsTopSegment(state, 2, 2));   // empty below a complete cell
  EXPECT_TRUE(DrawsLeftSegment(state, 2, 2));
  EXPECT_FALSE(DrawsTopSegment(state, 3, 2));
}

}  // namespace
}  // namespace numbloc
