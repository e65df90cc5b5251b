#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace varo::shell {

// Dialog templates give positions in dialog units: a quarter of the average
// character width across and an eighth of the character height down, so a
// dialog grows with its font. This converts them for a widget's font.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int du) const { return (du * baseX_ + 2) / 4; }
  int Y(int du) const { return (du * baseY_ + 4) / 8; }
  QRect Rect(int x, int y, int w, int h) const { return {X(x), Y(y), X(w), Y(h)}; }

  // Places `w` at the template rectangle.
  void Place(QWidget* w, int x, int y, int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

}  // namespace varo::shell
