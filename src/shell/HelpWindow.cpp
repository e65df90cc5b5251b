#include "shell/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/ProgramFiles.h"

namespace varo::shell {

HelpWindow::HelpWindow(std::string folder, const QString& caption)
    : QWidget(nullptr, Qt::Window), folder_(std::move(folder)), caption_(caption) {
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

std::optional<std::string> HelpWindow::TopicPath(const std::string& folder, int context) {
  return FindFileNoCase(folder, std::to_string(context) + ".html");
}

std::optional<std::string> HelpWindow::IndexPath(const std::string& folder) {
  return FindFileNoCase(folder, "index.html");
}

bool HelpWindow::ShowTopic(int context) { return ShowPage(TopicPath(folder_, context)); }

bool HelpWindow::ShowIndex() { return ShowPage(IndexPath(folder_)); }

bool HelpWindow::ShowPage(const std::optional<std::string>& path) {
  if (!path) return false;
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(*path)));
  show();
  raise();
  activateWindow();
  return true;
}

QString HelpWindow::CurrentPage() const { return browser_->source().toLocalFile(); }

}  // namespace varo::shell
