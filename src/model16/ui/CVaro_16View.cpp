#include "model16/ui/CVaro_16View.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/ui/CProcessDlg.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/TransferController.h"
#include "platform/ProgramFiles.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/PrintRenderer.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::model16::ui {

using shell::CShellApp;

namespace {

shell::CMSFlexGrid* MakeGrid(QWidget* parent) {
  return new shell::CMSFlexGrid(kTableRows, kTableCols, parent);
}

// Whether Print to PDF may put a new file in place of `target`. The rename
// that puts it there needs no write access to the old file, so its mode is
// checked here: a file the user cannot write is kept, and so is one without a
// write bit for anybody, which a user running as root could otherwise
// overwrite although it is plainly marked read-only.
bool MayReplace(const QFileInfo& target) {
  if (!target.exists()) return true;
  if (!target.isFile()) return false;
  constexpr QFile::Permissions kAnyWrite =
      QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  return target.isWritable() && (target.permissions() & kAnyWrite);
}

}  // namespace

CVaro_16View::CVaro_16View(CVaro_16Doc& doc, QWidget* parent)
    : CShellView(doc, parent),
      grid_(MakeGrid(this)),
      rx_(2127, grid_->viewport(), grid_),
      tx_(2128, grid_->viewport(), grid_),
      decode_(2132, grid_->viewport(), grid_),
      encode_(2133, grid_->viewport(), grid_),
      power_(1129, grid_->viewport(), grid_),
      scanAdd_(1134, grid_->viewport(), grid_),
      busyLock_(1139, grid_->viewport(), grid_),
      bandwidth_(1128, grid_->viewport(), grid_),
      messages_(*CShellApp::Current()) {
  setObjectName(QStringLiteral("CVaro_16View"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  setFocusProxy(grid_);

  editor_ = std::make_unique<TableEditor>(
      *grid_,
      CellEditors{rx_, tx_, decode_, encode_, power_, scanAdd_, busyLock_, bandwidth_}, *this,
      messages_, CShellApp::Current()->Chinese());
  grid_->SetEvents(editor_.get());

  CShellApp* app = CShellApp::Current();
  TransferController::Hooks hooks;
  hooks.commitCell = [this] { CommitCell(); };
  hooks.portName = [this] { return PortName(); };
  hooks.setBandLimits = [this](const BandLimits& limits) { editor_->SetBandLimits(limits); };
  transfer_ = new TransferController(*app, doc.Image(), *grid_, std::move(hooks), this);
  // The guarded commands follow the Process dialog: off when it is offered,
  // on again once it has gone.
  connect(transfer_, &TransferController::busyChanged, this, [app] {
    if (shell::CMainFrame* frame = app->MainFrame()) frame->UpdateCommandUI();
  });

  grid_->installEventFilter(this);
  for (long col = kColRx; col <= kColWN; ++col) EditorQWidget(col)->installEventFilter(this);
}

CVaro_16View::~CVaro_16View() {
  // The editors' widgets go with the grid; nothing may reach the rules then.
  grid_->SetEvents(nullptr);
}

CVaro_16Doc& CVaro_16View::Doc() const { return static_cast<CVaro_16Doc&>(Document()); }

QWidget* CVaro_16View::EditorQWidget(long col) const {
  switch (col) {
    case kColRx: return rx_.Widget();
    case kColTx: return tx_.Widget();
    case kColDec: return decode_.Widget();
    case kColEnc: return encode_.Widget();
    case kColPower: return power_.Widget();
    case kColScan: return scanAdd_.Widget();
    case kColBusy: return busyLock_.Widget();
    default: return bandwidth_.Widget();
  }
}

void CVaro_16View::OnInitialUpdate() {
  CShellApp* app = CShellApp::Current();
  if (firstUpdate_) {
    editor_->SetUp();
    firstUpdate_ = false;
  }
  if (auto path = FindFileNoCase(app->ProgramDir(), "title.ico")) {
    const QIcon icon(QString::fromStdString(*path));
    if (!icon.availableSizes().isEmpty() && parentWidget()) parentWidget()->setWindowIcon(icon);
  }
  FillTableFromDocument();
  updateGeometry();
}

void CVaro_16View::FillTableFromDocument() {
  CShellApp* app = CShellApp::Current();
  const BandLimits limits = FillTableFromImage(
      Doc().Image(), *grid_, app->Ini(), app->LanguageValue(), app->Chinese(),
      app->NewDocumentFlag(), [app](const std::string& title) {
        if (app->MainFrame()) app->MainFrame()->SetTitle(shell::FromBytes(title));
      });
  editor_->SetBandLimits(limits);
}

bool CVaro_16View::TransferBusy() const { return transfer_->busy(); }

bool CVaro_16View::OnCommand(int id) {
  CShellApp* app = CShellApp::Current();
  switch (id) {
    case shell::ID_READ:
      transfer_->Read();
      return true;
    case shell::ID_WRITE:
      transfer_->Write();
      return true;
    case shell::ID_SCAN_INFO:
      OnScanInfo();
      return true;
    case shell::ID_FILE_PRINT:
      Renderer().Print(app->Printer(), app->DialogParent());
      return true;
    case shell::ID_FILE_PRINT_DIRECT:
      Renderer().PrintDirect(app->Printer());
      return true;
    case shell::ID_FILE_PRINT_PREVIEW:
      Renderer().Preview(app->Printer(), app->DialogParent());
      return true;
    case shell::ID_FILE_PRINT_PDF:
      OnPrintToPdf();
      return true;
    default:
      return CShellView::OnCommand(id);
  }
}

std::optional<bool> CVaro_16View::CommandEnabled(int id) const {
  // While the image and the table belong to a transfer, the commands that
  // would change them or open a window of their own are held back, wherever
  // they are carried out.
  if (TransferBusy() && HeldDuringTransfer(id)) return false;
  switch (id) {
    case shell::ID_READ:
    case shell::ID_WRITE:
    case shell::ID_SCAN_INFO:
    case shell::ID_FILE_PRINT:
    case shell::ID_FILE_PRINT_DIRECT:
    case shell::ID_FILE_PRINT_PREVIEW:
    case shell::ID_FILE_PRINT_PDF:
      return true;
    default:
      return CShellView::CommandEnabled(id);
  }
}

void CVaro_16View::OnScanInfo() {
  // The dialog checks a fixed priority channel against the channels as
  // edited, so the table goes into the image first.
  TableToImage(*grid_, Doc().Image());
  CShellApp* app = CShellApp::Current();
  CScanInfoDlg dlg(*app, Doc().Image(), app->DialogParent());
  dlg.exec();
}

shell::PrintRenderer CVaro_16View::Renderer() const {
  CShellApp* app = CShellApp::Current();
  std::string owner = app->Ini().GetValue(app->LanguageValue(), "Copyrights Owner", "");
  return shell::PrintRenderer(
      shell::Varo16Report(*grid_, Doc().Image(), app->Chinese(), std::move(owner)));
}

void CVaro_16View::OnPrintToPdf() {
  CShellApp* app = CShellApp::Current();
  // Proposed beside the document's file, else under the name a first save
  // would propose.
  QString base = Doc().PathName();
  if (base.isEmpty()) base = QDir::current().filePath(Doc().ProposedFileName());
  const QFileInfo info(base);
  const QString proposed = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
  QString path =
      QFileDialog::getSaveFileName(app->DialogParent(), app->Tr("Print to PDF", "打印到 PDF"),
                                   proposed, QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");

  // Written beside the target and renamed over it, so a job that fails
  // leaves a file of that name as it was. A file the user may not write, or
  // marked read-only, is never replaced; one that is replaced keeps its mode.
  const QString part = path + QStringLiteral(".part");
  const QFileInfo target(path);
  bool written = MayReplace(target) && Renderer().PrintToPdf(part);
  if (written && target.exists()) written = QFile::setPermissions(part, target.permissions());
  if (written) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(part).toStdString(),
                            QFile::encodeName(path).toStdString(), error);
    written = !error;
  }
  if (written) return;
  QFile::remove(part);
  QString text = app->Str(shell::IDS_PDF_FAILED);
  if (text.isEmpty()) text = QStringLiteral("The PDF file could not be written.");
  app->MessageBox(text, QMessageBox::Ok, QMessageBox::Warning);
}

int CVaro_16View::FocusHelpContext() const {
  const QWidget* focus = focusWidget();
  for (const QWidget* w = focus; w && w != this; w = w->parentWidget()) {
    const QVariant id = w->property("controlId");
    if (id.isValid()) return id.toInt();
  }
  return kGridControlId;
}

int CVaro_16View::PixelsPerInchX() const { return grid_->logicalDpiX(); }

int CVaro_16View::PixelsPerInchY() const { return grid_->logicalDpiY(); }

void CVaro_16View::RedrawGrid() { grid_->viewport()->update(); }

QSize CVaro_16View::sizeHint() const { return grid_->sizeHint(); }

bool CVaro_16View::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
    return CShellView::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  const bool f1 = key->key() == Qt::Key_F1;
  if (key->key() == Qt::Key_Escape && watched != grid_) {
    // Escape leaves an editor without committing it, as scrolling does, and
    // gives the arrow keys back to the table.
    if (type == QEvent::KeyPress) editor_->Scroll();
    event->accept();
    return true;
  }
  if (!enter && !f1) return CShellView::eventFilter(watched, event);
  if (type == QEvent::ShortcutOverride) {
    // These keys belong to the table, not to the window's shortcuts.
    event->accept();
    return true;
  }
  if (f1) {
    const QVariant id = watched->property("controlId");
    // Handled here: handed on, the key would climb to the grid and open the
    // table's topic over the editor's.
    CShellApp::Current()->ShowHelp(id.isValid() ? id.toInt() : kGridControlId);
    return true;
  }
  editor_->EnterKey();
  return true;
}

}  // namespace varo::model16::ui
