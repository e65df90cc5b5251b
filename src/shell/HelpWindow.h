#pragma once

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

class QTextBrowser;

namespace varo::shell {

// The program's help window: the pages of the help folder ("enHelp" or
// "chHelp" in the program directory), one HTML page per context number
// ("32777.html") and a start page ("index.html"). Both programmers share the
// folder, but a context number can stand for different controls in each:
// a page in the folder's subfolder named after the program
// ("enHelp/Varo199V3/1117.html") comes before the shared one. The window
// stays open beside the main window and is reused for every request; Esc
// closes it.
//
// It opens where the user last left it (kept per user as the string value
// "Help Window", "x,y,width,height", under the registry key the program
// names; saved whenever the window hides), and always fully on a screen: a
// place off every screen (a monitor since unplugged, say) moves onto the
// nearest one, and a window larger than the screen shrinks to it.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // `program`: the subfolder of the program's own pages ("" for none).
  // `settingsKey`: the registry key the window's place is kept under ("" keeps
  // nothing).
  HelpWindow(std::string folder, std::string program, const QString& caption,
             std::string settingsKey = {});

  // `wanted` moved and, when it must be, shrunk to lie fully within
  // `available`; `frame` is what the window frame adds around it.
  static QRect FitOnScreen(QRect wanted, const QRect& available, const QMargins& frame = {});

  // The page of `context` for `program` (its own, else the shared one), or
  // nothing when the folder or page is missing.
  static std::optional<std::string> TopicPath(const std::string& folder, int context,
                                              const std::string& program = "");
  static std::optional<std::string> IndexPath(const std::string& folder,
                                              const std::string& program = "");

  // Shows the page of `context`; returns false, showing nothing, when there
  // is no such page.
  bool ShowTopic(int context);
  bool ShowIndex();

  // Keeps the window in front of `owner` (a modal dialog asking for help) and
  // open to the user while that dialog runs; nullptr, or the owner closing,
  // makes it a window of its own again.
  void SetOwner(QWidget* owner);
  QWidget* Owner() const { return owner_; }

  QTextBrowser* Browser() const { return browser_; }
  // The page on show ("" before the first).
  QString CurrentPage() const;

 private:
  bool ShowPage(const std::optional<std::string>& path);
  // Places the window where it was last left, on screen, before it shows.
  void Place();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  std::string folder_;
  std::string program_;
  QString caption_;
  std::string settingsKey_;
  QTextBrowser* browser_;
  QPointer<QWidget> owner_;
};

}  // namespace varo::shell
