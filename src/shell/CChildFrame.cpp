#include "shell/CChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QStyle>

#include "shell/ShellDocument.h"
#include "shell/ShellIcons.h"

namespace varo::shell {

CChildFrame::CChildFrame(std::unique_ptr<CShellDoc> doc, CShellView* view, QWidget* parent)
    : QMdiSubWindow(parent), doc_(std::move(doc)), view_(view) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWidget(view_);
  setWindowIcon(RadioIcon());
  // The document's title, with a '*' after it while it holds unsaved changes.
  const auto showTitle = [this] {
    setWindowTitle(doc_->Title() + (doc_->IsModified() ? QStringLiteral("*") : QString()));
  };
  showTitle();
  connect(doc_.get(), &CShellDoc::titleChanged, this, showTitle);
  connect(doc_.get(), &CShellDoc::modifiedChanged, this, showTitle);
  setGeometry(0, 0, 1600, 1200);
  // The window menu's own keys (Close on Ctrl+W among them) would collide
  // with the programmer's accelerators: Ctrl+W is Write.
  if (QMenu* menu = systemMenu()) {
    for (QAction* action : menu->actions()) action->setShortcuts({});
  }
}

CChildFrame::~CChildFrame() {
  // The view refers to the document: let it go first.
  delete view_;
  view_ = nullptr;
}

void CChildFrame::FitToForm(const QSize& room) {
  QSize bound(1600, 1200);
  if (!room.isEmpty()) bound = bound.boundedTo(room);
  const QSize form = sizeHint();
  QSize size = form.boundedTo(bound);
  // A form cut short scrolls: room for the table's vertical scroll bar, so
  // that it needs no horizontal one.
  if (size.height() < form.height()) {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    size.setWidth(std::min(form.width() + bar, bound.width()));
  }
  resize(size);
  fitted_ = this->size();  // as the window's own minimum allowed it
}

void CChildFrame::RefitTo(const QSize& room) {
  if (size() == fitted_ && !isMaximized()) FitToForm(room);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace varo::shell
