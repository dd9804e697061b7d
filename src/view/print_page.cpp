// The printed page of the board and its fit to the paper.
#include "view/print_page.h"

#include <QColor>
#include <QString>
#include <algorithm>

#include "platform/draw_surface.h"
#include "view/board_drawing.h"

namespace numbloc {
namespace {

const QString kTitle = QStringLiteral("簡易ナムブロック");
const QString kMinchoFace = QStringLiteral("IPAMincho");
constexpr int kThinPen = 1;
constexpr int kThickPen = 8;
constexpr int kTitleX = 200;
constexpr int kTitleY = -150;
constexpr int kTitleHeight = 100;
// The title is eight full-width characters of one em each, plus the lean of
// the italic face.
constexpr int kTitleRight = kTitleX + 8 * kTitleHeight + kTitleHeight / 4;

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kHintBlue(0, 0, 255);
const QColor kPlacedGreen(0, 128, 0);

void DrawCellNumber(DrawSurface& surface, int number, int xl, int textY, int c) {
  int n = 0;
  if (number >= 1 && number <= 40) {
    surface.SetTextColor(kHintBlue);
    n = number;
  } else if (number >= 101 && number <= 140) {
    surface.SetTextColor(kPlacedGreen);
    n = number - 100;
  } else {
    return;
  }
  if (n <= 9) {
    surface.Text(xl + c / 3, textY, QString::number(n));
  } else {
    surface.Text(xl + c / 10, textY, QString::number(n / 10));
    surface.Text(xl + c / 2, textY, QString::number(n % 10));
  }
}

}  // namespace

int PrintCellSize(int boardHeight) { return boardHeight <= 31 ? 75 : 50; }

QSizeF PrintedExtent(const BoardState& state) {
  const int c = PrintCellSize(state.BoardHeight);
  const int right = 100 + (state.BoardWidth + 1) * c + kThickPen / 2;
  const int bottom = 300 + (state.BoardHeight + 1) * c + kThickPen / 2;
  return QSizeF(std::max(right, kTitleRight), std::max(bottom, -kTitleY + kTitleHeight));
}

double PrintScale(const BoardState& state, const QSizeF& printable) {
  const QSizeF extent = PrintedExtent(state);
  if (printable.width() <= 0 || printable.height() <= 0) return 1.0;
  const double scale = std::min(printable.width() / extent.width(),
                                printable.height() / extent.height());
  return scale < 1.0 ? scale : 1.0;
}

void OnPrint(const BoardState& state, DrawSurface& surface, double dpiX, double dpiY,
             const QSizeF& printable) {
  const int W = state.BoardWidth;
  const int H = state.BoardHeight;
  surface.SetLoMetricMapping(dpiX, dpiY, PrintScale(state, printable));
  surface.SetBackgroundColor(kWhite);
  surface.SetBrush(kWhite);

  surface.SetFont(FontChoice{kMinchoFace, kTitleHeight, 400, true});
  surface.SetTextColor(kBlack);
  surface.Text(kTitleX, kTitleY, kTitle);

  const int c = PrintCellSize(H);
  const int numberHeight = c == 75 ? 60 : 40;

  surface.SetPen(kBlack, kThickPen);
  surface.Rectangle(100 + c, -(300 + c), 100 + (W + 1) * c, -(300 + (H + 1) * c));

  // The loops stay inside the board array even for sizes a damaged state
  // might hold; the reader never lets those through.
  const int columns = std::min(W, kBoardColumns - 2);
  const int rows = std::min(H, kBoardRows - 2);
  for (int i = 1; i <= columns; ++i) {
    for (int j = 1; j <= rows; ++j) {
      const int xl = 100 + i * c;
      const int xr = xl + c;
      const int yt = -(300 + j * c);
      const int yb = yt - c;
      const Cell& cell = state.Board[i][j];

      surface.SetPen(kBlack, kThinPen);
      surface.Rectangle(xl, yt, xr, yb);

      surface.SetFont(FontChoice{kMinchoFace, numberHeight, 700, false});
      DrawCellNumber(surface, cell.number, xl, yt - c / 10, c);

      surface.SetPen(kBlack, kThickPen);
      // The same block-outline rule as the board window.
      if (DrawsTopSegment(state, i, j)) surface.Line(xl, yt, xr, yt);
      if (DrawsLeftSegment(state, i, j)) surface.Line(xl, yt, xl, yb);
    }
  }
}

}  // namespace numbloc
