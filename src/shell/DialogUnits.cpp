#include "shell/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace varo::shell {

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics fm(font);
  const QString alphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  baseX_ = (fm.horizontalAdvance(alphabet) / 26 + 1) / 2;
  baseY_ = fm.height();
}

void DialogUnits::Place(QWidget* w, int x, int y, int width, int height) const {
  w->setGeometry(Rect(x, y, width, height));
}

void SetControlId(QWidget* widget, int id) {
  widget->setObjectName(QString::number(id));
  widget->setProperty("controlId", id);
}

int FocusedControlId(const QWidget* focus, int fallback) {
  // Parents are followed across windows: the open list of a drop-down box is
  // a popup window whose owner is the box.
  for (const QObject* o = focus; o; o = o->parent()) {
    const QVariant id = o->property("controlId");
    if (id.isValid()) return id.toInt();
  }
  return fallback;
}

}  // namespace varo::shell
