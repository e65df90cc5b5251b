#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ini/IniProfile.h"
#include "lang/LanguageModule.h"

class QPrinter;
class QTranslator;
class QWidget;

namespace varo::shell {

class CMainFrame;
class CShellDoc;
class DocumentTemplate;
class HelpWindow;

// What tells one programmer from the other at start-up.
struct ProgrammerTraits {
  std::string programName;     // "Varo16": caption of the start-up failure message
  std::string iniName;         // "Varo16.ini"
  std::string moduleSuffix;    // "16.lng": the language value is put in front
  std::string restartProgram;  // "TALMO": started after a language change when present
};

// The application object of a programmer: process-wide state (program INI,
// language, language module, help folder, program directory, application
// name, new-document flag), the start-up, and the application's commands
// (File New, File Open, About). One exists per run; its documents and views
// hold it.
class CShellApp {
 public:
  CShellApp(ProgrammerTraits traits, DocumentTemplate& documents);
  virtual ~CShellApp();
  CShellApp(const CShellApp&) = delete;
  CShellApp& operator=(const CShellApp&) = delete;


  // The start-up, in order: program INI, language value and flag, language
  // module (its absence ends the start with a message), help folder, program
  // directory, main frame, the command line (an optional .dat file to open,
  // else a new document), the window shown maximized, its icon, the About
  // item. Returns false when the program must end.
  bool InitInstance(const QStringList& arguments);

  const ProgrammerTraits& Traits() const { return traits_; }
  IniProfile& Ini() { return ini_; }
  const IniProfile& Ini() const { return ini_; }
  const std::string& LanguageValue() const { return languageValue_; }
  // True when the interface language is Chinese.
  bool Chinese() const { return chinese_; }
  const LanguageModule& Module() const { return module_; }
  // A string-table text of the language module ("" when it has none).
  QString Str(int id) const;
  // A text of dialog `dialogId` from the language module.
  QString DialogText(int dialogId, const std::string& key, const QString& fallback = {}) const;
  // A value of the INI's language section ("Company", "About Title", ...).
  QString LanguageSectionText(const std::string& key) const;
  // "enHelp" or "chHelp".
  const std::string& HelpFolder() const { return helpFolder_; }
  const std::string& ProgramDir() const { return programDir_; }
  // Caption of every message box: "Company" of the language section.
  QString AppName() const { return appName_; }
  // English or Chinese literal by the language flag.
  QString Tr(const char* english, const char* chinese) const;

  bool NewDocumentFlag() const { return newDocument_; }
  void SetNewDocumentFlag(bool on) { newDocument_ = on; }

  // The folder the file dialogs open in: the one a file dialog was last
  // used in (remembered per user across runs, as "Folder" under the
  // registry key "Software\<AppName>"), else the current folder.
  QString LastFolder() const;
  // Remembers the folder of `path`, a file just chosen in a file dialog.
  void RememberFolder(const QString& path);

  // The document template's file filter ("Varo_16 Document (*.dat)") and
  // extension (".dat"), from string 129.
  QString DocumentFilter() const;
  QString DocumentExtension() const;

  CMainFrame* MainFrame() const { return mainFrame_; }
  DocumentTemplate& Documents() const { return documents_; }

  // Opens the help page of `context` in the help window; a missing page or
  // folder does nothing visible.
  void ShowHelp(int context);
  // The help folder's start page.
  void ShowHelpIndex();
  HelpWindow* Help() const { return help_.get(); }

  // The printer every print job and Print Setup use; its settings last for
  // the run.
  QPrinter& Printer();

  // Application commands: File New, File Open, Print Setup, About.
  bool OnCommand(int id);
  std::optional<bool> CommandEnabled(int id) const;
  void OnFileNew();
  void OnFileOpen();
  void OnAppAbout();
  void OnFilePrintSetup();
  // The standard new-document action: a new document in a new window.
  bool NewDocument();
  // Opens `path` into a new document window; the window active until then
  // hides. False (after the document's message) leaves everything as it was.
  bool OpenDocumentFile(const QString& path);

  // After a language change: writes the INI, closes the main window and
  // starts the restart program from the program directory when it is there,
  // otherwise this program again.
  void RestartForLanguage();
  // How programs are started; tests put a recorder here.
  std::function<bool(const std::string& path)> startProgram;

  // A modal message box captioned with the application name (or `caption`).
  QMessageBox::StandardButton MessageBox(const QString& text,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                         QMessageBox::Icon icon = QMessageBox::NoIcon,
                                         const std::optional<QString>& caption = std::nullopt);
  // The window a modal box or dialog belongs to.
  QWidget* DialogParent() const;

 protected:
  // Called once the main window exists, before the first document: the
  // radio model gives the frame the commands it carries out for it.
  virtual void RegisterFrameCommands(CMainFrame& /*frame*/) {}

 private:
  bool OpenModule();
  // The help window for the page asked for (the start page with `index`),
  // made when first needed and put in front of a modal dialog; nullptr when
  // the page is missing.
  HelpWindow* HelpFor(bool index, int context);
  // The help window over `folder`, keeping its place under the program's key.
  std::unique_ptr<HelpWindow> MakeHelpWindow(const std::string& folder) const;
  void ShowDocumentWindow(std::unique_ptr<CShellDoc> doc);
  void InstallQtTranslation();

  ProgrammerTraits traits_;
  DocumentTemplate& documents_;
  IniProfile ini_;
  std::string languageValue_;
  bool chinese_ = false;
  LanguageModule module_;
  std::string helpFolder_;
  std::string programDir_;
  QString appName_;
  bool newDocument_ = false;
  CMainFrame* mainFrame_ = nullptr;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace varo::shell
