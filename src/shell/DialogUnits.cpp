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

}  // namespace varo::shell
