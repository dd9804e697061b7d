// Draws the tile atlas of the board window (number tiles, buttons, mode
// labels, title banner) and writes it as a 16-colour bitmap, at 1x for the
// ordinary screen and the printed page, or at 2x and 3x for high-density
// screens and zoom: the same picture with every pixel, line and glyph drawn
// at that many device pixels.
//
//   numbloc-atlas-gen OUT.bmp [SCALE]      (SCALE 1, 2 or 3; default 1)
//
// Everything is painted without anti-aliasing in the 16 palette colours;
// glyphs are rendered large-ish and thresholded so that they stay crisp.
// Coordinates below are those of the 1x atlas; the helpers scale them.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "view/layout.h"

namespace {

using numbloc::layout::ButtonPicture;
using numbloc::layout::Region;
using numbloc::layout::TileStyle;

// The standard 16 colours, in palette order.
const QRgb kPalette[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

int g_scale = 1;  // device pixels per atlas pixel

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kBlue(0, 0, 255), kRed(255, 0, 0),
    kCyan(0, 255, 255), kDarkGreen(0, 128, 0), kGreen(0, 255, 0), kYellow(255, 255, 0),
    kTeal(0, 128, 128), kNavy(0, 0, 128), kDarkRed(128, 0, 0), kOlive(128, 128, 0),
    kSilver(192, 192, 192);

QFont Gothic(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({"IPAGothic", QStringLiteral("IPAゴシック"), "IPAPGothic"});
  font.setPixelSize(pixelSize * g_scale);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// A run of text in one font, for captions that mix sizes.
struct Run {
  QString text;
  QFont font;
};

// Renders the runs side by side into a coverage mask (alpha 0..255), cropped
// to the ink.
QImage InkMask(const std::vector<Run>& runs) {
  QImage canvas(400 * g_scale, 120 * g_scale, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Qt::black);
    qreal x = 10 * g_scale;
    for (const Run& run : runs) {
      p.setFont(run.font);
      p.drawText(QPointF(x, 90 * g_scale), run.text);
      x += QFontMetricsF(run.font).horizontalAdvance(run.text);
    }
  }
  int left = canvas.width(), top = canvas.height(), right = -1, bottom = -1;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (qAlpha(canvas.pixel(x, y)) >= 110) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  if (right < 0) return QImage();
  return canvas.copy(left, top, right - left + 1, bottom - top + 1);
}

// Stamps the ink of `mask` in `color`, centred on the box (x, y, w, h).
void StampCentred(QImage& atlas, const QImage& mask, int x, int y, int w, int h,
                  const QColor& color, int dx = 0, int dy = 0) {
  if (mask.isNull()) return;
  const int k = g_scale;
  const int ox = x * k + (w * k - mask.width()) / 2 + dx * k;
  const int oy = y * k + (h * k - mask.height()) / 2 + dy * k;
  for (int my = 0; my < mask.height(); ++my)
    for (int mx = 0; mx < mask.width(); ++mx)
      if (qAlpha(mask.pixel(mx, my)) >= 110) atlas.setPixelColor(ox + mx, oy + my, color);
}

void Fill(QImage& atlas, int x, int y, int w, int h, const QColor& color) {
  const int k = g_scale;
  for (int j = y * k; j < (y + h) * k; ++j)
    for (int i = x * k; i < (x + w) * k; ++i) atlas.setPixelColor(i, j, color);
}

// A 28 x 28 tile: one-pixel black frame around `background`.
void Tile(QImage& atlas, int x, int y, const QColor& background) {
  Fill(atlas, x, y, 28, 28, kBlack);
  Fill(atlas, x + 1, y + 1, 26, 26, background);
}

QImage DigitsMask(int n) {
  // Two digits have to share the 26-pixel interior, so they are narrower.
  const QString text = QString::number(n);
  QFont font = Gothic(n < 10 ? 21 : 19, true);
  if (n >= 10) font.setStretch(88);
  return InkMask({{text, font}});
}

void NumberTiles(QImage& atlas) {
  struct Style {
    TileStyle style;
    QColor ink;
    QColor background;
  };
  const Style styles[] = {{TileStyle::Hint, kBlue, kWhite},
                          {TileStyle::Selected, kRed, kCyan},
                          {TileStyle::Placed, kDarkGreen, kWhite}};
  for (const Style& s : styles) {
    for (int n = 1; n <= 40; ++n) {
      const auto p = numbloc::layout::NumberTileAtlas(s.style, n);
      Tile(atlas, p.x, p.y, s.background);
    }
    // Digits after all frames: neighbouring tiles share a frame line, and a
    // later tile's frame must not cut into an earlier tile's digits.
    for (int n = 1; n <= 40; ++n) {
      const auto p = numbloc::layout::NumberTileAtlas(s.style, n);
      StampCentred(atlas, DigitsMask(n), p.x + 1, p.y + 1, 26, 26, s.ink);
    }
  }
}

// Rounded bar with a light upper-left edge and a darker lower-right rim.
void Button(QImage& atlas, const Region& r, const QColor& face, const QColor& rim,
            const std::vector<Run>& caption, const QColor& ink) {
  Fill(atlas, r.x, r.y, r.width, r.height, kTeal);
  // In device pixels: the bar inset by one atlas pixel, corners of radius 8,
  // edges one or two atlas pixels wide.
  const int k = g_scale;
  const int left = k, top = k, right = (r.width - 1) * k - 1, bottom = (r.height - 1) * k - 1;
  const double radius = 8.0 * k;
  auto inside = [&](int x, int y) {
    if (x < left || x > right || y < top || y > bottom) return false;
    const double cx = std::clamp(x + 0.5, left + radius, right + 1 - radius);
    const double cy = std::clamp(y + 0.5, top + radius, bottom + 1 - radius);
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= radius * radius;
  };
  for (int y = 0; y < r.height * k; ++y) {
    for (int x = 0; x < r.width * k; ++x) {
      if (!inside(x, y)) continue;
      QColor c = face;
      const bool lowerRight = !inside(x + k, y) || !inside(x, y + k) || !inside(x + 2 * k, y + k) ||
                              !inside(x + k, y + 2 * k) || !inside(x + 2 * k, y + 2 * k);
      const bool upperLeft = !inside(x - k, y) || !inside(x, y - k) || !inside(x - k, y - k);
      if (lowerRight && upperLeft) {
        // Where both edges meet (upper right, lower left corners) split
        // along the diagonal from the lower left to the upper right.
        c = (x - left) * (bottom - top) > (bottom - y) * (right - left) ? rim : kWhite;
      } else if (lowerRight) {
        c = rim;
      } else if (upperLeft) {
        c = kWhite;
      }
      atlas.setPixelColor(r.x * k + x, r.y * k + y, c);
    }
  }
  StampCentred(atlas, InkMask(caption), r.x + 2, r.y + 2, r.width - 4, r.height - 4, ink);
}

void Buttons(QImage& atlas) {
  using numbloc::layout::ButtonRegion;
  // Regular weight: synthetic bold fills in the strokes of dense kanji.
  const QFont big = Gothic(16, false);
  const QFont small = Gothic(12, false);
  Button(atlas, ButtonRegion(ButtonPicture::ToSolving), kBlue, kNavy,
         {{QStringLiteral("解答"), big}, {QStringLiteral("モードへ"), small}}, kWhite);
  Button(atlas, ButtonRegion(ButtonPicture::ToCreation), kBlue, kNavy,
         {{QStringLiteral("作成"), big}, {QStringLiteral("モードへ"), small}}, kWhite);
  Button(atlas, ButtonRegion(ButtonPicture::BackToStart), kGreen, kDarkGreen,
         {{QStringLiteral("最初に戻る"), big}}, kRed);
  Button(atlas, ButtonRegion(ButtonPicture::ClearAll), kRed, kDarkRed,
         {{QStringLiteral("全クリア"), big}}, kWhite);
  Button(atlas, ButtonRegion(ButtonPicture::UndoOne), kGreen, kDarkGreen,
         {{QStringLiteral("1つ戻る"), big}}, kBlack);
  Button(atlas, ButtonRegion(ButtonPicture::AutoSolve), kYellow, kOlive,
         {{QStringLiteral("自動解答"), big}}, kBlue);
}

// Paints with QPainter in palette colours, without anti-aliasing, into the
// box at (x, y).
void PaintAt(QImage& atlas, int x, int y, const std::function<void(QPainter&)>& paint) {
  QPainter p(&atlas);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.translate(x * g_scale, y * g_scale);
  p.scale(g_scale, g_scale);
  paint(p);
}

void QuestionIcon(QImage& atlas, int x, int y) {
  // A yellow disc with a dark question mark, 18 pixels across.
  PaintAt(atlas, x, y, [](QPainter& p) {
    p.setPen(kOlive);
    p.setBrush(kYellow);
    p.drawEllipse(0, 0, 17, 17);
  });
  StampCentred(atlas, InkMask({{QStringLiteral("?"), Gothic(15, true)}}), x, y, 18, 18, kNavy);
}

void PencilIcon(QImage& atlas, int x, int y) {
  // A red pencil lying from lower left to upper right: lead, wood, body, cap.
  PaintAt(atlas, x, y, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkRed);
    p.drawPolygon(QPolygon({QPoint(6, 17), QPoint(16, 7), QPoint(18, 9), QPoint(8, 19)}));
    p.setBrush(kRed);
    p.drawPolygon(QPolygon({QPoint(5, 15), QPoint(15, 5), QPoint(17, 7), QPoint(7, 17)}));
    p.setBrush(kWhite);
    p.drawPolygon(QPolygon({QPoint(15, 4), QPoint(17, 2), QPoint(20, 5), QPoint(18, 7)}));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygon({QPoint(5, 15), QPoint(7, 17), QPoint(8, 18), QPoint(1, 21),
                            QPoint(2, 19)}));
    p.setPen(kBlack);
    p.drawLine(1, 21, 2, 20);
    p.drawPoint(1, 20);
    p.drawPoint(2, 21);
  });
}

void Labels(QImage& atlas) {
  using namespace numbloc::layout;
  const Region creation = CreationLabelRegion(), solving = SolvingLabelRegion();
  // Black lines above, between and below the two labels.
  Fill(atlas, creation.x, creation.y - 1, creation.width, 1, kBlack);
  Fill(atlas, solving.x, solving.y - 1, solving.width, 1, kBlack);
  Fill(atlas, solving.x, solving.y + solving.height, solving.width, 1, kBlack);
  const QFont font = Gothic(15, false);
  Fill(atlas, creation.x, creation.y, creation.width, creation.height, kTeal);
  QuestionIcon(atlas, creation.x + 5, creation.y + 2);
  StampCentred(atlas, InkMask({{QStringLiteral("作成モード"), font}}), creation.x + 24,
               creation.y, creation.width - 25, creation.height, kWhite);
  Fill(atlas, solving.x, solving.y, solving.width, solving.height, kTeal);
  PencilIcon(atlas, solving.x + 3, solving.y);
  StampCentred(atlas, InkMask({{QStringLiteral("解答モード"), font}}), solving.x + 24,
               solving.y, solving.width - 25, solving.height, kWhite);
}

void SpecialTiles(QImage& atlas) {
  using namespace numbloc::layout;
  const auto question = QuestionTileAtlas();
  const auto empty = EmptyTileAtlas();
  Tile(atlas, question.x, question.y, kWhite);
  Tile(atlas, empty.x, empty.y, kWhite);
  StampCentred(atlas, InkMask({{QStringLiteral("?"), Gothic(21, true)}}), question.x + 1,
               question.y + 1, 26, 26, kDarkGreen);
}

void TitleBanner(QImage& atlas) {
  const Region r = numbloc::layout::TitleBannerRegion();
  Fill(atlas, r.x, r.y, r.width, r.height, kTeal);
  const QImage mask = InkMask({{QStringLiteral("簡易ナムブロック"), Gothic(18, true)}});
  // A navy drop shadow lifts the white title off the teal band.
  StampCentred(atlas, mask, r.x, r.y, r.width, r.height, kNavy, 1, 1);
  StampCentred(atlas, mask, r.x, r.y, r.width, r.height, kWhite);
}

int NearestPaletteIndex(QRgb rgb) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 16; ++i) {
    const long dr = qRed(rgb) - qRed(kPalette[i]);
    const long dg = qGreen(rgb) - qGreen(kPalette[i]);
    const long db = qBlue(rgb) - qBlue(kPalette[i]);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2 || argc > 3 || (argc == 3 && (std::atoi(argv[2]) < 1 || std::atoi(argv[2]) > 3))) {
    std::fprintf(stderr, "usage: numbloc-atlas-gen OUT.bmp [SCALE 1..3]\n");
    return 2;
  }
  g_scale = argc == 3 ? std::atoi(argv[2]) : 1;
  const int kAtlasWidth = numbloc::layout::kAtlasWidth * g_scale;
  const int kAtlasHeight = numbloc::layout::kAtlasHeight * g_scale;
  QImage atlas(kAtlasWidth, kAtlasHeight, QImage::Format_RGB32);
  atlas.fill(kSilver);
  NumberTiles(atlas);
  Buttons(atlas);
  Labels(atlas);
  SpecialTiles(atlas);
  TitleBanner(atlas);

  QImage indexed(kAtlasWidth, kAtlasHeight, QImage::Format_Indexed8);
  indexed.setColorTable(QList<QRgb>(std::begin(kPalette), std::end(kPalette)));
  for (int y = 0; y < kAtlasHeight; ++y)
    for (int x = 0; x < kAtlasWidth; ++x)
      indexed.setPixel(x, y, NearestPaletteIndex(atlas.pixel(x, y)));
  if (!indexed.save(QString::fromLocal8Bit(argv[1]), "BMP")) {
    std::fprintf(stderr, "numbloc-atlas-gen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
