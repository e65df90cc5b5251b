// The channel view's spreadsheet commands: selection, clipboard, row
// operations, plan files and comparison, the keys the table answers beyond
// Enter and F1, and the table's context menu.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>

#include <algorithm>

#include "radio/ChannelCsv.h"
#include "radio/DatFile.h"
#include "radio/ImageCompare.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CVerifyResultDlg.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/RadioDocument.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

namespace {

// Beside the text, a copy names the radio whose table it comes from and the
// English headers of its columns: the other programmer pastes them by name.
const QString kColumnsFormat = QStringLiteral("application/x-varo-table-columns");

std::string Bytes(const QString& text) { return text.toUtf8().toStdString(); }

bool Has(const std::vector<long>& rows, long row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

}  // namespace

// The grid's events as the view wants them: the editor of a cell entered
// stays closed while it is one of several selected cells, or was reached by
// a right-click, so that the selection and its context menu can be used.
void CChannelView::GridRelay::OnEnterCell() {
  if (!view_.grid_->EditorUnwanted()) view_.editor_->EnterCell();
}

void CChannelView::GridRelay::OnLeaveCell() { view_.editor_->Commit(); }

void CChannelView::GridRelay::OnScroll() { view_.editor_->Scroll(); }

void CChannelView::SetUpSheet() {
  relay_ = std::make_unique<GridRelay>(*this);
  grid_->SetEvents(relay_.get());
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CChannelView::OnSelectionChanged);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { ShowTableMenu(grid_->viewport()->mapToGlobal(pos)); });
  QHeaderView* labels = grid_->verticalHeader();
  labels->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(labels, &QWidget::customContextMenuRequested, this, [this, labels](const QPoint& pos) {
    // A right-click on a row label outside the selection selects that row,
    // as a click does; inside it, the selection stays.
    const int section = labels->logicalIndexAt(pos);
    if (section >= 0 && !Has(grid_->SelectedRows(), section + 1)) grid_->selectRow(section);
    ShowTableMenu(labels->mapToGlobal(pos));
  });
}

radio::Sheet CChannelView::TableSheet() const {
  return {*grid_, *Model().table, Limits(), app_.Chinese()};
}

void CChannelView::OnSelectionChanged() {
  // More than the current cell selected: the cell's editor closes as if the
  // cell were left.
  if (grid_->EditorUnwanted()) editor_->Commit();
}

void CChannelView::ShowTableMenu(const QPoint& global) {
  CMainFrame* frame = app_.MainFrame();
  if (!frame) return;
  if (!tableMenu_) {
    tableMenu_ = new QMenu(this);
    tableMenu_->setObjectName(QStringLiteral("tableMenu"));
    const int items[] = {ID_EDIT_CUT,   ID_EDIT_COPY,   ID_EDIT_PASTE,   0,
                         ID_EDIT_CLEAR, ID_ROW_INSERT,  ID_ROW_DELETE,   ID_ROW_MOVE_UP,
                         ID_ROW_MOVE_DOWN, 0,           ID_FILL_DOWN};
    for (int id : items) {
      if (id == 0) {
        tableMenu_->addSeparator();
      } else if (QAction* action = frame->Action(id)) {
        tableMenu_->addAction(action);
      }
    }
  }
  frame->UpdateCommandUI();
  tableMenu_->popup(global);
}

bool CChannelView::SheetKey(QObject* watched, QKeyEvent* key) {
  const bool press = key->type() == QEvent::KeyPress;
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  const bool onGrid = watched == grid_ && grid_->hasFocus();
  const bool onEditor = std::find(editorWidgets_.begin(), editorWidgets_.end(), watched) !=
                        editorWidgets_.end();
  if (!onGrid && !onEditor) return false;
  const int k = key->key();

  // Ctrl+V in an edit box with several cells on the clipboard pastes them
  // into the table (left unaccepted, the key becomes the window's shortcut);
  // a single value goes into the box.
  if (!press && onEditor && key->matches(QKeySequence::Paste) && qobject_cast<QLineEdit*>(watched)) {
    QString text = QGuiApplication::clipboard()->text();
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    if (text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\n'))) {
      key->ignore();
      return true;
    }
  }

  // Tab and Shift+Tab: the next and the previous cell, row after row.
  if ((k == Qt::Key_Tab || k == Qt::Key_Backtab) && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
    if (press) {
      const bool back = k == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
      const long lastRow = grid_->Rows() - 1, lastCol = grid_->Cols() - 1;
      long row = grid_->Row(), col = grid_->Col() + (back ? -1 : 1);
      if (col > lastCol) col = 1, row = row < lastRow ? row + 1 : 1;
      if (col < 1) col = lastCol, row = row > 1 ? row - 1 : lastRow;
      grid_->MoveToCell(row, col);
    }
    key->accept();
    return true;
  }
  // Del on the table clears the selected rows; in an editor it stays the
  // editor's.
  if (onGrid && k == Qt::Key_Delete && mods == Qt::NoModifier) {
    if (press && app_.MainFrame()) app_.MainFrame()->RouteCommand(ID_EDIT_CLEAR);
    key->accept();
    return true;
  }
  if (!press) return false;
  // From an open editor these keys move the current cell, as on the table.
  const bool ctrlHomeEnd = (k == Qt::Key_Home || k == Qt::Key_End) && (mods & Qt::ControlModifier);
  if (onEditor && (ctrlHomeEnd || k == Qt::Key_PageUp || k == Qt::Key_PageDown)) {
    QKeyEvent copy(QEvent::KeyPress, k, key->modifiers(), key->text());
    QApplication::sendEvent(grid_, &copy);
    return true;
  }
  // A character typed on the table starts editing the current cell with it.
  const QString text = key->text();
  if (onGrid && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
      !text.isEmpty() && text.at(0).isPrint()) {
    const long row = grid_->Row(), col = grid_->Col();
    grid_->SelectBlock({row, col, row, col});
    editor_->EnterCell();
    QWidget* widget = EditorQWidget(col);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) box->clear();
    QKeyEvent copy(QEvent::KeyPress, k, key->modifiers(), text);
    QApplication::sendEvent(widget, &copy);
    return true;
  }
  return false;
}

bool CChannelView::IsSheetCommand(int id) {
  switch (id) {
    case ID_EDIT_COPY:
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

bool CChannelView::OnSheetCommand(int id) {
  switch (id) {
    case ID_EDIT_COPY:
      CopySelection();
      return true;
    case ID_EDIT_CUT:
      CopySelection();
      editor_->Commit();
      radio::ClearCells(TableSheet(), grid_->SelectedBlock());
      RecordChange();
      return true;
    case ID_EDIT_PASTE:
      Paste();
      return true;
    case ID_EDIT_CLEAR:
    case ID_ROW_INSERT:
    case ID_ROW_DELETE:
    case ID_ROW_MOVE_UP:
    case ID_ROW_MOVE_DOWN:
    case ID_FILL_DOWN:
      RowCommand(id);
      return true;
    case ID_FILE_EXPORT_CSV:
      ExportCsv();
      return true;
    case ID_FILE_IMPORT_CSV:
      ImportCsv();
      return true;
    case ID_FILE_COMPARE:
      CompareWithFile();
      return true;
    default:
      return false;
  }
}

void CChannelView::CopySelection() {
  const radio::CellBlock block = grid_->SelectedBlock();
  auto* mime = new QMimeData;
  mime->setText(FromBytes(radio::FormatTabText(radio::CopyCells(*grid_, block))));
  std::string columns = Model().name;
  for (long col = block.left; col <= block.right; ++col)
    columns += "\t" + Model().table->Column(col).header.english;
  mime->setData(kColumnsFormat, QByteArray::fromStdString(columns));
  QGuiApplication::clipboard()->setMimeData(mime);
}

void CChannelView::Paste() {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime || !mime->hasText()) return;
  // Columns copied from the other radio's table go by their names.
  std::vector<std::string> sourceHeader;
  if (mime->hasFormat(kColumnsFormat)) {
    const radio::TextBlock columns = radio::ParseTabText(mime->data(kColumnsFormat).toStdString());
    if (!columns.empty() && !columns.front().empty() && columns.front().front() != Model().name)
      sourceHeader.assign(columns.front().begin() + 1, columns.front().end());
  }
  editor_->Commit();
  const radio::CellBlock at = grid_->SelectedBlock();
  const radio::PasteReport report =
      radio::PasteText(TableSheet(), at.top, at.left, Bytes(mime->text()), sourceHeader);
  RecordChange();
  if (report.pasted) grid_->SelectBlock(*report.pasted);
  if (!report.Complete()) {
    ShowLines(app_.Tr("Paste", "粘贴"), ID_EDIT_PASTE,
              radio::FormatPasteReport(report, *Model().table, app_.Chinese()), true);
  }
}

void CChannelView::RowCommand(int id) {
  editor_->Commit();
  std::vector<long> rows = grid_->SelectedRows();
  const radio::Sheet sheet = TableSheet();
  radio::MemoryImage& image = Doc().Image();
  const long col = grid_->Col();
  switch (id) {
    case ID_EDIT_CLEAR:
      radio::ClearRows(sheet, rows);
      break;
    case ID_ROW_INSERT:
      if (radio::InsertRows(Model(), image, *grid_, rows) == radio::RowChange::kNoRoom) {
        app_.MessageBox(app_.Tr("The last rows of the table hold channels that would drop off its "
                                "end. Delete or clear them first to make room for a new row.",
                                "表末的行中已有信道，插入空行会把它们挤出表外。请先删除或清除这些行。"),
                        QMessageBox::Ok, QMessageBox::Warning);
        return;
      }
      break;
    case ID_ROW_DELETE:
      radio::DeleteRows(Model(), image, *grid_, rows);
      break;
    case ID_ROW_MOVE_UP:
    case ID_ROW_MOVE_DOWN:
      // The selection goes with the channels, so that the next move takes
      // them further.
      if (radio::MoveRows(Model(), image, *grid_, rows, id == ID_ROW_MOVE_UP ? -1 : 1) ==
          radio::RowChange::kDone) {
        grid_->PlaceCurrent(rows.front(), col);
        grid_->SelectRows(rows);
      }
      break;
    case ID_FILL_DOWN: {
      const radio::PasteReport report = radio::FillDown(sheet, grid_->SelectedBlock());
      RecordChange();
      if (!report.Complete()) {
        ShowLines(app_.Tr("Fill Down", "向下填充"), ID_FILL_DOWN,
                  radio::FormatPasteReport(report, *Model().table, app_.Chinese()), true);
      }
      return;
    }
    default:
      return;
  }
  RecordChange();
}

void CChannelView::ExportCsv() {
  // What the open editor holds counts, as for a save.
  CommitCellForSave();
  QString base = Doc().PathName();
  if (base.isEmpty()) base = QDir(app_.LastFolder()).filePath(Doc().ProposedFileName());
  const QFileInfo info(base);
  QString path = QFileDialog::getSaveFileName(
      app_.DialogParent(), app_.Tr("Export CSV", "导出 CSV"),
      info.dir().filePath(info.completeBaseName() + QStringLiteral(".csv")),
      QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return;
  app_.RememberFolder(path);
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  QSaveFile file(path);
  const std::string text = radio::ExportCsv(Model(), Doc().Capture().image);
  if (file.open(QIODevice::WriteOnly) &&
      file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
      file.commit())
    return;
  app_.MessageBox(app_.Tr("The CSV file could not be written; please check the folder and the file "
                          "name.",
                          "无法写入 CSV 文件，请检查文件夹和文件名。"),
                  QMessageBox::Ok, QMessageBox::Warning);
}

void CChannelView::ImportCsv() {
  const QString path = QFileDialog::getOpenFileName(
      app_.DialogParent(), app_.Tr("Import CSV", "导入 CSV"), app_.LastFolder(),
      app_.Tr("CSV files (*.csv);;All files (*)", "CSV 文件 (*.csv);;所有文件 (*)"));
  if (path.isEmpty()) return;
  app_.RememberFolder(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    app_.MessageBox(FromBytes(radio::DatFileErrorText(radio::DatFileError::kCannotOpen,
                                                      Bytes(path), app_.Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return;
  }
  editor_->Commit();
  const radio::CsvImport result = radio::ImportCsv(Model(), file.readAll().toStdString(), Limits(),
                                                   app_.Chinese(), *grid_, Doc().Image());
  if (result.Ok()) RecordChange();
  ShowLines(app_.Tr("Import CSV", "导入 CSV"), ID_FILE_IMPORT_CSV,
            radio::FormatCsvImport(result, app_.Chinese()), !result.Ok() || !result.notes.empty());
}

void CChannelView::CompareWithFile() {
  const QString path = QFileDialog::getOpenFileName(
      app_.DialogParent(), app_.Tr("Compare with", "比较"), app_.LastFolder(),
      app_.Tr("Channel data files (*.dat);;All files (*)", "信道数据文件 (*.dat);;所有文件 (*)"));
  if (path.isEmpty()) return;
  app_.RememberFolder(path);
  const QFileInfo info(path);
  if (info.exists() && info.size() != static_cast<qint64>(Model().imageSize)) {
    app_.MessageBox(app_.Tr("%1 is not a channel data file of this radio (%2 bytes).",
                            "%1 不是本电台的信道数据文件（%2 字节）。")
                        .arg(info.fileName())
                        .arg(Model().imageSize),
                    QMessageBox::Ok, QMessageBox::Warning);
    return;
  }
  radio::MemoryImage other(Model().imageSize);
  const std::string file = Bytes(path);
  if (const auto error = radio::LoadDatFile(file, other.data(), other.size());
      error != radio::DatFileError::kNone) {
    app_.MessageBox(FromBytes(radio::DatFileErrorText(error, file, app_.Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return;
  }
  // The document as the table shows it, the open editor's text aside.
  const radio::ImageComparison comparison =
      radio::CompareImages(Model(), Doc().Capture().image, other, app_.Chinese());
  ShowLines(app_.Tr("Compare with %1", "与 %1 比较").arg(info.fileName()), ID_FILE_COMPARE,
            radio::FormatDocumentComparison(comparison, *Model().table, app_.Chinese(),
                                            Bytes(app_.Tr("Document", "文档")),
                                            Bytes(info.fileName())),
            !comparison.Matches());
}

void CChannelView::ShowLines(const QString& title, int helpId, const std::vector<std::string>& lines,
                             bool warning) {
  QStringList list;
  for (const std::string& line : lines) list << FromBytes(line);
  CVerifyResultDlg dlg(app_, list, app_.DialogParent(), title, helpId, warning);
  dlg.exec();
}

}  // namespace varo::shell
