#pragma once

#include <QMdiArea>
#include <QPixmap>

namespace varo::shell {

// The client area of the main window, where document windows live; a
// window fitted to its form is fitted again when the area changes size. Its
// background is "background.bmp" from the program directory, tiled from the
// top-left corner; when that file cannot be loaded, the built-in picture.
class BackgroundArea : public QMdiArea {
  Q_OBJECT

 public:
  explicit BackgroundArea(const std::string& programDir, QWidget* parent = nullptr);

  // The picture in use, loaded afresh, as every paint does.
  QPixmap LoadTile() const;
  // Top-left corners of the tiles that cover an area of `size`: columns 0 to
  // width / tile width and rows 0 to height / tile height, both inclusive.
  static std::vector<QPoint> TilePositions(QSize area, QSize tile);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string programDir_;
};

}  // namespace varo::shell
