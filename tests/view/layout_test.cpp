// Geometry of the board window: positions, window and scroll sizes, hit
// regions with their open bounds, repaint rectangles and atlas regions.
#include <gtest/gtest.h>

#include "view/layout.h"

namespace numbloc::layout {
namespace {

TEST(LayoutPositions, DefaultBoardPlacesCellsBarAndPanel) {
  EXPECT_EQ(CellOrigin(1, 1), (Point{25, 50}));
  EXPECT_EQ(CellOrigin(8, 8), (Point{214, 239}));
  EXPECT_EQ(BarX(8), 274);
  EXPECT_EQ(PanelX(8), 329);
  EXPECT_EQ(BarEntryOrigin(8, 10), (Point{274, 293}));
  EXPECT_EQ(FrameRect(8, 8), (Rect{25, 50, 241, 266}));
}

TEST(LayoutPositions, LargestBoardPlacesBarAndPanel) {
  EXPECT_EQ(BarX(30), 868);
  EXPECT_EQ(PanelX(30), 923);
  // The top frame line of 21 is the bottom frame line of 20.
  EXPECT_EQ(BarEntryOrigin(30, 21).y, 590);
  EXPECT_EQ(BarEntryOrigin(30, 20).y + kTile - 1, 590);
  EXPECT_EQ(MarkerOrigin(30, 25), (Point{868, 698}));
}

TEST(LayoutSizes, ExamplesAndCaps) {
  EXPECT_EQ(FrameWindowSize(8, 8), (Size{476, 386}));
  EXPECT_EQ(ScrollSize(8, 10), (Size{436, 330}));
  EXPECT_EQ(FrameWindowSize(6, 6), (Size{422, 340}));
  EXPECT_EQ(ScrollSize(6, 8), (Size{382, 290}));
  EXPECT_EQ(FrameWindowSize(30, 40), (Size{639, 479}));
  EXPECT_EQ(ScrollSize(30, 40), (Size{1030, 1140}));
  // Width: 27W + 260 is 638 for 14 columns and capped from 15 on.
  EXPECT_EQ(FrameWindowSize(14, 8).width, 638);
  EXPECT_EQ(FrameWindowSize(15, 8).width, 639);
  // Height: raised to 340 below it, 467 for 11 rows, capped from 12 rows on.
  EXPECT_EQ(FrameWindowSize(8, 11).height, 467);
  EXPECT_EQ(FrameWindowSize(8, 12).height, 479);
  EXPECT_EQ(InitialScrollSize(8, 8), (Size{456, 340}));
  EXPECT_EQ(InitialScrollSize(8, 10), (Size{456, 370}));
  EXPECT_EQ(ScrollSize(8, 8).height, 290);
}

TEST(LayoutBackground, ElevenRectanglesForDefaultBoard) {
  const auto rects = BackgroundRects(8, 8, 10);
  EXPECT_EQ(rects[0], (Rect{0, 0, 4096, 50}));
  EXPECT_EQ(rects[2], (Rect{430, 0, 4096, 2048}));
  EXPECT_EQ(rects[3], (Rect{25, 268, 242, 2048}));
  EXPECT_EQ(rects[6], (Rect{275, 322, 328, 2048}));
  EXPECT_EQ(rects[10], (Rect{330, 246, 429, 2048}));
}

TEST(HitTest, BoardBoundariesAreOpen) {
  // 8 x 8, M 10.
  EXPECT_EQ(HitTest(8, 8, 10, 25, 60).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, 26, 60).column, 1);
  EXPECT_EQ(HitTest(8, 8, 10, 51, 60).column, 1);
  EXPECT_EQ(HitTest(8, 8, 10, 52, 60).column, 2);
  EXPECT_EQ(HitTest(8, 8, 10, 27 * 8 + 24, 60).column, 8);
  EXPECT_EQ(HitTest(8, 8, 10, 27 * 8 + 25, 60).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, 30, 50).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, 30, 51).row, 1);
  EXPECT_EQ(HitTest(8, 8, 10, 30, 77).row, 2);
  EXPECT_EQ(HitTest(8, 8, 10, 30, 27 * 8 + 49).row, 8);
  EXPECT_EQ(HitTest(8, 8, 10, 30, 27 * 8 + 50).kind, HitKind::None);
}

TEST(HitTest, NumberBarEndsAboveItsBottomLine) {
  const int x = BarX(8) + 5;
  EXPECT_EQ(HitTest(8, 8, 10, BarX(8), 60).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, BarX(8) + 1, 60).number, 1);
  EXPECT_EQ(HitTest(8, 8, 10, BarX(8) + 27, 60).number, 1);
  EXPECT_EQ(HitTest(8, 8, 10, BarX(8) + 28, 60).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x, 50).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x, 27 * 10 + 49).number, 10);
  EXPECT_EQ(HitTest(8, 8, 10, x, 27 * 10 + 50).kind, HitKind::None);
  // The bar reaches below the board when M > H.
  EXPECT_EQ(HitTest(6, 6, 8, BarX(6) + 5, 27 * 8 + 40).number, 8);
}

TEST(HitTest, ButtonRegionsStartOnePixelInside) {
  const int x = PanelX(8);
  EXPECT_EQ(HitTest(8, 8, 10, x, 160).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x + 1, 160).kind, HitKind::UpperButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 100, 160).kind, HitKind::UpperButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 101, 160).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 150).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 151).kind, HitKind::UpperButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 185).kind, HitKind::UpperButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 186).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 210).kind, HitKind::None);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 211).kind, HitKind::LowerButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 245).kind, HitKind::LowerButton);
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 246).kind, HitKind::None);
  // The mode label is no button.
  EXPECT_EQ(HitTest(8, 8, 10, x + 50, 100).kind, HitKind::None);
}

TEST(RepaintRects, CellBoardAndBar) {
  EXPECT_EQ(CellRepaintRect(1, 1), (Rect{23, 48, 54, 79}));
  EXPECT_EQ(BoardRepaintRect(8, 8), (Rect{25, 50, 243, 268}));
  // With W 10 and M 12 the bar repaints down to y 375.
  EXPECT_EQ(BarRepaintRect(10, 12), (Rect{328, 50, 356, 375}));
}

TEST(AtlasRegions, NumberTilesInSixColumns) {
  EXPECT_EQ(NumberTileAtlas(TileStyle::Hint, 1), (Point{0, 0}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Selected, 20), (Point{28, 513}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Placed, 2), (Point{56, 27}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Hint, 35), (Point{84, 378}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Selected, 25), (Point{112, 108}));
  EXPECT_EQ(NumberTileAtlas(TileStyle::Placed, 40), (Point{140, 513}));
}

TEST(AtlasRegions, CellTileByNumberByte) {
  EXPECT_EQ(CellTileRegion(0), (Region{168, 351, 28, 28}));
  EXPECT_EQ(CellTileRegion(1), (Region{0, 0, 28, 28}));
  EXPECT_EQ(CellTileRegion(20), (Region{0, 513, 28, 28}));
  EXPECT_EQ(CellTileRegion(21), (Region{84, 0, 28, 28}));
  EXPECT_EQ(CellTileRegion(35), (Region{84, 378, 28, 28}));
  EXPECT_EQ(CellTileRegion(101), (Region{56, 0, 28, 28}));
  EXPECT_EQ(CellTileRegion(135), (Region{140, 378, 28, 28}));
  EXPECT_EQ(CellTileRegion(140), (Region{140, 513, 28, 28}));
  for (int damaged : {41, 99, 100, 141, 200, 255})
    EXPECT_EQ(CellTileRegion(static_cast<std::uint8_t>(damaged)), (Region{168, 324, 28, 28}))
        << damaged;
}

TEST(AtlasRegions, ButtonsAndLabelsPerMode) {
  ButtonPicture lower, upper;
  ASSERT_TRUE(ButtonsForMode(0, &lower, &upper));
  EXPECT_EQ(ButtonRegion(lower), (Region{168, 0, 101, 35}));
  EXPECT_EQ(ButtonRegion(upper), (Region{168, 105, 101, 35}));
  ASSERT_TRUE(ButtonsForMode(1, &lower, &upper));
  EXPECT_EQ(ButtonRegion(lower).y, 35);
  EXPECT_EQ(ButtonRegion(upper).y, 175);
  ASSERT_TRUE(ButtonsForMode(2, &lower, &upper));
  EXPECT_EQ(ButtonRegion(lower).y, 70);
  EXPECT_EQ(ButtonRegion(upper).y, 140);
  ASSERT_TRUE(ButtonsForMode(3, &lower, &upper));
  EXPECT_EQ(ButtonRegion(lower).y, 70);
  EXPECT_EQ(ButtonRegion(upper).y, 105);
  EXPECT_FALSE(ButtonsForMode(4, &lower, &upper));
  EXPECT_FALSE(ButtonsForMode(255, &lower, &upper));
  EXPECT_EQ(CreationLabelRegion(), (Region{168, 211, 101, 22}));
  EXPECT_EQ(SolvingLabelRegion(), (Region{168, 234, 101, 22}));
  EXPECT_EQ(TitleBannerRegion(), (Region{0, 541, 186, 21}));
}

}  // namespace
}  // namespace numbloc::layout
