#include "shell/ChannelView.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "platform/ProgramFiles.h"
#include "radio/BandCheck.h"
#include "radio/ImageCompare.h"
#include "radio/PrintLayout.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CVerifyResultDlg.h"
#include "shell/CellEditorWidgets.h"
#include "shell/CommandIds.h"
#include "shell/FleetController.h"
#include "shell/PrintRenderer.h"
#include "shell/RadioDocument.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"
#include "shell/TransferController.h"

namespace varo::shell {

namespace {

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

CChannelView::CChannelView(CShellApp& app, CRadioDoc& doc, QWidget* parent)
    : CShellView(doc, parent),
      app_(app),
      grid_(new CMSFlexGrid(doc.Model().table->Rows(), doc.Model().table->Cols(), this)),
      messages_(app) {
  setObjectName(QStringLiteral("CChannelView"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  setFocusProxy(grid_);

  // One editor per column, as the table description asks: edit boxes for
  // frequencies and text, drop-down lists for the rest.
  const radio::TableSpec& table = *doc.Model().table;
  std::vector<radio::ColumnEditor> editors(static_cast<std::size_t>(table.Cols()));
  editorWidgets_.assign(static_cast<std::size_t>(table.Cols()), nullptr);
  for (long col = 0; col < table.Cols(); ++col) {
    const radio::ColumnSpec& spec = table.Column(col);
    const auto at = static_cast<std::size_t>(col);
    if (spec.editor == radio::EditorKind::kDropDown) {
      auto list = std::make_unique<QtDropDownList>(spec.editorId, grid_->viewport(), grid_);
      editors[at].list = list.get();
      editorWidgets_[at] = list->Widget();
      editorObjects_.push_back(std::move(list));
    } else if (spec.editor != radio::EditorKind::kNone) {
      auto box = std::make_unique<QtEditBox>(spec.editorId, grid_->viewport(), grid_);
      box->SetTextRules(spec.maxLength, spec.upperCase);
      editors[at].box = box.get();
      editorWidgets_[at] = box->Widget();
      editorObjects_.push_back(std::move(box));
    }
  }
  editor_ = std::make_unique<radio::TableEditor>(*grid_, table, std::move(editors), *this,
                                                 messages_, app.Chinese());
  SetUpSheet();

  TransferController::Hooks hooks;
  hooks.commitCell = [this] { CommitCell(); };
  hooks.portName = [this] { return PortName(); };
  hooks.setBandLimits = [this](const radio::BandLimits& limits) { editor_->SetBandLimits(limits); };
  transfer_ = new TransferController(app, doc.Model(), doc.Image(), *grid_, std::move(hooks), this);
  // The guarded commands follow the Process dialog: off when it is offered,
  // on again once it has gone.
  connect(transfer_, &TransferController::busyChanged, this, [&app] {
    if (CMainFrame* frame = app.MainFrame()) frame->UpdateCommandUI();
  });
  connect(transfer_, &TransferController::transferFinished, this,
          &CChannelView::OnTransferFinished);
  FleetController::Hooks fleetHooks;
  fleetHooks.plan = [this] {
    radio::MemoryImage plan = Doc().Image();
    Model().tableToImage(*grid_, plan);
    return plan;
  };
  fleetHooks.file = [this] { return Doc().PathName().isEmpty() ? Doc().Title() : Doc().PathName(); };
  fleet_ = new FleetController(app, doc.Model(), *transfer_, std::move(fleetHooks), this);
  connect(fleet_, &FleetController::busyChanged, this, [&app] {
    if (CMainFrame* frame = app.MainFrame()) frame->UpdateCommandUI();
  });

  grid_->installEventFilter(this);
  for (QWidget* widget : editorWidgets_) {
    if (widget) widget->installEventFilter(this);
  }
}

CChannelView::~CChannelView() {
  // The editors' widgets go with the grid; nothing may reach the rules then.
  grid_->SetEvents(nullptr);
}

CRadioDoc& CChannelView::Doc() const { return static_cast<CRadioDoc&>(Document()); }

const radio::RadioModel& CChannelView::Model() const { return Doc().Model(); }

QWidget* CChannelView::EditorQWidget(long col) const {
  return editorWidgets_[static_cast<std::size_t>(Model().table->EditorColumn(col))];
}

void CChannelView::OnInitialUpdate() {
  if (firstUpdate_) {
    editor_->SetUp();
    firstUpdate_ = false;
  }
  if (auto path = FindFileNoCase(app_.ProgramDir(), "title.ico")) {
    const QIcon icon(QString::fromStdString(*path));
    if (!icon.availableSizes().isEmpty() && parentWidget()) parentWidget()->setWindowIcon(icon);
  }
  FillTableFromDocument();
  Doc().ResetHistory();
  UpdateBandMarks();
  updateGeometry();
}

void CChannelView::FillTableFromDocument() {
  CShellApp& app = app_;
  const radio::BandLimits limits = radio::FillTableFromImage(
      Model(), Doc().Image(), *grid_, app.Ini(), app.LanguageValue(), app.Chinese(),
      app.NewDocumentFlag(), [&app](const std::string& title) {
        if (app.MainFrame()) app.MainFrame()->SetTitle(FromBytes(title));
      });
  editor_->SetBandLimits(limits);
}

bool CChannelView::TransferBusy() const { return transfer_->busy() || fleet_->busy(); }

void CChannelView::RecordChange() {
  Doc().RecordChange();
  UpdateBandMarks();
  if (CMainFrame* frame = app_.MainFrame()) frame->UpdateCommandUI();
}

void CChannelView::Undo() { ShowState(Doc().Undo()); }

void CChannelView::Redo() { ShowState(Doc().Redo()); }

void CChannelView::ShowState(const radio::DocumentState* state) {
  if (!state) return;
  // Text typed into an open editor is dropped, as Escape drops it: the step
  // goes back to what the table held.
  editor_->Scroll();
  const radio::ProductOffsets& product = Model().product;
  radio::MemoryImage& image = Doc().Image();
  const bool productChanged = image[product.type] != state->image[product.type] ||
                              image[product.band] != state->image[product.band];
  radio::RestoreState(*state, image, *grid_);
  if (productChanged) {
    // The type and band come back with their limits, caption and registry
    // values, as when the document was opened with them.
    CShellApp& app = app_;
    editor_->SetBandLimits(radio::RunBandSelectionStep(
        image, product, app.Ini(), app.LanguageValue(), app.Chinese(), false,
        [&app](const std::string& title) {
          if (app.MainFrame()) app.MainFrame()->SetTitle(FromBytes(title));
        }));
  }
  UpdateBandMarks();
  if (CMainFrame* frame = app_.MainFrame()) frame->UpdateCommandUI();
}

QString CChannelView::BandText() const {
  std::string text = radio::LookUpProductChoice(Doc().Image(), Model().product, app_.Ini()).bandText;
  // Limits set from another text (a choice without a band) name themselves.
  if (radio::BandLimitsFromText(text) != Limits()) text.clear();
  return FromBytes(radio::BandDescription(text, Limits()));
}

void CChannelView::UpdateBandMarks() {
  const radio::TableSpec& table = *Model().table;
  outOfBand_ = radio::OutOfBandChannels(*grid_, table, Limits());
  const QString tip = app_.Tr("Outside the band %1", "超出频段 %1").arg(BandText());
  const long rx = table.ColumnOf(radio::ColumnRole::kRx);
  const long tx = table.ColumnOf(radio::ColumnRole::kTx);
  std::size_t next = 0;
  for (long row = 1; row < table.Rows(); ++row) {
    const bool listed = next < outOfBand_.size() && outOfBand_[next].row == row;
    const radio::OutOfBandChannel channel = listed ? outOfBand_[next++] : radio::OutOfBandChannel{};
    grid_->SetCellMark(row, rx, channel.rx ? tip : QString());
    grid_->SetCellMark(row, tx, channel.tx ? tip : QString());
  }
}

void CChannelView::ReportOutOfBand() {
  if (outOfBand_.empty()) return;
  const QString list = FromBytes(radio::ChannelList(outOfBand_, *Model().table));
  app_.MessageBox(app_.Tr("These channels lie outside the band %1: %2.\n"
                          "Their frequencies are marked in the table; correct them before "
                          "writing to the radio.",
                          "以下信道超出频段 %1：%2。\n这些频率已在信道表中标出，请在写频前修改。")
                      .arg(BandText(), list),
                  QMessageBox::Ok, QMessageBox::Warning);
}

bool CChannelView::ConfirmWriteOutOfBand() {
  UpdateBandMarks();
  if (outOfBand_.empty()) return true;
  const QString list = FromBytes(radio::ChannelList(outOfBand_, *Model().table));
  QMessageBox box(QMessageBox::Warning, app_.AppName(),
                  app_.Tr("These channels lie outside the band %1: %2.\n"
                          "The radio may not work on them. Write anyway?",
                          "以下信道超出频段 %1：%2。\n电台可能无法在这些信道上工作。仍然写入吗？")
                      .arg(BandText(), list),
                  QMessageBox::NoButton, app_.DialogParent());
  box.setObjectName(QStringLiteral("messageBox"));
  QPushButton* write = box.addButton(app_.Tr("Write anyway", "仍然写入"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(app_.Tr("Cancel", "取消"), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.exec();
  return box.clickedButton() == write;
}

void CChannelView::OnTransferFinished(radio::CloneLink::Outcome outcome) {
  if (outcome != radio::CloneLink::Outcome::kCompleted) return;
  switch (transfer_->direction()) {
    case TransferController::Direction::kRead:
      // The read is one step, and what the document now holds is the radio's.
      Doc().SetClean();
      UpdateBandMarks();
      if (CMainFrame* frame = app_.MainFrame()) frame->UpdateCommandUI();
      ReportOutOfBand();
      break;
    case TransferController::Direction::kWrite:
      Doc().SetClean();
      break;
    case TransferController::Direction::kVerify: {
      QStringList lines;
      for (const std::string& line : radio::FormatComparison(transfer_->LastComparison(),
                                                             *Model().table, app_.Chinese()))
        lines << FromBytes(line);
      CVerifyResultDlg dlg(app_, lines, app_.DialogParent());
      dlg.exec();
      break;
    }
  }
}

bool CChannelView::OnCommand(int id) {
  switch (id) {
    case ID_READ:
      // The read replaces the table: unsaved changes are asked about first.
      if (Doc().SaveModified()) transfer_->Read();
      return true;
    case ID_WRITE:
      // The cell being edited counts for the band check as for the write.
      CommitCell();
      if (ConfirmWriteOutOfBand()) transfer_->Write();
      return true;
    case ID_VERIFY:
      transfer_->Verify();
      return true;
    case ID_FLEET:
      CommitCell();
      if (ConfirmWriteOutOfBand()) fleet_->Start();
      return true;
    case ID_EDIT_UNDO:
      Undo();
      return true;
    case ID_EDIT_REDO:
      Redo();
      return true;
    case ID_FILE_PRINT:
      Renderer().Print(app_.Printer(), app_.DialogParent());
      return true;
    case ID_FILE_PRINT_DIRECT:
      Renderer().PrintDirect(app_.Printer());
      return true;
    case ID_FILE_PRINT_PREVIEW:
      Renderer().Preview(app_.Printer(), app_.DialogParent());
      return true;
    case ID_FILE_PRINT_PDF:
      OnPrintToPdf();
      return true;
    default:
      return OnSheetCommand(id) || CShellView::OnCommand(id);
  }
}

std::optional<bool> CChannelView::CommandEnabled(int id) const {
  // While the image and the table belong to a transfer, the commands that
  // would change them or open a window of their own are held back, wherever
  // they are carried out.
  if (TransferBusy() && HeldDuringTransfer(id)) return false;
  switch (id) {
    case ID_READ:
    case ID_WRITE:
    case ID_VERIFY:
    case ID_FLEET:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_PDF:
      return true;
    case ID_EDIT_UNDO:
      return Doc().CanUndo();
    case ID_EDIT_REDO:
      return Doc().CanRedo();
    default:
      if (IsSheetCommand(id)) return true;
      return CShellView::CommandEnabled(id);
  }
}

PrintRenderer CChannelView::Renderer() const {
  return PrintRenderer(RadioReport(Model(), *grid_, Doc().Image(), app_.Chinese(),
                                   radio::CopyrightsOwner(app_.Ini(), app_.LanguageValue())));
}

void CChannelView::OnPrintToPdf() {
  // Proposed beside the document's file, else under the name a first save
  // would propose, in the folder last used.
  QString base = Doc().PathName();
  if (base.isEmpty()) base = QDir(app_.LastFolder()).filePath(Doc().ProposedFileName());
  const QFileInfo info(base);
  const QString proposed = info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
  QString path =
      QFileDialog::getSaveFileName(app_.DialogParent(), app_.Tr("Print to PDF", "打印到 PDF"),
                                   proposed, QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  app_.RememberFolder(path);
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
  QString text = app_.Str(IDS_PDF_FAILED);
  if (text.isEmpty()) text = QStringLiteral("The PDF file could not be written.");
  app_.MessageBox(text, QMessageBox::Ok, QMessageBox::Warning);
}

int CChannelView::FocusHelpContext() const {
  const QWidget* focus = focusWidget();
  for (const QWidget* w = focus; w && w != this; w = w->parentWidget()) {
    const QVariant id = w->property("controlId");
    if (id.isValid()) return id.toInt();
  }
  return radio::kGridControlId;
}

int CChannelView::PixelsPerInchX() const { return grid_->logicalDpiX(); }

int CChannelView::PixelsPerInchY() const { return grid_->logicalDpiY(); }

void CChannelView::RedrawGrid() { grid_->viewport()->update(); }

QSize CChannelView::sizeHint() const { return grid_->sizeHint(); }

bool CChannelView::TakeUndoKey(QObject* watched, QKeyEvent* key) {
  // An edit box undoes its own typing first; once it has nothing left to
  // undo (or redo), the key goes to the document's Undo (Redo).
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box) return false;
  if (key->matches(QKeySequence::Undo)) return !box->isUndoAvailable();
  if (key->matches(QKeySequence::Redo) ||
      key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
    return !box->isRedoAvailable();
  return false;
}

bool CChannelView::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
    return CShellView::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (SheetKey(watched, key)) return true;
  if (type == QEvent::ShortcutOverride && TakeUndoKey(watched, key)) {
    // Left unaccepted, the key becomes the window's shortcut.
    event->ignore();
    return true;
  }
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
    app_.ShowHelp(id.isValid() ? id.toInt() : radio::kGridControlId);
    return true;
  }
  editor_->EnterKey();
  return true;
}

}  // namespace varo::shell
