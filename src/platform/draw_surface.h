// The few drawing operations the board window and the printed page need,
// behind one interface so that drawing code never talks to QPainter itself
// and tests can record what was drawn.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTransform>

class QPainter;

namespace numbloc {

// A font by face, character-cell height (in the current units, as the
// printed page asks for it), weight (400 normal, 700 bold) and slant.
struct FontChoice {
  QString face;       // empty: the surface's default Japanese face
  int height = 16;    // character-cell height in current units
  int weight = 400;
  bool italic = false;
};

// Coordinates are integers in the current unit. Rectangles are given as
// left, top, right, bottom; in pixel units right and bottom are exclusive.
class DrawSurface {
 public:
  virtual ~DrawSurface() = default;

  // Units. Pixels: one unit per logical pixel, y downwards (the screen).
  // LoMetric: one unit is 0.1 mm, y upwards, origin at the top left of the
  // page's printable area; `scale` shrinks the whole page uniformly (1 = as is).
  virtual void SetPixelMapping() = 0;
  virtual void SetLoMetricMapping(double dpiX, double dpiY, double scale = 1.0) = 0;

  // Pens and brushes used by Rectangle and Line. A width of 0 means no pen.
  virtual void SetPen(const QColor& color, int width) = 0;
  virtual void SetBrush(const QColor& color) = 0;
  virtual void SetHollowBrush() = 0;

  // Outline with the pen (centred on the edge) and interior with the brush.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  // A line with the current pen; the end point itself is not drawn.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // Text is drawn with its top left corner at (x, y), opaque: the text
  // colour on the background colour.
  virtual void SetTextColor(const QColor& color) = 0;
  virtual void SetBackgroundColor(const QColor& color) = 0;
  virtual void SetFont(const FontChoice& font) = 0;
  virtual void SetDefaultFont() = 0;  // the surface's own 16-pixel Japanese face
  virtual void Text(int x, int y, const QString& text) = 0;

  // The tile atlas: SelectAtlas loads it for the copies that follow (false
  // when it cannot be loaded; the copies then draw nothing), ReleaseAtlas
  // drops it. CopyAtlas copies the w x h region at (sx, sy) unscaled to (dx, dy).
  virtual bool SelectAtlas() = 0;
  virtual void ReleaseAtlas() = 0;
  virtual void CopyAtlas(int dx, int dy, int sx, int sy, int w, int h) = 0;
};

// The resource path of the tile atlas built into the program, drawn at 1, 2
// or 3 device pixels per atlas pixel.
QString AtlasResourcePath(int scale = 1);

// Loads the built-in tile atlas (a null image when it is missing).
QImage LoadAtlasImage(int scale = 1);

// DrawSurface over a QPainter, which may paint on a widget, a QImage or a
// QPrinter. The painter's transform at construction (for example the scroll
// offset of a view) stays underneath every mapping.
class PainterSurface : public DrawSurface {
 public:
  // `sharpAtlas`: copy tiles from the atlas drawn for the device's pixel
  // density times the painter's scale (the screen, zoomed or not) instead
  // of enlarging the 1x one. The printed page keeps the 1x atlas.
  explicit PainterSurface(QPainter& painter, bool sharpAtlas = false);
  ~PainterSurface() override;

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

 private:
  // Fills the unit rectangle [x0, x1) x [y0, y1) in the current mapping.
  void FillUnits(double x0, double y0, double x1, double y1, const QColor& color);
  QFont MakeFont() const;

  QPainter& painter_;
  QTransform base_;
  bool lometric_ = false;
  double unitScale_ = 1.0;  // device pixels per unit, for fonts
  QColor penColor_ = Qt::black;
  int penWidth_ = 1;
  bool hollow_ = false;
  QColor brushColor_ = Qt::white;
  QColor textColor_ = Qt::black;
  QColor backgroundColor_ = Qt::white;
  FontChoice font_;
  bool defaultFont_ = true;
  bool sharpAtlas_ = false;
  QImage atlas_;
  int atlasScale_ = 1;  // device pixels per atlas pixel of atlas_
};

}  // namespace numbloc
