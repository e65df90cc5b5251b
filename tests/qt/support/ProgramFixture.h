#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "radio/MemoryImage.h"
#include "shell/RadioApp.h"
#include "support/TempDir.h"

namespace varo::shell {
class CChannelView;
class CChildFrame;
class CMSFlexGrid;
class CMainFrame;
}  // namespace varo::shell

// What the Qt tests of both programmers share: a program folder of its own
// for each test, a started program with handles on what the tests drive, the
// answering of modal windows, screenshots and the text of PDF files.
//
// A programmer is described by a type with its application and view classes
// and its delivered files:
//
//   struct Varo16Program {
//     using App = model16::ui::CVaro_16App;
//     using View = model16::ui::CVaro_16View;
//     static ProgramFiles Files();
//   };
//   using Session = BasicSession<Varo16Program>;
namespace varo::test {

// The delivered files a programmer finds in its folder.
struct ProgramFiles {
  std::string programName;             // "Varo16": the program's first argument
  std::string iniName;                 // "Varo16.ini"
  std::vector<std::string> delivered;  // language modules, artwork
};

// A program folder of its own for each test: the delivered INI (with the
// test's language) and files copied in, the registry and the user's data
// folder ("data", XDG_DATA_HOME) kept inside it, and ProgramDirectory()
// pointing at it.
class ProgramFolder {
 public:
  // `language` is written as "Setup"/"Language" ("" leaves the key out).
  ProgramFolder(const ProgramFiles& files, const std::string& language);
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const TempDir& dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_.File(name); }
  void Remove(const std::string& name) const;
  // Copies a delivered file or folder of the suite into the program folder.
  void CopyDelivered(const std::string& name) const;

 protected:
  // Runs the start-up of `app` with `arguments` after the program name;
  // false when the start-up ended the program.
  bool Start(shell::CShellApp& app, const QStringList& arguments) const;

 private:
  ProgramFiles files_;
  TempDir dir_;
};

template <class Program>
class BasicFolder : public ProgramFolder {
 public:
  explicit BasicFolder(const std::string& language = "English")
      : ProgramFolder(Program::Files(), language) {}

  // Builds the program and runs its start-up; nullptr when the start-up
  // ended the program. Restarts after a language change are only noted.
  std::unique_ptr<typename Program::App> Start(const QStringList& arguments = {}) const {
    auto app = std::make_unique<typename Program::App>();
    app->startProgram = [](const std::string&) { return true; };
    if (!ProgramFolder::Start(*app, arguments)) return nullptr;
    return app;
  }
};

// A started program with its main window active, and handles on what the
// tests drive (through the shell's classes, so both programmers share them).
class SessionBase {
 public:
  virtual ~SessionBase() = default;
  void Activate() const;

  shell::CMainFrame* Frame() const;
  shell::CChildFrame* Child() const;
  shell::CChannelView* ChannelView() const;
  shell::CMSFlexGrid* Grid() const;
  radio::MemoryImage& Image() const;
  QWidget* Editor(long col) const;
  // The texts of the channel columns (1 to the last) of `row`.
  QStringList Row(long row) const;
  // Clicks cell (row, col), scrolling it into view first: the cell becomes
  // current and its editor opens.
  void Click(long row, long col) const;
  // Clicks the cell, types `text` into its editor and presses Enter.
  void Type(long row, long col, const QString& text) const;
  shell::CRadioApp& Application() const { return *App(); }
  // The page the help window shows ("" before it first opens).
  QString HelpPage() const;
  virtual const ProgramFolder& Folder() const = 0;

 protected:
  virtual shell::CRadioApp* App() const = 0;
};

// A started program (app is null when its start-up ended it).
template <class Program>
struct BasicSession : SessionBase {
  explicit BasicSession(const std::string& language = "English",
                        const QStringList& arguments = {})
      : folder(language), app(folder.Start(arguments)) {
    if (app) Activate();
  }

  typename Program::View* View() const {
    return static_cast<typename Program::View*>(ChannelView());
  }

  const ProgramFolder& Folder() const override { return folder; }

  BasicFolder<Program> folder;
  std::unique_ptr<typename Program::App> app;

 protected:
  shell::CRadioApp* App() const override { return app.get(); }
};

// Runs `act` on the next modal window (message box, dialog, file dialog) as
// soon as it is open; the caller then starts what opens it. Gives up after
// a few seconds, so a window that never opens fails the test instead of
// hanging it.
void WhenModal(std::function<void(QWidget*)> act);

// The command of each item of `menu` (0 for a separator), top down.
QList<int> MenuCommands(const QWidget* menu);

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
// platform draws no window frame), and a window `over` it (a modeless
// dialog) is drawn centred on it, with its own title bar.
void MaybeScreenshot(QWidget* w, const QString& name, bool titleBar = false,
                     QWidget* over = nullptr);

// As MaybeScreenshot with a title bar, with the popup `popup` (a context
// menu) drawn where it lies over `w` on the screen.
void MaybeScreenshotWithPopup(QWidget* w, const QString& name, QWidget* popup);

// The text of each page of a PDF as laid out (pdftotext -layout), exactly as
// extracted: a ligature or a CJK glyph read back as a compatibility character
// would not match the words searched for.
QStringList PdfPages(const QString& path);

// A line of `page` holds `left` and, further right, `right`.
bool OnOneLine(const QString& page, const QString& left, const QString& right);

}  // namespace varo::test
