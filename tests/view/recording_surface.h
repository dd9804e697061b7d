// A DrawSurface that only remembers what was asked of it, in order, so that
// tests can check the drawing steps without looking at pixels.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "platform/draw_surface.h"

namespace numbloc {

struct DrawOp {
  enum Kind { PixelMapping, LoMetricMapping, Pen, Brush, HollowBrush, Rect, Line, TextColor,
              BackgroundColor, Font, DefaultFont, Text, SelectAtlas, ReleaseAtlas, Copy };
  DrawOp(Kind k, int a0 = 0, int b0 = 0, int c0 = 0, int d0 = 0, int e0 = 0, int f0 = 0)
      : kind(k), a(a0), b(b0), c(c0), d(d0), e(e0), f(f0) {}

  Kind kind;
  int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;  // coordinates in call order
  QColor color;                                  // pen, brush or text colour
  int width = 0;                                 // pen width; font height
  QString text;                                  // text, or the font face
  bool hollow = false;                           // brush at the time of a Rect
};

class RecordingSurface : public DrawSurface {
 public:
  std::vector<DrawOp> ops;

  // Ops of one kind, in order.
  std::vector<DrawOp> Of(DrawOp::Kind kind) const;

  void SetPixelMapping() override;
  void SetLoMetricMapping(double dpiX, double dpiY, double scale = 1.0) override;
  void SetPen(const QColor& color, int width) override;
  void SetBrush(const QColor& color) override;
  void SetHollowBrush() override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void SetTextColor(const QColor& color) override;
  void SetBackgroundColor(const QColor& color) override;
  void SetFont(const FontChoice& font) override;
  void SetDefaultFont() override;
  void Text(int x, int y, const QString& text) override;
  bool SelectAtlas() override;
  void ReleaseAtlas() override;
  void CopyAtlas(int dx, int dy, int sx, int sy, int w, int h) override;

  // Pen and brush currently in force, as the drawing calls see them.
  QColor penColor;
  int penWidth = 1;
  QColor brushColor = Qt::white;
  bool hollow = false;
  QColor textColor = Qt::black;
};

}  // namespace numbloc
