#include "shell/BackgroundArea.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/ProgramFiles.h"
#include "shell/CChildFrame.h"
#include "shell/ShellIcons.h"

namespace varo::shell {

BackgroundArea::BackgroundArea(const std::string& programDir, QWidget* parent)
    : QMdiArea(parent), programDir_(programDir) {
  setObjectName(QStringLiteral("background"));
}

QPixmap BackgroundArea::LoadTile() const {
  QPixmap tile;
  if (auto path = FindFileNoCase(programDir_, "background.bmp")) {
    tile.load(QString::fromStdString(*path));
  }
  if (tile.isNull()) tile = QPixmap::fromImage(BuiltInBackground());
  return tile;
}

std::vector<QPoint> BackgroundArea::TilePositions(QSize area, QSize tile) {
  std::vector<QPoint> positions;
  if (tile.width() <= 0 || tile.height() <= 0) return positions;
  for (int col = 0; col <= area.width() / tile.width(); ++col) {
    for (int row = 0; row <= area.height() / tile.height(); ++row) {
      positions.emplace_back(col * tile.width(), row * tile.height());
    }
  }
  return positions;
}

void BackgroundArea::paintEvent(QPaintEvent* event) {
  // The picture is loaded for every paint, so a replaced file shows at once.
  const QPixmap tile = LoadTile();
  QPainter p(viewport());
  p.setClipRegion(event->region());
  for (const QPoint& at : TilePositions(viewport()->size(), tile.size())) p.drawPixmap(at, tile);
}

void BackgroundArea::resizeEvent(QResizeEvent* event) {
  QMdiArea::resizeEvent(event);
  viewport()->update();
  // Document windows fitted to their form fit the new room.
  for (QMdiSubWindow* window : subWindowList()) {
    if (auto* child = qobject_cast<CChildFrame*>(window)) child->RefitTo(viewport()->size());
  }
}

}  // namespace varo::shell
