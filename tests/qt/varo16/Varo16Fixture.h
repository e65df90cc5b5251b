#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "model16/MemoryImage.h"
#include "model16/ui/CVaro_16App.h"
#include "support/TempDir.h"

namespace varo::shell {
class CChildFrame;
class CMSFlexGrid;
class CMainFrame;
}  // namespace varo::shell

namespace varo::model16::ui {
class CVaro_16View;
}

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
};

// A started program (app is null when its start-up ended it) with its main
// window active, and handles on what the tests drive.
struct Session {
  explicit Session(const std::string& language = "English", const QStringList& arguments = {});
  void Activate() const;

  shell::CMainFrame* Frame() const;
  shell::CChildFrame* Child() const;
  model16::ui::CVaro_16View* View() const;
  shell::CMSFlexGrid* Grid() const;
  model16::MemoryImage& Image() const;
  QWidget* Editor(long col) const;
  // The texts of columns 1-8 of `row`.
  QStringList Row(long row) const;
  // Clicks cell (row, col): the cell becomes current and its editor opens.
  void Click(long row, long col) const;
  // Clicks the cell, types `text` into its editor and presses Enter.
  void Type(long row, long col, const QString& text) const;

  Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
};

// Runs `act` on the next modal window (message box, dialog, file dialog) as
// soon as it is open; the caller then starts what opens it. Gives up after
// a few seconds, so a window that never opens fails the test instead of
// hanging it.
void WhenModal(std::function<void(QWidget*)> act);

// Presses the button of the message box or dialog `w` whose text (without
// its '&') or object name is `text`.
void Press(QWidget* w, const QString& text);

// Answers the next modal window with `button`, appending its caption and
// message text to `seen`.
void Answer(QStringList* seen, const QString& button = QStringLiteral("OK"));

// Types `path` into a file dialog and accepts it.
void AcceptFileDialog(QWidget* w, const QString& path);

// Saves a picture of `w` as `name` when VARO_SCREENSHOT_DIR is set; with
// `titleBar`, a plain title bar with its caption goes above it (the offscreen
// platform draws no window frame).
void MaybeScreenshot(QWidget* w, const QString& name, bool titleBar = false);

}  // namespace varo::test
