// DrawSurface over QPainter: integer rectangles and axis-parallel lines are
// filled as pixel bands so that pen widths land on the same pixels every
// time; text is drawn unflipped even when the page runs y upwards.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/draw_surface.h"

namespace numbloc {

namespace {

// Installed Japanese faces, best first; the first present one wins.
const QStringList kGothicFaces = {"IPAGothic", QStringLiteral("IPAゴシック"), "IPAPGothic",
                                  "Noto Sans CJK JP"};

// Whether the family has a bold style of its own (otherwise bold is made up).
bool HasBoldFace(const QString& family) {
  for (const QString& style : QFontDatabase::styles(family))
    if (QFontDatabase::weight(family, style) >= QFont::DemiBold) return true;
  return false;
}

}  // namespace

QString AtlasResourcePath(int scale) {
  return scale <= 1 ? QStringLiteral(":/numbloc/atlas.bmp")
                    : QStringLiteral(":/numbloc/atlas@%1x.bmp").arg(std::min(scale, 3));
}

QImage LoadAtlasImage(int scale) {
  QImage image(AtlasResourcePath(scale));
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

PainterSurface::PainterSurface(QPainter& painter, bool sharpAtlas)
    : painter_(painter), sharpAtlas_(sharpAtlas) {
  painter_.save();
  base_ = painter_.worldTransform();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

PainterSurface::~PainterSurface() { painter_.restore(); }

void PainterSurface::SetPixelMapping() {
  lometric_ = false;
  unitScale_ = 1.0;
  painter_.setWorldTransform(base_);
}

void PainterSurface::SetLoMetricMapping(double dpiX, double dpiY, double scale) {
  lometric_ = true;
  unitScale_ = dpiY / 254.0 * scale;
  painter_.setWorldTransform(QTransform::fromScale(dpiX / 254.0 * scale, -dpiY / 254.0 * scale) *
                             base_);
}

void PainterSurface::SetPen(const QColor& color, int width) {
  penColor_ = color;
  penWidth_ = std::max(width, 0);
}

void PainterSurface::SetBrush(const QColor& color) {
  hollow_ = false;
  brushColor_ = color;
}

void PainterSurface::SetHollowBrush() { hollow_ = true; }

void PainterSurface::FillUnits(double x0, double y0, double x1, double y1, const QColor& color) {
  QRectF rect(QPointF(std::min(x0, x1), std::min(y0, y1)), QPointF(std::max(x0, x1), std::max(y0, y1)));
  if (rect.isEmpty()) return;
  painter_.fillRect(rect, color);
}

void PainterSurface::Rectangle(int left, int top, int right, int bottom) {
  // On the screen the right and bottom edges are exclusive, so the outline
  // runs along the last pixel inside; on paper the edges are the lines.
  const int inset = lometric_ ? 0 : 1;
  if (!hollow_) FillUnits(left, top, right, bottom, brushColor_);
  if (penWidth_ == 0) return;
  const int w = penWidth_;
  const int half = w / 2;
  const int x0 = std::min(left, right), x1 = std::max(left, right) - inset;
  const int y0 = std::min(top, bottom), y1 = std::max(top, bottom) - inset;
  FillUnits(x0 - half, y0 - half, x1 - half + w, y0 - half + w, penColor_);  // top
  FillUnits(x0 - half, y1 - half, x1 - half + w, y1 - half + w, penColor_);  // bottom
  FillUnits(x0 - half, y0 - half, x0 - half + w, y1 - half + w, penColor_);  // left
  FillUnits(x1 - half, y0 - half, x1 - half + w, y1 - half + w, penColor_);  // right
}

void PainterSurface::Line(int x1, int y1, int x2, int y2) {
  if (penWidth_ == 0) return;
  const int w = penWidth_;
  const int half = w / 2;
  const int inset = lometric_ ? 0 : 1;  // the end point is not drawn on the screen
  if (y1 == y2) {
    const int a = std::min(x1, x2), b = std::max(x1, x2) - inset;
    FillUnits(a - half, y1 - half, b - half + w, y1 - half + w, penColor_);
  } else if (x1 == x2) {
    const int a = std::min(y1, y2), b = std::max(y1, y2) - inset;
    FillUnits(x1 - half, a - half, x1 - half + w, b - half + w, penColor_);
  } else {
    QPen pen(penColor_, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter_.save();
    painter_.setPen(pen);
    painter_.drawLine(x1, y1, x2, y2);
    painter_.restore();
  }
}

void PainterSurface::SetTextColor(const QColor& color) { textColor_ = color; }

void PainterSurface::SetBackgroundColor(const QColor& color) { backgroundColor_ = color; }

void PainterSurface::SetFont(const FontChoice& font) {
  font_ = font;
  defaultFont_ = false;
}

void PainterSurface::SetDefaultFont() {
  font_ = FontChoice{};
  defaultFont_ = true;
}

QFont PainterSurface::MakeFont() const {
  QFont font;
  QStringList families;
  if (!font_.face.isEmpty()) families << font_.face;
  families << kGothicFaces;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(font_.weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(font_.italic);
  // The requested height is the character cell (ascent plus descent), so
  // fit the pixel size to what the face really measures.
  const double target = std::max(1.0, font_.height * unitScale_);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(target))));
  const int measured = QFontMetrics(font).height();
  if (measured > 0 && measured != static_cast<int>(std::lround(target))) {
    const double fitted = font.pixelSize() * target / measured;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(fitted))));
  }
  return font;
}

void PainterSurface::Text(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  // Map the anchor to device pixels and draw there with the world transform
  // reset: a page that runs y upwards would otherwise mirror the glyphs.
  const QPointF anchor = painter_.worldTransform().map(QPointF(x, y));
  QFont font = MakeFont();
  // A face without a bold of its own is thickened by the raster font engine,
  // but the PDF writer only strikes its glyphs twice a hair apart, which
  // leaves them nearly regular on paper. There the regular glyphs get their
  // outline stroked instead, widening them as much as the raster engine
  // does: a 24th of the em in all.
  const QPaintEngine* engine = painter_.paintEngine();
  const bool strokeBold = font_.weight >= 600 && engine != nullptr &&
                          engine->type() == QPaintEngine::Pdf &&
                          !HasBoldFace(QFontInfo(font).family());
  if (strokeBold) font.setWeight(QFont::Normal);
  const QFontMetrics metrics(font);
  painter_.save();
  painter_.resetTransform();
  painter_.setFont(font);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  const QRectF box(anchor, QSizeF(metrics.horizontalAdvance(text), metrics.height()));
  painter_.fillRect(box, backgroundColor_);
  painter_.setPen(textColor_);
  painter_.setBackgroundMode(Qt::TransparentMode);
  const QPointF baseline(anchor.x(), anchor.y() + metrics.ascent());
  painter_.drawText(baseline, text);
  if (strokeBold) {
    QPainterPath outline;
    outline.addText(baseline, font, text);
    painter_.strokePath(outline, QPen(textColor_, font.pixelSize() / 24.0, Qt::SolidLine,
                                      Qt::RoundCap, Qt::RoundJoin));
  }
  painter_.restore();
}

bool PainterSurface::SelectAtlas() {
  atlasScale_ = 1;
  if (sharpAtlas_) {
    // The smallest atlas at least as dense as the device, up to 3x.
    const double dpr = painter_.device() ? painter_.device()->devicePixelRatioF() : 1.0;
    const double density = dpr * std::abs(painter_.worldTransform().m11());
    atlasScale_ = density <= 1.01 ? 1 : density <= 2.01 ? 2 : 3;
  }
  atlas_ = LoadAtlasImage(atlasScale_);
  return !atlas_.isNull();
}

void PainterSurface::ReleaseAtlas() { atlas_ = QImage(); }

void PainterSurface::CopyAtlas(int dx, int dy, int sx, int sy, int w, int h) {
  if (atlas_.isNull() || w <= 0 || h <= 0) return;
  if (atlasScale_ == 1) {
    painter_.drawImage(QPoint(dx, dy), atlas_, QRect(sx, sy, w, h));
    return;
  }
  // Between the atlas densities (1.5, 2.5) the denser one is scaled down
  // smoothly; at 2 and 3 it lands pixel for pixel.
  const int k = atlasScale_;
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter_.drawImage(QRectF(dx, dy, w, h), atlas_, QRectF(sx * k, sy * k, w * k, h * k));
  painter_.restore();
}

}  // namespace numbloc
