// Geometry of the board window and of the tile atlas.
#include "view/layout.h"

#include <algorithm>

namespace numbloc::layout {

Point CellOrigin(int column, int row) { return {kPitch * column - 2, kPitch * row + 23}; }

int BarX(int W) { return kPitch * W + 58; }

Point BarEntryOrigin(int W, int n) { return {BarX(W), kPitch * n + 23}; }

Point MarkerOrigin(int W, int selected) { return BarEntryOrigin(W, selected); }

int PanelX(int W) { return kPitch * W + 113; }

Point TitleOrigin() { return {10, 5}; }

Point StatusOrigin() { return {30, 30}; }

Point VerdictOrigin(int W) { return {PanelX(W), kLabelY + kLabelHeight + 6}; }

Point ProgressOrigin(int W) { return {PanelX(W), kLowerButtonY + kButtonHeight + 12}; }

Rect CellMarkRect(int column, int row, int inset) {
  const Point at = CellOrigin(column, row);
  return {at.x + 1 + inset, at.y + 1 + inset, at.x + kPitch - inset, at.y + kPitch - inset};
}

Rect FrameRect(int W, int H) {
  return {kBoardLeft, kBoardTop, kPitch * W + 25, kPitch * H + 50};
}

std::array<Rect, 11> BackgroundRects(int W, int H, int M) {
  const int w = kPitch * W;
  return {{
      {0, 0, 4096, 50},
      {0, 0, 25, 2048},
      {w + 214, 0, 4096, 2048},
      {25, kPitch * H + 52, w + 26, 2048},
      {w + 27, 51, w + 58, 2048},
      {w + 86, 51, w + 113, 2048},
      {w + 59, kPitch * M + 52, w + 112, 2048},
      {w + 114, 51, w + 213, 90},
      {w + 114, 113, w + 213, 150},
      {w + 114, 186, w + 213, 210},
      {w + 114, 246, w + 213, 2048},
  }};
}

Size FrameWindowSize(int W, int H) {
  int width = kPitch * W + 260;
  if (width >= 640) width = 639;
  int height = kPitch * H + 170;
  if (height < 340) height = 340;
  if (height >= 480) height = 479;
  return {width, height};
}

Size ScrollSize(int W, int M) { return {kPitch * W + 220, std::max(kPitch * M + 60, 290)}; }

Size InitialScrollSize(int W, int H) {
  return {kPitch * W + 240, std::max(kPitch * H + 100, 340)};
}

Hit HitTest(int W, int H, int M, int x, int y) {
  Hit hit;
  const int w = kPitch * W;
  if (x > w + 58 && x < w + 86 && y > 50 && y < kPitch * M + 50) {
    hit.kind = HitKind::NumberBar;
    hit.number = (y - 50) / kPitch + 1;
  } else if (x > 25 && x < w + 25 && y > 50 && y < kPitch * H + 50) {
    hit.kind = HitKind::Board;
    hit.column = (x - 25) / kPitch + 1;
    hit.row = (y - 50) / kPitch + 1;
  } else if (x > w + 113 && x < w + 214 && y > 210 && y < 246) {
    hit.kind = HitKind::LowerButton;
  } else if (x > w + 113 && x < w + 214 && y > 150 && y < 186) {
    hit.kind = HitKind::UpperButton;
  }
  return hit;
}

Rect CellRepaintRect(int column, int row) {
  return {kPitch * column - 4, kPitch * row + 21, kPitch * column + 27, kPitch * row + 52};
}

Rect BoardRepaintRect(int W, int H) { return {25, 50, kPitch * W + 27, kPitch * H + 52}; }

Rect BarRepaintRect(int W, int M) { return {BarX(W), 50, BarX(W) + 28, kPitch * M + 51}; }

Point NumberTileAtlas(TileStyle style, int n) {
  const int column = style == TileStyle::Hint ? 0 : style == TileStyle::Selected ? 1 : 2;
  if (n <= 20) return {28 * column, kPitch * (n - 1)};
  return {84 + 28 * column, kPitch * (n - 21)};
}

Point EmptyTileAtlas() { return {168, 351}; }

Point QuestionTileAtlas() { return {168, 324}; }

Region CellTileRegion(std::uint8_t number) {
  Point p;
  if (number == 0) {
    p = EmptyTileAtlas();
  } else if (number <= 40) {
    p = NumberTileAtlas(TileStyle::Hint, number);
  } else if (number >= 101 && number <= 140) {
    p = NumberTileAtlas(TileStyle::Placed, number - 100);
  } else {
    p = QuestionTileAtlas();
  }
  return {p.x, p.y, kTile, kTile};
}

Region TitleBannerRegion() { return {0, 541, 186, 21}; }

Region ButtonRegion(ButtonPicture picture) {
  return {168, kButtonHeight * static_cast<int>(picture), kButtonWidth, kButtonHeight};
}

Region CreationLabelRegion() { return {168, 211, kButtonWidth, kLabelHeight}; }

Region SolvingLabelRegion() { return {168, 234, kButtonWidth, kLabelHeight}; }

bool ButtonsForMode(int mode, ButtonPicture* lower, ButtonPicture* upper) {
  switch (mode) {
    case 0:
      *lower = ButtonPicture::ToSolving;
      *upper = ButtonPicture::ClearAll;
      return true;
    case 1:
      *lower = ButtonPicture::ToCreation;
      *upper = ButtonPicture::AutoSolve;
      return true;
    case 2:
      *lower = ButtonPicture::BackToStart;
      *upper = ButtonPicture::UndoOne;
      return true;
    case 3:
      *lower = ButtonPicture::BackToStart;
      *upper = ButtonPicture::ClearAll;
      return true;
    default:
      return false;
  }
}

}  // namespace numbloc::layout
