#include "shell/HelpWindow.h"

#include <QEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/ProgramFiles.h"

namespace varo::shell {

namespace {

std::optional<std::string> FindPage(const std::string& folder, const std::string& program,
                                    const std::string& name) {
  if (!program.empty()) {
    if (auto own = FindFileNoCase(folder, program)) {
      if (auto page = FindFileNoCase(*own, name)) return page;
    }
  }
  return FindFileNoCase(folder, name);
}

}  // namespace

HelpWindow::HelpWindow(std::string folder, std::string program, const QString& caption)
    : QWidget(nullptr, Qt::Window),
      folder_(std::move(folder)),
      program_(std::move(program)),
      caption_(caption) {
  setObjectName(QStringLiteral("helpWindow"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(caption_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_);
  resize(640, 520);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? caption_ : title + QStringLiteral(" - ") + caption_);
  });
}

std::optional<std::string> HelpWindow::TopicPath(const std::string& folder, int context,
                                                 const std::string& program) {
  return FindPage(folder, program, std::to_string(context) + ".html");
}

std::optional<std::string> HelpWindow::IndexPath(const std::string& folder,
                                                 const std::string& program) {
  return FindPage(folder, program, "index.html");
}

bool HelpWindow::ShowTopic(int context) {
  return ShowPage(TopicPath(folder_, context, program_));
}

bool HelpWindow::ShowIndex() { return ShowPage(IndexPath(folder_, program_)); }

bool HelpWindow::ShowPage(const std::optional<std::string>& path) {
  if (!path) return false;
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(*path)));
  show();
  raise();
  activateWindow();
  return true;
}

void HelpWindow::SetOwner(QWidget* owner) {
  QWidget* window = owner ? owner->window() : nullptr;
  if (window == owner_) return;
  if (owner_) owner_->removeEventFilter(this);
  owner_ = window;
  if (window) window->installEventFilter(this);
  // A modal dialog blocks every window but its own and those in its care;
  // made the dialog's transient, this window is one of those. Which windows
  // are blocked is decided when a window shows, so a window already on show
  // shows again.
  const bool shown = isVisible();
  if (shown) hide();
  create();
  windowHandle()->setTransientParent(window ? window->windowHandle() : nullptr);
  if (shown) show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  // The dialog is going: the help stays open as a window of its own.
  if (watched == owner_ && event->type() == QEvent::Hide) {
    owner_->removeEventFilter(this);
    owner_ = nullptr;
    if (windowHandle()) windowHandle()->setTransientParent(nullptr);
  }
  return QWidget::eventFilter(watched, event);
}

QString HelpWindow::CurrentPage() const { return browser_->source().toLocalFile(); }

}  // namespace varo::shell
