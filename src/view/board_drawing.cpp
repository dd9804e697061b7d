// Paints the board window from the board state. Every picture is a copy
// from the tile atlas; only the status line is text.
#include "view/board_drawing.h"

#include <QColor>
#include <QString>

#include "platform/draw_surface.h"
#include "view/layout.h"

namespace numbloc {

namespace {

const QColor kTeal(0, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kMarkRed(230, 0, 0);
const QColor kWarnOrange(255, 140, 0);
const QColor kCursorPurple(160, 0, 200);
constexpr int kStatusWidth = 22;  // characters of the status line, counting full-width padding

// The four conditions of the outline rule for a cell and its neighbour N
// (above or to the left).
bool DrawsSegment(const Cell& cell, const Cell& neighbour) {
  const int own = Reduced(cell.number);
  const int other = Reduced(neighbour.number);
  if (cell.number == 0) return neighbour.complete == 1;
  if (other == 0) return cell.complete == 1;
  if (other != own) return true;
  return neighbour.complete != cell.complete;
}

void Copy(DrawSurface& surface, layout::Point to, layout::Region from) {
  surface.CopyAtlas(to.x, to.y, from.x, from.y, from.width, from.height);
}

void DrawStatusLine(const BoardState& state, const QString& replacement, DrawSurface& surface) {
  surface.SetTextColor(kYellow);
  const layout::Point at = layout::StatusOrigin();
  if (!replacement.isEmpty()) {
    // Padded like the messages, so that the line is painted over whole.
    QString text = replacement;
    while (text.size() < kStatusWidth) text += QChar(0x3000);
    surface.Text(at.x, at.y, text);
    return;
  }
  const char* message = StatusMessageFor(state.SolverStatus);
  if (message == nullptr) return;
  surface.Text(at.x, at.y, QString::fromUtf8(message));
  if (state.SolverStatus != kStatusContradiction) return;
  // Column, row and number of the placement that overfilled a block, in
  // decimal (a damaged file may bring any value).
  const std::int32_t values[3] = {state.ConflictColumn, state.ConflictRow, state.ConflictNumber};
  for (int k = 0; k < 3; ++k) surface.Text(layout::kConflictX[k], at.y, QString::number(values[k]));
}

// A frame in each marked cell, `inset` pixels inside its tile.
void DrawCellMarks(const BoardState& state, const std::bitset<kMaxWidth * kMaxHeight>& cells,
                   const QColor& color, int inset, DrawSurface& surface) {
  if (cells.none()) return;
  const int W = state.BoardWidth, H = state.BoardHeight;
  surface.SetPen(color, 3);
  surface.SetHollowBrush();
  for (int y = 1; y <= H; ++y) {
    for (int x = 1; x <= W; ++x) {
      if (!cells.test((y - 1) * W + (x - 1))) continue;
      const layout::Rect r = layout::CellMarkRect(x, y, inset);
      surface.Rectangle(r.left, r.top, r.right, r.bottom);
    }
  }
}

void DrawOverlay(const BoardState& state, const BoardOverlay& overlay, DrawSurface& surface) {
  const int W = state.BoardWidth, H = state.BoardHeight;
  DrawCellMarks(state, overlay.warnings, kWarnOrange, 2, surface);
  DrawCellMarks(state, overlay.differs, kMarkRed, 6, surface);
  if (overlay.cursorColumn >= 1 && overlay.cursorColumn <= W && overlay.cursorRow >= 1 &&
      overlay.cursorRow <= H) {
    std::bitset<kMaxWidth * kMaxHeight> cursor;
    cursor.set((overlay.cursorRow - 1) * W + (overlay.cursorColumn - 1));
    DrawCellMarks(state, cursor, kCursorPurple, 0, surface);
  }
  surface.SetTextColor(kWhite);
  if (!overlay.verdict.isEmpty()) {
    const layout::Point at = layout::VerdictOrigin(W);
    surface.Text(at.x, at.y, overlay.verdict);
  }
  const layout::Point at = layout::ProgressOrigin(W);
  for (int i = 0; i < 2; ++i) {
    if (!overlay.progress[i].isEmpty()) {
      surface.Text(at.x, at.y + i * layout::kProgressLineHeight, overlay.progress[i]);
    }
  }
}

void DrawCells(const BoardState& state, DrawSurface& surface) {
  for (int i = 1; i <= state.BoardWidth; ++i) {
    for (int j = 1; j <= state.BoardHeight; ++j) {
      const layout::Point at = layout::CellOrigin(i, j);
      Copy(surface, at, layout::CellTileRegion(state.Board[i][j].number));
      surface.SetPen(kBlack, 4);
      if (DrawsTopSegment(state, i, j)) surface.Line(at.x, at.y, at.x + 26, at.y);
      if (DrawsLeftSegment(state, i, j)) surface.Line(at.x, at.y, at.x, at.y + 26);
      surface.SetPen(kTeal, 2);
    }
  }
}

void DrawNumberBar(const BoardState& state, DrawSurface& surface) {
  const int W = state.BoardWidth;
  const int M = state.MaxNumber;
  const bool hintStyle = state.Mode == Creation;
  const layout::TileStyle style = hintStyle ? layout::TileStyle::Hint : layout::TileStyle::Placed;
  const int lowX = layout::NumberTileAtlas(style, 1).x;
  const int highX = layout::NumberTileAtlas(style, 21).x;
  const int x = layout::BarX(W);
  if (M <= 20) {
    if (M > 0) surface.CopyAtlas(x, 50, lowX, 0, layout::kTile, layout::kPitch * M + 1);
  } else {
    surface.CopyAtlas(x, 50, lowX, 0, layout::kTile, layout::kStripHeight);
    surface.CopyAtlas(x, 590, highX, 0, layout::kTile, layout::kPitch * M - 539);
  }
  const int s = state.SelectedNumber;
  if (s >= 1 && s <= kMaxCellNumber) {
    const layout::Point from = layout::NumberTileAtlas(layout::TileStyle::Selected, s);
    const layout::Point to = layout::MarkerOrigin(W, s);
    surface.CopyAtlas(to.x, to.y, from.x, from.y, layout::kPitch, layout::kPitch);
  }
}

void DrawPanel(const BoardState& state, DrawSurface& surface) {
  const int x = layout::PanelX(state.BoardWidth);
  layout::ButtonPicture lower, upper;
  if (layout::ButtonsForMode(state.Mode, &lower, &upper)) {
    Copy(surface, {x, layout::kLowerButtonY}, layout::ButtonRegion(lower));
    Copy(surface, {x, layout::kUpperButtonY}, layout::ButtonRegion(upper));
  }
  Copy(surface, {x, layout::kLabelY},
       state.Mode == Creation ? layout::CreationLabelRegion() : layout::SolvingLabelRegion());
}

}  // namespace

bool DrawsTopSegment(const BoardState& state, int i, int j) {
  return DrawsSegment(state.Board[i][j], state.Board[i][j - 1]);
}

bool DrawsLeftSegment(const BoardState& state, int i, int j) {
  return DrawsSegment(state.Board[i][j], state.Board[i - 1][j]);
}

void DrawBoardWindow(const BoardState& state, DrawSurface& surface, const BoardOverlay& overlay) {
  const int W = state.BoardWidth, H = state.BoardHeight, M = state.MaxNumber;

  surface.SetPen(kTeal, 2);
  surface.SetBrush(kTeal);
  for (const layout::Rect& r : layout::BackgroundRects(W, H, M))
    surface.Rectangle(r.left, r.top, r.right, r.bottom);

  surface.SelectAtlas();
  Copy(surface, layout::TitleOrigin(), layout::TitleBannerRegion());
  DrawStatusLine(state, overlay.statusText, surface);

  surface.SetHollowBrush();
  DrawCells(state, surface);

  const layout::Rect frame = layout::FrameRect(W, H);
  surface.SetPen(kBlack, 4);
  surface.Rectangle(frame.left, frame.top, frame.right, frame.bottom);
  surface.SetPen(kTeal, 2);
  surface.SetBrush(kTeal);

  DrawNumberBar(state, surface);
  DrawPanel(state, surface);
  surface.ReleaseAtlas();
  if (!overlay.Empty()) DrawOverlay(state, overlay, surface);
}

}  // namespace numbloc
