// Records drawing calls for tests.
#include "recording_surface.h"

namespace numbloc {

std::vector<DrawOp> RecordingSurface::Of(DrawOp::Kind kind) const {
  std::vector<DrawOp> result;
  for (const DrawOp& op : ops)
    if (op.kind == kind) result.push_back(op);
  return result;
}

void RecordingSurface::SetPixelMapping() { ops.push_back(DrawOp(DrawOp::PixelMapping)); }

void RecordingSurface::SetLoMetricMapping(double dpiX, double dpiY, double scale) {
  DrawOp op(DrawOp::LoMetricMapping);
  op.a = static_cast<int>(dpiX);
  op.b = static_cast<int>(dpiY);
  op.c = static_cast<int>(scale * 1000);
  ops.push_back(op);
}

void RecordingSurface::SetPen(const QColor& color, int width) {
  penColor = color;
  penWidth = width;
  DrawOp op(DrawOp::Pen);
  op.color = color;
  op.width = width;
  ops.push_back(op);
}

void RecordingSurface::SetBrush(const QColor& color) {
  brushColor = color;
  hollow = false;
  DrawOp op(DrawOp::Brush);
  op.color = color;
  ops.push_back(op);
}

void RecordingSurface::SetHollowBrush() {
  hollow = true;
  ops.push_back(DrawOp(DrawOp::HollowBrush));
}

void RecordingSurface::Rectangle(int left, int top, int right, int bottom) {
  DrawOp op(DrawOp::Rect, left, top, right, bottom);
  op.color = penColor;
  op.width = penWidth;
  op.hollow = hollow;
  ops.push_back(op);
}

void RecordingSurface::Line(int x1, int y1, int x2, int y2) {
  DrawOp op(DrawOp::Line, x1, y1, x2, y2);
  op.color = penColor;
  op.width = penWidth;
  ops.push_back(op);
}

void RecordingSurface::SetTextColor(const QColor& color) {
  textColor = color;
  DrawOp op(DrawOp::TextColor);
  op.color = color;
  ops.push_back(op);
}

void RecordingSurface::SetBackgroundColor(const QColor& color) {
  DrawOp op(DrawOp::BackgroundColor);
  op.color = color;
  ops.push_back(op);
}

void RecordingSurface::SetFont(const FontChoice& font) {
  DrawOp op(DrawOp::Font);
  op.text = font.face;
  op.width = font.height;
  op.a = font.weight;
  op.b = font.italic ? 1 : 0;
  ops.push_back(op);
}

void RecordingSurface::SetDefaultFont() { ops.push_back(DrawOp(DrawOp::DefaultFont)); }

void RecordingSurface::Text(int x, int y, const QString& text) {
  DrawOp op(DrawOp::Text, x, y);
  op.color = textColor;
  op.text = text;
  ops.push_back(op);
}

bool RecordingSurface::SelectAtlas() {
  ops.push_back(DrawOp(DrawOp::SelectAtlas));
  return true;
}

void RecordingSurface::ReleaseAtlas() { ops.push_back(DrawOp(DrawOp::ReleaseAtlas)); }

void RecordingSurface::CopyAtlas(int dx, int dy, int sx, int sy, int w, int h) {
  ops.push_back(DrawOp(DrawOp::Copy, dx, dy, sx, sy, w, h));
}

}  // namespace numbloc
