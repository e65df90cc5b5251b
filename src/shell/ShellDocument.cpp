#include "shell/ShellDocument.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "shell/CChildFrame.h"
#include "shell/CComSetupDlg.h"
#include "shell/CLanguageDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/ShellApp.h"

namespace varo::shell {

CShellDoc::CShellDoc(CShellApp& app) : app_(app) {}
CShellDoc::~CShellDoc() = default;

void CShellDoc::SetTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  emit titleChanged(title_);
}

void CShellDoc::MarkOpened(const QString& path) {
  pathName_ = path;
  untitled_ = false;
  SetTitle(QFileInfo(path).fileName());
}

bool CShellDoc::OnCommand(int id) {
  switch (id) {
    case ID_FILE_SAVE:
      DoFileSave();
      return true;
    case ID_FILE_SAVE_AS:
      DoSaveAs();
      return true;
    case ID_FILE_CLOSE:
      if (app_.MainFrame() && app_.MainFrame()->ActiveChild() && SaveModified())
        app_.MainFrame()->ActiveChild()->close();
      return true;
    default:
      return false;
  }
}

std::optional<bool> CShellDoc::CommandEnabled(int id) const {
  switch (id) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_CLOSE:
      return true;
    default:
      return std::nullopt;
  }
}

void CShellDoc::SetModifiedFlag(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  emit modifiedChanged(modified_);
}

bool CShellDoc::SaveModified() {
  if (!modified_) return true;
  const QString text = app_.Tr("Save changes to %1?", "是否保存对“%1”的更改？").arg(title_);
  switch (app_.MessageBox(text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                          QMessageBox::Warning)) {
    case QMessageBox::Save:
      return DoFileSave();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool CShellDoc::DoFileSave() {
  if (untitled_ || pathName_.isEmpty()) return DoSaveAs();
  if (!OnSaveDocument(pathName_)) return false;
  SetClean();
  return true;
}

bool CShellDoc::DoSaveAs() {
  CShellApp* app = &app_;
  // A file of its own is proposed where it is; a new document's name in the
  // folder last used.
  QString proposed = untitled_ ? ProposedFileName() : pathName_;
  if (QFileInfo(proposed).isRelative()) proposed = QDir(app->LastFolder()).filePath(proposed);
  QString path = QFileDialog::getSaveFileName(app->DialogParent(), app->Tr("Save As", "另存为"),
                                              proposed, app->DocumentFilter());
  if (path.isEmpty()) return false;
  app->RememberFolder(path);
  if (QFileInfo(path).suffix().isEmpty()) path += app->DocumentExtension();
  if (!OnSaveDocument(path)) return false;
  MarkOpened(path);
  SetClean();
  return true;
}

CShellView::CShellView(CShellDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {}

CShellView::~CShellView() = default;

bool CShellView::OnCommand(int id) {
  switch (id) {
    case ID_COM_SETUP:
      OnComSetup();
      return true;
    case ID_LANGUAGE:
      OnLanguage();
      return true;
    default:
      return false;
  }
}

std::optional<bool> CShellView::CommandEnabled(int id) const {
  if (TransferBusy() && HeldDuringTransfer(id)) return false;
  if (id == ID_COM_SETUP || id == ID_LANGUAGE) return true;
  return std::nullopt;
}

bool CShellView::HeldDuringTransfer(int id) {
  switch (id) {
    case ID_READ:
    case ID_WRITE:
    case ID_VERIFY:
    case ID_FLEET:
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
    case ID_SCAN_INFO:
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_CLOSE:
    case ID_LANGUAGE:
    case ID_COM_SETUP:
    case ID_OPTIONAL_FEATURES:
    case ID_PRODUCT_INFO:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_PDF:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_ABOUT:
    case ID_EDIT_CUT:
    case ID_EDIT_PASTE:
    case ID_EDIT_CLEAR:
    case ID_ROW_INSERT:
    case ID_ROW_DELETE:
    case ID_ROW_MOVE_UP:
    case ID_ROW_MOVE_DOWN:
    case ID_FILL_DOWN:
    case ID_FILE_EXPORT_CSV:
    case ID_FILE_IMPORT_CSV:
    case ID_FILE_COMPARE:
      return true;
    default:
      return false;
  }
}

void CShellView::OnComSetup() {
  CShellApp* app = &doc_.App();
  CComSetupDlg dlg(*app, *this, app->DialogParent());
  dlg.exec();
}

void CShellView::OnLanguage() {
  CShellApp* app = &doc_.App();
  const std::string running = app->Ini().GetValue("Setup", "Language", "");
  CLanguageDlg dlg(*app, app->DialogParent());
  if (dlg.exec() != QDialog::Accepted || !dlg.Changed()) return;
  // The restart closes the program: changes not saved yet are asked about
  // first, and Cancel keeps the program as it runs, its language included.
  if (!doc_.SaveModified()) {
    app->Ini().SetValue("Setup", "Language", running);
    return;
  }
  app->RestartForLanguage();
}

}  // namespace varo::shell
