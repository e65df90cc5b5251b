#include "shell/CChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

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

void CChildFrame::FitToForm() {
  const QSize form = sizeHint();
  resize(std::min(form.width(), 1600), std::min(form.height(), 1200));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

}  // namespace varo::shell
