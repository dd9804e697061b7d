// The repaint's drawing steps on a recording surface: background, status, tiles, outlines, bar, panel.
#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "board_picture.h"
#include "platform/draw_surface.h"
#include "view/board_drawing.h"

namespace numbloc {
namespace {

using testing::Picture;
using Copy = std::tuple<int, int, int, int, int, int>;  // to x, y; from x, y; width, height
using Segment = std::tuple<int, int, int, int>;          // x1, y1, x2, y2

const QColor kTeal(0, 128, 128), kYellow(255, 255, 0);

// A DrawSurface recording the rectangles, lines, texts and atlas copies asked of it, in
// order, with the pen, fill and text colour in force: steps checked without pixels.
struct Recorder : DrawSurface {
  struct Shape {
    int left, top, right, bottom;  // a line's x1, y1, x2, y2
    QColor pen;
    int width;
    QColor fill;  // invalid: hollow
  };
  struct Words {
    int x, y;
    QColor color;
    QString text;
  };
  std::vector<Shape> rects, lines;
  std::vector<Words> texts;
  std::vector<Copy> copies;
  QColor pen, fill = Qt::white, ink = Qt::black;
  int width = 1;

  bool HasCopy(const Copy& c) const { return std::find(copies.begin(), copies.end(), c) != copies.end(); }
  void SetPixelMapping() override {}
  void SetLoMetricMapping(double, double, double) override {}
  void SetPen(const QColor& color, int w) override { pen = color, width = w; }
  void SetBrush(const QColor& color) override { fill = color; }
  void SetHollowBrush() override { fill = QColor(); }
  void Rectangle(int l, int t, int r, int b) override { rects.push_back({l, t, r, b, pen, width, fill}); }
  void Line(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2, pen, width, {}}); }
  void SetTextColor(const QColor& color) override { ink = color; }
  void SetBackgroundColor(const QColor&) override {}
  void SetFont(const FontChoice&) override {}
  void SetDefaultFont() override {}
  void Text(int x, int y, const QString& text) override { texts.push_back({x, y, ink, text}); }
  bool SelectAtlas() override { return true; }
  void ReleaseAtlas() override {}
  void CopyAtlas(int dx, int dy, int sx, int sy, int w, int h) override {
    copies.push_back({dx, dy, sx, sy, w, h});
  }
};

// Draws the board of `rows` in `mode`, after `change`.
Recorder Draw(const std::vector<std::string>& rows, int mode = Creation,
              const std::function<void(BoardState&)>& change = {}) {
  BoardState state;
  testing::LoadPicture(state, rows);
  state.Mode = static_cast<std::uint8_t>(mode);
  if (change) change(state);
  Recorder s;
  DrawBoardWindow(state, s);
  return s;
}

// The outline segments drawn; each is black and four pixels wide.
std::set<Segment> Segments(const Recorder& s) {
  std::set<Segment> result;
  for (const auto& line : s.lines) {
    EXPECT_EQ(std::tie(line.pen, line.width), std::make_tuple(QColor(0, 0, 0), 4));
    result.insert({line.left, line.top, line.right, line.bottom});
  }
  return result;
}

// The top and left sides of cell (i, j): 27 pixels apart, from (27i - 2, 27j + 23).
Segment Top(int i, int j) { return {27 * i - 2, 27 * j + 23, 27 * i + 24, 27 * j + 23}; }
Segment Left(int i, int j) { return {27 * i - 2, 27 * j + 23, 27 * i - 2, 27 * j + 49}; }

TEST(Drawing, FirstPictureOfTheDefaultBoard) {
  const Recorder s = Draw(Picture(8, 8));
  // Eleven filled teal rectangles (2-pixel pen), then the hollow frame (4-pixel pen); the
  // first and the frame anchor the layout's places.
  ASSERT_EQ(s.rects.size(), 12u);
  for (int k = 0; k < 12; ++k) {
    const auto& r = s.rects[k];
    const auto pen = k < 11 ? std::make_tuple(kTeal, 2, kTeal) : std::make_tuple(QColor(Qt::black), 4, QColor());
    EXPECT_EQ(std::tie(r.pen, r.width, r.fill), pen) << k;
  }
  EXPECT_EQ(std::tie(s.rects[0].left, s.rects[0].top, s.rects[0].right, s.rects[0].bottom), Segment(0, 0, 4096, 50));
  EXPECT_EQ(std::tie(s.rects[11].left, s.rects[11].top, s.rects[11].right, s.rects[11].bottom),
            Segment(25, 50, 241, 266));
  // Title, 64 empty tiles, hint-style bar 1..10, red 1 marker, Creation buttons, label.
  EXPECT_EQ(s.copies.size(), 1u + 64u + 1u + 1u + 3u);
  EXPECT_TRUE(s.HasCopy({274, 50, 0, 0, 28, 271}));
  EXPECT_TRUE(s.HasCopy({329, 90, 168, 211, 101, 22}));
  EXPECT_TRUE(s.lines.empty());
}

TEST(Drawing, StatusLineByStatus) {
  // The conflict cell follows message 1 in decimal: once written as '<', a character code.
  const auto texts = Draw(Picture(8, 8), Creation, [](BoardState& state) {
                       state.SolverStatus = kStatusContradiction;
                       state.ConflictColumn = 12, state.ConflictRow = 40, state.ConflictNumber = 4;
                     }).texts;
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_TRUE(texts[0].text.startsWith(QStringLiteral("この問題は成立していません")));
  const int x[4] = {30, 300, 320, 340};
  const QString text[4] = {texts[0].text, "12", "40", "4"};
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(std::tie(texts[k].x, texts[k].y, texts[k].color, texts[k].text),
              std::make_tuple(x[k], 30, kYellow, text[k]));
  // One message padded to 22 characters for the other statuses; none past the table.
  const std::pair<int, const char*> cases[] = {
      {0, "　　　　　　　　　　　　　　　　　　　　　　"}, {4, "自動解析中！　しばらくお待ちください"}, {8, nullptr}, {-1, nullptr}};
  for (const auto& [status, message] : cases) {
    const auto shown = Draw(Picture(8, 8), Creation, [&](BoardState& s) { s.SolverStatus = status; }).texts;
    ASSERT_EQ(shown.size(), message ? 1u : 0u) << status;
    if (!message) continue;
    EXPECT_EQ(shown[0].text, QString::fromUtf8(message).leftJustified(22, QChar(0x3000))) << status;
  }
}

// Each cell's tile at its place (which tile for which value: layout_test).
TEST(Drawing, PlacedAndHintTilesAndDamagedValues) {
  const Recorder s = Draw(Picture(6, 6, {"+35 . 77", ". 5"}), SolvePlayed);
  EXPECT_TRUE(s.HasCopy({25, 50, 140, 378, 28, 28}));  // placed 35, dark green
  EXPECT_TRUE(s.HasCopy({52, 77, 0, 108, 28, 28}));    // hint 5, blue
  EXPECT_TRUE(s.HasCopy({79, 50, 168, 324, 28, 28}));  // damaged: question mark
}

TEST(Drawing, NumberBarInTwoPiecesAboveTwenty) {
  // 20 x 6 offers 21: placed style, 1..20 then 21 below, the red 25, the panel moved right.
  const Recorder s = Draw(Picture(20, 6), SolvePlayed, [](BoardState& state) {
    ASSERT_EQ(state.MaxNumber, 21);
    state.SelectedNumber = 25;
  });
  const int x = 27 * 20 + 58, panel = 27 * 20 + 113;
  EXPECT_TRUE(s.HasCopy({x, 50, 56, 0, 28, 541}));
  EXPECT_TRUE(s.HasCopy({x, 590, 140, 0, 28, 28}));
  EXPECT_TRUE(s.HasCopy({x, 698, 112, 108, 27, 27}));
  EXPECT_TRUE(s.HasCopy({panel, 150, 168, 140, 101, 35}));  // 1つ戻る; the other buttons: below
  // 18 x 6 offers 20: one piece; 30 x 40 offers 40: the second piece is whole.
  const Recorder one = Draw(Picture(18, 6));
  EXPECT_TRUE(one.HasCopy({27 * 18 + 58, 50, 0, 0, 28, 541}));
  EXPECT_EQ(one.copies.size(), 1u + 18 * 6 + 1 + 1 + 3);
  EXPECT_TRUE(Draw(Picture(30, 40)).HasCopy({868, 590, 84, 0, 28, 541}));
}

// The Solving label but in Creation; 作成モードへ below, 自動解答 above before the first move;
// a damaged mode: no buttons, the bar in the placed style.
TEST(Drawing, PanelByModeAndADamagedModeWithoutButtons) {
  for (int mode : {1, 2, 3, 9}) EXPECT_TRUE(Draw(Picture(8, 8), mode).HasCopy({329, 90, 168, 234, 101, 22})) << mode;
  const Recorder start = Draw(Picture(8, 8), SolveStart);
  EXPECT_TRUE(start.HasCopy({329, 210, 168, 35, 101, 35}) && start.HasCopy({329, 150, 168, 175, 101, 35}));
  const Recorder s = Draw(Picture(8, 8), 9);
  for (const Copy& c : s.copies) EXPECT_NE(std::get<5>(c), 35);
  EXPECT_TRUE(s.HasCopy({274, 50, 56, 0, 28, 271}));
}

TEST(BlockOutline, SegmentsBetweenNumbersAndAroundCompleteBlocks) {
  const std::pair<std::vector<std::string>, std::set<Segment>> cases[] = {
      // A complete domino: its own top and left sides, and the empty cells' right of and below it.
      {Picture(6, 6, {"", "", ". . 2* 2*"}),
       {Top(3, 3), Left(3, 3), Top(4, 3), Left(5, 3), Top(3, 4), Top(4, 4)}},
      // Incomplete neighbours: a line only between different numbers.
      {Picture(6, 6, {"", ". 3 4", ". 3"}), {Left(3, 2)}},
      // At the frame only complete cells get a side; equal numbers, one complete, are parted.
      {Picture(6, 6, {"5 +5*", "1*"}),
       {Top(2, 1), Left(2, 1), Left(3, 1), Top(1, 2), Left(1, 2), Top(2, 2), Left(2, 2), Top(1, 3)}},
  };
  for (const auto& [rows, segments] : cases) EXPECT_EQ(Segments(Draw(rows)), segments) << rows[0];
}

}  // namespace
}  // namespace numbloc
