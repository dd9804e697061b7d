// Window and scroll sizes, hit and atlas regions (places: drawing_test and tst_board_window).
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "view/layout.h"

namespace numbloc::layout {
namespace {

TEST(LayoutSizes, ExamplesAndCaps) {
  // {W, H, window}: 27W + 260 wide, at most 639; 27H + 170 high, 340..479.
  const std::tuple<int, int, Size> windows[] = {
      {8, 8, {476, 386}}, {6, 6, {422, 340}}, {14, 8, {638, 386}}, {15, 8, {639, 386}},
      {8, 11, {476, 467}}, {8, 12, {476, 479}}, {30, 40, {639, 479}}};
  for (const auto& [w, h, size] : windows) EXPECT_EQ(FrameWindowSize(w, h), size) << w << "x" << h;
  // The canvas: 27W + 220 by 27M + 60, at least 290 high.
  EXPECT_EQ(ScrollSize(8, 10), (Size{436, 330}));
  EXPECT_EQ(ScrollSize(6, 8), (Size{382, 290}));
  EXPECT_EQ(InitialScrollSize(8, 8), (Size{456, 340}));
  EXPECT_EQ(InitialScrollSize(8, 10), (Size{456, 370}));
}

// Every region is open: its edge pixels hit nothing. Default board (8 x 8, M 10): x 25..241,
// y 50..266; bar x 274..302, y 50..320; panel x 329..430, buttons y 150..186 and 210..246.
TEST(HitTest, RegionsAndTheirOpenBounds) {
  using enum HitKind;
  // Edges of the board, the bar and the buttons, and the mode label, which is no button.
  const std::pair<int, int> misses[] = {{25, 60},   {241, 60},  {30, 50},   {30, 266},  {274, 60},
                                        {302, 60},  {279, 50},  {279, 320}, {329, 160}, {430, 160},
                                        {379, 150}, {379, 186}, {379, 210}, {379, 246}, {379, 100}};
  for (const auto& [x, y] : misses) EXPECT_EQ(HitTest(8, 8, 10, x, y).kind, None) << x << "," << y;
  // x, y, then the hit: kind, column, row, number.
  const std::tuple<int, int, HitKind, int, int, int> hits[] = {
      {26, 60, Board, 1, 1, 0},         {51, 60, Board, 1, 1, 0},         {52, 60, Board, 2, 1, 0},
      {240, 60, Board, 8, 1, 0},        {30, 265, Board, 1, 8, 0},        {275, 60, NumberBar, 0, 0, 1},
      {301, 60, NumberBar, 0, 0, 1},    {279, 319, NumberBar, 0, 0, 10},  {330, 160, UpperButton, 0, 0, 0},
      {379, 185, UpperButton, 0, 0, 0}, {379, 211, LowerButton, 0, 0, 0}, {379, 245, LowerButton, 0, 0, 0}};
  for (const auto& [x, y, kind, column, row, number] : hits) {
    const Hit hit = HitTest(8, 8, 10, x, y);
    EXPECT_EQ(std::tie(hit.kind, hit.column, hit.row, hit.number), std::tie(kind, column, row, number))
        << x << "," << y;
  }
  // The bar reaches below the board when M > H.
  EXPECT_EQ(HitTest(6, 6, 8, BarX(6) + 5, 27 * 8 + 40).number, 8);
}

// Number tiles: six columns of 20 (hint, selected, placed; 1..20 then 21..40); damaged: "?".
TEST(AtlasRegions, CellTilesAndButtonsPerMode) {
  const std::pair<int, Point> cells[] = {{0, {168, 351}},  {1, {0, 0}},      {21, {84, 0}},    {40, {84, 513}},
                                         {41, {168, 324}}, {101, {56, 0}},   {121, {140, 0}},  {140, {140, 513}},
                                         {141, {168, 324}}};
  for (const auto& [number, at] : cells)
    EXPECT_EQ(CellTileRegion(static_cast<std::uint8_t>(number)), (Region{at.x, at.y, 28, 28})) << number;
  EXPECT_EQ(NumberTileAtlas(TileStyle::Selected, 20), (Point{28, 513}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Selected, 25), (Point{112, 108}));

  using enum ButtonPicture;
  const std::tuple<int, ButtonPicture, ButtonPicture> modes[] = {
      {0, ToSolving, ClearAll}, {1, ToCreation, AutoSolve}, {2, BackToStart, UndoOne}, {3, BackToStart, ClearAll}};
  ButtonPicture l, u;
  for (const auto& [mode, lower, upper] : modes) {
    ASSERT_TRUE(ButtonsForMode(mode, &l, &u));
    EXPECT_EQ(std::make_pair(l, u), std::make_pair(lower, upper)) << mode;
  }
  EXPECT_FALSE(ButtonsForMode(4, &l, &u));  // and none drawn: drawing_test
}

}  // namespace
}  // namespace numbloc::layout
