// Geometry of the board window and of the tile atlas, as pure functions of
// the board size. Drawing, hit testing and the tests all use these, so a
// position is written down exactly once. No Qt here.
#pragma once

#include <array>
#include <cstdint>

namespace numbloc::layout {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// left, top, right, bottom; whether right and bottom are inclusive depends
// on the use (rectangle calls and repaint requests exclude them).
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A region of the atlas: top left corner and size.
struct Region {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Region&, const Region&) = default;
};

constexpr int kPitch = 27;      // cell and bar pitch
constexpr int kTile = 28;       // tiles overlap by their one-pixel frame line
constexpr int kBoardLeft = 25;  // canvas position of the board's top left
constexpr int kBoardTop = 50;
constexpr int kButtonWidth = 101;
constexpr int kButtonHeight = 35;
constexpr int kLabelHeight = 22;
constexpr int kUpperButtonY = 150;
constexpr int kLowerButtonY = 210;
constexpr int kLabelY = 90;
constexpr int kAtlasWidth = 272;
constexpr int kAtlasHeight = 566;
constexpr int kStripHeight = 541;  // 20 tiles at pitch 27 sharing frame lines

// Canvas positions. W, H, M: board width, height, MaxNumber.
Point CellOrigin(int column, int row);   // (27i - 2, 27j + 23)
int BarX(int W);                         // 27W + 58
Point BarEntryOrigin(int W, int n);      // top left of number n on the bar
Point MarkerOrigin(int W, int selected); // 27 x 27 marker over bar entry s
int PanelX(int W);                       // mode label and both buttons
Point TitleOrigin();
Point StatusOrigin();
constexpr int kConflictX[3] = {300, 320, 340};
Point VerdictOrigin(int W);              // the live verdict, under the mode label
Point ProgressOrigin(int W);             // the progress of a running job, under the buttons
constexpr int kProgressLineHeight = 20;
// A frame inside cell (column, row), `inset` pixels in from its tile's edge:
// the marks of differing cells, broken rules and the keyboard's cursor.
Rect CellMarkRect(int column, int row, int inset);
Rect FrameRect(int W, int H);            // the 4-pixel board frame

// The eleven teal rectangles painted around the pictures, in drawing order.
std::array<Rect, 11> BackgroundRects(int W, int H, int M);

// Outer size of the main window, scroll size at each layout step, and scroll
// size when the view is first shown.
Size FrameWindowSize(int W, int H);
Size ScrollSize(int W, int M);
Size InitialScrollSize(int W, int H);

// Where a press at canvas point (x, y) lands. Regions are open intervals and
// are tested in the order number bar, board, lower button, upper button.
enum class HitKind { None, NumberBar, Board, LowerButton, UpperButton };
struct Hit {
  HitKind kind = HitKind::None;
  int column = 0;  // board: 1..W
  int row = 0;     // board: 1..H
  int number = 0;  // number bar: 1..M
};
Hit HitTest(int W, int H, int M, int x, int y);

// Repaint rectangles in canvas coordinates, right and bottom exclusive.
Rect CellRepaintRect(int column, int row);
Rect BoardRepaintRect(int W, int H);
Rect BarRepaintRect(int W, int M);

// The atlas.
enum class TileStyle { Hint, Selected, Placed };
Point NumberTileAtlas(TileStyle style, int n);  // n = 1..40, 28 x 28
Region CellTileRegion(std::uint8_t number);     // tile for a cell's number byte
Point EmptyTileAtlas();
Point QuestionTileAtlas();
Region TitleBannerRegion();

enum class ButtonPicture {
  ToSolving,    // 解答モードへ
  ToCreation,   // 作成モードへ
  BackToStart,  // 最初に戻る
  ClearAll,     // 全クリア
  UndoOne,      // 1つ戻る
  AutoSolve,    // 自動解答
};
Region ButtonRegion(ButtonPicture picture);
Region CreationLabelRegion();
Region SolvingLabelRegion();

// The pictures of the lower and upper buttons for a Mode value; false for a
// Mode that shows no buttons.
bool ButtonsForMode(int mode, ButtonPicture* lower, ButtonPicture* upper);

}  // namespace numbloc::layout
