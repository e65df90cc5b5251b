#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

namespace varo::shell {

class CShellApp;

class CShellView;

// A programmer's document: one memory image with a title and a path name.
// The radio model's document derives from it and does the reading and
// writing; this base carries the framework's Save and Save As, and the
// modified mark: set while the document holds changes made since it was
// opened, saved, read or written, shown in the window titles, and asked about
// before anything would drop them (SaveModified).
class CShellDoc : public QObject {
  Q_OBJECT

 public:
  explicit CShellDoc(CShellApp& app);
  ~CShellDoc() override;

  // The program the document belongs to: its texts, message boxes, folders.
  CShellApp& App() const { return app_; }

  QString Title() const { return title_; }
  void SetTitle(const QString& title);
  // The file the document was opened from or last saved to ("" for none).
  QString PathName() const { return pathName_; }
  void SetPathName(const QString& path) { pathName_ = path; }
  // True from File New until the document is first saved under a name the
  // user chose.
  bool IsUntitled() const { return untitled_; }

  CShellView* View() const { return view_; }
  void SetView(CShellView* view) { view_ = view; }

  // Builds a new document's contents; false ends the New command.
  virtual bool OnNewDocument() = 0;
  // Reads `path`; on failure the document has shown its message and keeps
  // nothing of the file.
  virtual bool OnOpenDocument(const QString& path) = 0;
  // Writes the document to `path`; on failure it has shown its message and
  // the file on disk is as it was.
  virtual bool OnSaveDocument(const QString& path) = 0;
  // The file name a first Save proposes.
  virtual QString ProposedFileName() const = 0;

  // Document commands: Save, Save As and Close.
  virtual bool OnCommand(int id);
  virtual std::optional<bool> CommandEnabled(int id) const;

  // Save: a document with a path writes there; a new one always asks for a
  // file name first, so nothing is ever overwritten without the user's word.
  // A completed save makes the document clean.
  bool DoFileSave();
  bool DoSaveAs();

  bool IsModified() const { return modified_; }
  // Before the document's changes would go (Close, Open, Exit, Read, the
  // restart for a language): a modified document asks "Save changes to
  // <title>?" with Save, Discard and Cancel. True when the caller may go on:
  // nothing to lose, saved, or discarded; false after Cancel or a save that
  // did not happen.
  bool SaveModified();
  // The document as it stands is the one on file or in the radio: not
  // modified from here on.
  virtual void SetClean() { SetModifiedFlag(false); }

 signals:
  void titleChanged(const QString& title);
  void modifiedChanged(bool modified);

 protected:
  void MarkOpened(const QString& path);
  void SetModifiedFlag(bool modified);

 private:
  CShellApp& app_;
  QString title_;
  QString pathName_;
  bool untitled_ = true;
  bool modified_ = false;
  CShellView* view_ = nullptr;
};

// The form view inside a document window. The radio model's view derives from
// it; this base holds what both programmers' views share: the serial port
// name the clone link opens and the COM Setup and Language commands.
class CShellView : public QWidget {
  Q_OBJECT

 public:
  explicit CShellView(CShellDoc& doc, QWidget* parent = nullptr);
  ~CShellView() override;

  CShellDoc& Document() const { return doc_; }

  // Called when the view's window is first shown and again for every new
  // document the view is made for: fills the view from the document.
  virtual void OnInitialUpdate() = 0;

  // View commands; the base handles COM Setup (32777) and Language (32799),
  // and disables every command held back while a transfer runs.
  virtual bool OnCommand(int id);
  virtual std::optional<bool> CommandEnabled(int id) const;

  // True while a transfer with the radio is offered or runs.
  virtual bool TransferBusy() const { return false; }
  // The commands held back meanwhile: those that change or replace the
  // document or the port, and those that open a window of their own (a modal
  // window would stall the clone mid-transfer).
  static bool HeldDuringTransfer(int id);

  // Help context number of whatever has the keyboard focus in the view.
  virtual int FocusHelpContext() const = 0;

  // The port the clone link opens: "COM1" when the view is built, changed
  // only by OK in COM Setup ("com1".."com4").
  QString PortName() const { return portName_; }
  void SetPortName(const QString& name) { portName_ = name; }

  // Runs the two settings dialogs (also used by the tests' scripts).
  void OnComSetup();
  void OnLanguage();

 private:
  CShellDoc& doc_;
  QString portName_ = QStringLiteral("COM1");
};

// Makes the documents and views of one programmer.
class DocumentTemplate {
 public:
  virtual ~DocumentTemplate() = default;
  virtual std::unique_ptr<CShellDoc> CreateDocument() = 0;
  // The view for `doc`; the document window takes ownership.
  virtual CShellView* CreateView(CShellDoc& doc) = 0;
};

}  // namespace varo::shell
