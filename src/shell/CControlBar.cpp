#include "shell/CControlBar.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QTreeWidget>
#include <qdrawutil.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "shell/CommandIds.h"
#include "shell/ShellIcons.h"

namespace varo::shell {

namespace {

// The navigation tree. A click chooses a page by changing the selection (see
// OnTreeSelectionChanged), so the keyboard must not select: the arrow keys,
// Home, End and typed letters move only the current item, and Enter, Return,
// Space or Select chooses the current item's page as a click would.
class NavigationTree : public QTreeWidget {
 public:
  NavigationTree(QWidget* parent, std::function<void(QTreeWidgetItem*)> choose)
      : QTreeWidget(parent), choose_(std::move(choose)) {}

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override {
    if (event && event->type() == QEvent::KeyPress) return QItemSelectionModel::NoUpdate;
    return QTreeWidget::selectionCommand(index, event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    const bool choose = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
                        key == Qt::Key_Select;
    if (choose && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      if (QTreeWidgetItem* item = currentItem()) choose_(item);
      event->accept();
      return;
    }
    QTreeWidget::keyPressEvent(event);
  }

  void keyboardSearch(const QString& search) override {
    // In single selection the search selects what it finds; without a
    // selection mode it moves the current item only.
    setSelectionMode(NoSelection);
    QTreeWidget::keyboardSearch(search);
    setSelectionMode(SingleSelection);
  }

 private:
  std::function<void(QTreeWidgetItem*)> choose_;
};

}  // namespace

GhostLine::GhostLine(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFixedWidth(2);
  hide();
}

void GhostLine::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QBrush(Qt::darkGray, Qt::Dense4Pattern));
}

CControlBar::CControlBar(const QString& caption, const QString& closeTip, QWidget* frameClient,
                         QWidget* parent)
    : QWidget(parent), caption_(caption), closeTip_(closeTip), frameClient_(frameClient) {
  setObjectName(QStringLiteral("IE Control Bar"));
  setWindowTitle(QStringLiteral("IE Control Bar"));
  setProperty("controlId", IDC_CONTROL_BAR);
  setMouseTracking(true);
  setFixedWidth(width_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

  // The face name has always been spelled this way; the font system falls
  // back to its serif face, and to a CJK face for Chinese text.
  font_.setFamilies({QStringLiteral("Time New Roman"), QStringLiteral("Times New Roman"),
                     QStringLiteral("serif")});
  font_.setPixelSize(14);
  font_.setWeight(QFont::Normal);
  setFont(font_);

  tree_ = new NavigationTree(this, [this](QTreeWidgetItem* item) {
    if (!item->text(0).isEmpty()) emit pageChosen(item->text(0));
  });
  tree_->setObjectName(QStringLiteral("navigationTree"));
  tree_->setProperty("controlId", IDC_NAV_TREE);
  tree_->setFont(font_);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  tree_->setItemsExpandable(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->viewport()->setMouseTracking(true);
  tree_->viewport()->installEventFilter(this);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this,
          &CControlBar::OnTreeSelectionChanged);

  ghost_ = new GhostLine(frameClient_);
}

QSize CControlBar::sizeHint() const { return {width_, 200}; }

void CControlBar::FillTree(const QString& root, const QStringList& children) {
  reselecting_ = true;
  tree_->clear();
  auto* rootItem = new QTreeWidgetItem(tree_, QStringList{root});
  for (const QString& text : children) new QTreeWidgetItem(rootItem, QStringList{text});
  rootItem->setExpanded(true);
  tree_->setCurrentItem(rootItem);
  reselecting_ = false;
}

void CControlBar::ComputeGeometry() {
  // The etched panel leaves room for the splitter strip at the right and an
  // empty band at the bottom.
  const QRect frame = rect().adjusted(3, 6, -6, -49);
  panel_ = frame.adjusted(1, 1, 0, 0);
  closeRect_ = QRect(panel_.right() - 20, panel_.top() + 4, 16, 15);
}

QRect CControlBar::SplitterStrip() const {
  return QRect(panel_.right() + 1, panel_.top(), kSplitterWidth, panel_.height());
}

void CControlBar::LayoutTree() {
  tree_->setGeometry(5, kCaptionHeight + 9, width_ - 13, height() - kCaptionHeight - 60);
}

void CControlBar::resizeEvent(QResizeEvent*) {
  ComputeGeometry();
  LayoutTree();
}

void CControlBar::paintEvent(QPaintEvent*) {
  ComputeGeometry();
  QPainter p(this);
  const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
  const QRect frame = rect().adjusted(3, 6, -6, -49);

  // Etched frame: grey outline, white lines just inside its top-left and
  // along its bottom-right.
  p.setPen(grey);
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.drawLine(frame.left() + 1, frame.top() + 1, frame.left() + 1, frame.bottom() - 1);
  p.drawLine(frame.left() + 1, frame.top() + 1, frame.right() - 1, frame.top() + 1);
  p.drawLine(frame.right() + 1, frame.top(), frame.right() + 1, frame.bottom() + 1);
  p.drawLine(frame.left(), frame.bottom() + 1, frame.right() + 1, frame.bottom() + 1);

  // Caption band.
  p.setFont(font_);
  p.setPen(palette().color(QPalette::WindowText));
  const QRect band(panel_.left() + 5, panel_.top(), panel_.width() - 30, kCaptionHeight);
  p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
  p.setPen(grey);
  p.drawLine(panel_.left() + 1, panel_.top() + kCaptionHeight, panel_.right(),
             panel_.top() + kCaptionHeight);

  // Close button.
  if (pressed_) {
    qDrawShadePanel(&p, closeRect_, palette(), true, 1);
  } else if (hot_) {
    qDrawShadePanel(&p, closeRect_, palette(), false, 1);
  }
  const QRect icon(closeRect_.left(), closeRect_.top(), 16, 16);
  p.drawPixmap(icon.translated(pressed_ ? 1 : 0, pressed_ ? 1 : 0), CloseIcon(16));
}

int CControlBar::HalfFrameWidth() const { return frameClient_->width() / 2; }

void CControlBar::DrawGhost(int x) {
  ghostX_ = x;
  const QPoint origin = mapTo(frameClient_, QPoint(0, 0));
  ghost_->setGeometry(origin.x() + x, 0, 2, frameClient_->height());
  ghost_->raise();
  ghost_->show();
}

void CControlBar::RemoveGhost() {
  ghostX_ = -1;
  ghost_->hide();
}

void CControlBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  if (!closeRect_.isEmpty()) {
    held_ = true;
    hot_ = false;
    pressed_ = closeRect_.contains(pos);
    update(closeRect_.adjusted(-1, -1, 1, 1));
  }
  if (SplitterStrip().contains(pos)) resizing_ = true;
}

void CControlBar::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  setCursor(SplitterStrip().contains(pos) || resizing_ ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (resizing_) {
    RemoveGhost();
    DrawGhost(std::clamp(pos.x(), kGhostMin, std::max(kGhostMin, HalfFrameWidth())));
  }
  if (closeRect_.contains(pos)) {
    if (!hot_) {
      hot_ = !held_;
      pressed_ = held_;
      update(closeRect_.adjusted(-1, -1, 1, 1));
    }
  } else if (hot_ || pressed_) {
    hot_ = false;
    pressed_ = false;
    update(closeRect_.adjusted(-1, -1, 1, 1));
  }
}

void CControlBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  held_ = hot_ = pressed_ = false;
  update(closeRect_.adjusted(-1, -1, 1, 1));
  if (ghostX_ >= 0) RemoveGhost();
  if (closeRect_.contains(pos)) emit closeClicked();
  if (resizing_) {
    resizing_ = false;
    int w = std::min(pos.x(), HalfFrameWidth());
    if (w <= 10) w = 11;
    width_ = w;
    // Hidden, resized and shown again, so that the main window lays itself out anew.
    const bool wasVisible = isVisible();
    hide();
    setFixedWidth(width_);
    if (wasVisible) show();
  }
}

void CControlBar::mouseDoubleClickEvent(QMouseEvent*) {
  // The bar cannot be floated: a double click does nothing.
}

bool CControlBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (closeRect_.contains(help->pos())) {
      QToolTip::showText(help->globalPos(), closeTip_, this, closeRect_);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

bool CControlBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_->viewport()) {
    switch (event->type()) {
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        treeMouse_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        treeMouseInside_ = true;
        break;
      case QEvent::Leave:
        treeMouseInside_ = false;
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CControlBar::OnTreeSelectionChanged() {
  if (reselecting_) return;
  // The page is the item under the mouse pointer, not the newly selected
  // one; afterwards the root is selected again, so that the same page can be
  // chosen twice in a row.
  QTreeWidgetItem* hit = treeMouseInside_ ? tree_->itemAt(treeMouse_) : nullptr;
  const QString text = hit ? hit->text(0) : QString();
  reselecting_ = true;
  if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
  reselecting_ = false;
  if (!text.isEmpty()) emit pageChosen(text);
}

}  // namespace varo::shell
