// Dialog layouts are given in dialog units, which scale with the dialog's
// font: a horizontal unit is a quarter of the font's average character
// width, a vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace numbloc {

// The dialogs' face at 9 points: a proportional Japanese gothic.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int w, int h) const { return {X(x), Y(y), X(w), Y(h)}; }
  QSize Size(int w, int h) const { return {X(w), Y(h)}; }

 private:
  int baseX_;
  int baseY_;
};

}  // namespace numbloc
