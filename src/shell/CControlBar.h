#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace varo::shell {

// A dotted vertical line drawn over the main window while the control bar's
// splitter is dragged.
class GhostLine : public QWidget {
  Q_OBJECT

 public:
  explicit GhostLine(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The control bar at the left edge of the main window: a caption band with
// the company name and a close button, an etched panel holding the navigation
// tree, and a splitter strip at its right edge that resizes it.
class CControlBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCaptionHeight = 22;
  static constexpr int kInitialWidth = 220;
  static constexpr int kGhostMin = 80;
  static constexpr int kSplitterWidth = 6;

  // `frameClient` is the main window's client widget, over which the ghost
  // line is drawn and whose width limits the bar.
  CControlBar(const QString& caption, const QString& closeTip, QWidget* frameClient,
              QWidget* parent = nullptr);

  QTreeWidget* Tree() const { return tree_; }
  int BarWidth() const { return width_; }
  QString Caption() const { return caption_; }

  // Fills the tree: the company name as root, the three pages below it.
  void FillTree(const QString& root, const QStringList& children);

  // Geometry of the last paint, in bar coordinates.
  QRect PanelRect() const { return panel_; }
  QRect CloseButtonRect() const { return closeRect_; }
  QRect SplitterStrip() const;
  bool IsResizing() const { return resizing_; }
  // x of the ghost line in bar coordinates, or -1 when none is drawn.
  int GhostX() const { return ghostX_; }

  QSize sizeHint() const override;

 signals:
  // A page of the tree was chosen, with the item's text: by a click, the
  // item under the mouse pointer; by the keyboard (Enter, Return or Space),
  // the current item, which the arrow keys move without choosing anything.
  void pageChosen(const QString& label);
  void closeClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ComputeGeometry();
  void LayoutTree();
  int HalfFrameWidth() const;
  void DrawGhost(int x);
  void RemoveGhost();
  void OnTreeSelectionChanged();

  QString caption_;
  QString closeTip_;
  QWidget* frameClient_;
  QFont font_;
  QTreeWidget* tree_ = nullptr;
  GhostLine* ghost_ = nullptr;
  int width_ = kInitialWidth;
  QRect panel_;
  QRect closeRect_;
  bool resizing_ = false;
  int ghostX_ = -1;
  bool held_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  QPoint treeMouse_{-1, -1};
  bool treeMouseInside_ = false;
  bool reselecting_ = false;
};

}  // namespace varo::shell
