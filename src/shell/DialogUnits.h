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

// Gives `widget` its control id: the object name and the "controlId"
// property, which is also the help context number F1 opens.
void SetControlId(QWidget* widget, int id);

// The help context of a focused widget: the "controlId" property of the
// widget or of the nearest parent that has one, across popup windows;
// `fallback` when none has.
int FocusedControlId(const QWidget* focus, int fallback);

}  // namespace varo::shell
