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
// stays open beside the main window and is reused for every request.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(std::string folder, std::string program, const QString& caption);

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
  bool eventFilter(QObject* watched, QEvent* event) override;

  std::string folder_;
  std::string program_;
  QString caption_;
  QTextBrowser* browser_;
  QPointer<QWidget> owner_;
};

}  // namespace varo::shell
