#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "model16/ui/CVaro_16App.h"
#include "support/TempDir.h"

namespace varo::test {

// A program folder of its own for each test: the delivered INI and language
// modules copied in, the registry kept inside it, and ProgramDirectory()
// pointing at it.
class Varo16Folder {
 public:
  // `language` is written as "Setup"/"Language" ("" leaves the key out).
  explicit Varo16Folder(const std::string& language = "English");
  ~Varo16Folder();

  const TempDir& dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_.File(name); }
  void Remove(const std::string& name) const;
  // Copies a delivered file or folder of the suite into the program folder.
  void CopyDelivered(const std::string& name) const;

  // Builds the program and runs its start-up with `arguments` after the
  // program name; nullptr when the start-up ended the program.
  std::unique_ptr<model16::ui::CVaro_16App> Start(const QStringList& arguments = {}) const;

 private:
  TempDir dir_;
  std::string oldXdg_;
  bool hadXdg_ = false;
};

// Runs `act` on the next modal window (message box, dialog, file dialog) as
// soon as it is open; the caller then starts what opens it. Gives up after
// a few seconds, so a window that never opens fails the test instead of
// hanging it.
void WhenModal(std::function<void(QWidget*)> act);

// Presses the button of the message box or dialog `w` whose text is `text`
// (or, for a message box, the standard button of that text).
void Press(QWidget* w, const QString& text);

// The text of a message box (empty for any other window).
QString MessageText(QWidget* w);

// Types `path` into a file dialog and accepts it.
void AcceptFileDialog(QWidget* w, const QString& path);

// Saves a picture of `w` when VARO_SCREENSHOT_DIR is set.
void MaybeScreenshot(QWidget* w, const QString& name);

}  // namespace varo::test
