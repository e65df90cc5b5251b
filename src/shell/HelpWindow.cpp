#include "shell/HelpWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include "ini/Registry.h"
#include "platform/ProgramFiles.h"

namespace varo::shell {

namespace {

constexpr const char* kPlaceValue = "Help Window";

std::optional<QRect> StoredPlace(const std::string& key) {
  if (key.empty()) return std::nullopt;
  const auto text = Registry(key).QueryString(kPlaceValue);
  if (!text) return std::nullopt;
  const QStringList parts = QString::fromStdString(*text).split(QLatin1Char(','));
  if (parts.size() != 4) return std::nullopt;
  int v[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    v[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
  }
  if (v[2] <= 0 || v[3] <= 0) return std::nullopt;
  return QRect(v[0], v[1], v[2], v[3]);
}

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

HelpWindow::HelpWindow(std::string folder, std::string program, const QString& caption,
                       std::string settingsKey)
    : QWidget(nullptr, Qt::Window),
      folder_(std::move(folder)),
      program_(std::move(program)),
      caption_(caption),
      settingsKey_(std::move(settingsKey)) {
  setObjectName(QStringLiteral("helpWindow"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(caption_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_);
  resize(640, 520);
  if (auto place = StoredPlace(settingsKey_)) setGeometry(*place);
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
  const bool placed = !isVisible();
  if (placed) Place();
  show();
  // Once shown, the frame the window system adds is known: the whole
  // window, frame included, goes on the screen.
  if (placed) Place();
  raise();
  activateWindow();
  return true;
}

QRect HelpWindow::FitOnScreen(QRect wanted, const QRect& available, const QMargins& frame) {
  const QRect room = available.marginsRemoved(frame);
  wanted.setWidth(std::min(wanted.width(), room.width()));
  wanted.setHeight(std::min(wanted.height(), room.height()));
  wanted.moveLeft(std::clamp(wanted.left(), room.left(), room.right() - wanted.width() + 1));
  wanted.moveTop(std::clamp(wanted.top(), room.top(), room.bottom() - wanted.height() + 1));
  return wanted;
}

void HelpWindow::Place() {
  // The screen the window was on, else the one nearest to it; the frame the
  // window manager adds is known once the window has been shown.
  const QRect wanted = geometry();
  QScreen* screen = QGuiApplication::screenAt(wanted.center());
  if (!screen) {
    int best = -1;
    for (QScreen* candidate : QGuiApplication::screens()) {
      const QPoint d = candidate->availableGeometry().center() - wanted.center();
      if (best < 0 || d.manhattanLength() < best) {
        best = d.manhattanLength();
        screen = candidate;
      }
    }
  }
  if (!screen) return;
  const QRect frame = frameGeometry();
  const QMargins margins(geometry().left() - frame.left(), geometry().top() - frame.top(),
                         frame.right() - geometry().right(), frame.bottom() - geometry().bottom());
  setGeometry(FitOnScreen(wanted, screen->availableGeometry(), margins));
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  // The browser passes on the keys it does not use; Esc closes the window.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void HelpWindow::hideEvent(QHideEvent* event) {
  if (!settingsKey_.empty() && !event->spontaneous()) {
    const QRect r = geometry();
    Registry(settingsKey_).SetString(
        kPlaceValue, QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString());
  }
  QWidget::hideEvent(event);
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
