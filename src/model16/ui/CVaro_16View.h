#pragma once

#include <memory>

#include "model16/ProductBand.h"
#include "model16/TableEditor.h"
#include "model16/ui/CellEditorWidgets.h"
#include "model16/ui/QtMessageBoxes.h"
#include "shell/ShellDocument.h"

namespace varo::shell {
class CMSFlexGrid;
class PrintRenderer;
}

namespace varo::model16::ui {

class CVaro_16Doc;
class TransferController;

// The channel table view of a Varo16 document: the grid (control 1000) with
// its eight in-place editors, the band limits, and the view's commands: Read
// and Write through the Process dialog, Scan Info, Print, direct Print, Print
// Preview and Print to PDF, COM Setup and Language. The table is the working
// copy of the image's channels: it is filled from the image at every initial
// update and after a completed read from the radio, and stored back by Save,
// Write and Scan Info.
//
// While a transfer is offered or runs, the commands that would change the
// document or start another transfer are disabled (menus, toolbar and tree):
// Read, Write, New, Open, Save, Save As, Language, Scan Info, Optional
// Features and Product Information. They come back when the Process dialog
// has gone.
//
// Keys reaching the grid or an editor: F1 opens the help topic of the focused
// control (1000 for the table, else the editor's id); Enter commits the cell
// and moves on; Escape closes an editor without committing it.
class CVaro_16View : public shell::CShellView, public EditorHost {
  Q_OBJECT

 public:
  explicit CVaro_16View(CVaro_16Doc& doc, QWidget* parent = nullptr);
  ~CVaro_16View() override;

  CVaro_16Doc& Doc() const;
  shell::CMSFlexGrid& Grid() const { return *grid_; }
  TableEditor& Editor() const { return *editor_; }
  CellEditor& EditorWidget(long col) const { return editor_->EditorForColumn(col); }
  QWidget* EditorQWidget(long col) const;

  void OnInitialUpdate() override;
  bool OnCommand(int id) override;
  std::optional<bool> CommandEnabled(int id) const override;
  int FocusHelpContext() const override;

  // Image to table and the band selection step: band limits and the main
  // window's title. Also what a completed read from the radio runs.
  void FillTableFromDocument();
  // Commits the cell being edited (before a transfer to the radio).
  CommitOutcome CommitCell() { return editor_->Commit(); }

  BandLimits Limits() const { return editor_->bandLimits(); }
  void SetBandLimits(const BandLimits& limits) { editor_->SetBandLimits(limits); }

  TransferController& Transfer() const { return *transfer_; }
  // True while the Process dialog is offered or its transfer runs.
  bool TransferBusy() const override;

  // The report of this document: options from the image, channels from the
  // table as shown, the owner line from the INI.
  shell::PrintRenderer Renderer() const;

  // EditorHost
  int PixelsPerInchX() const override;
  int PixelsPerInchY() const override;
  void RedrawGrid() override;

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnScanInfo();
  void OnPrintToPdf();

  shell::CMSFlexGrid* grid_;
  QtEditBox rx_;
  QtEditBox tx_;
  QtDropDownList decode_;
  QtDropDownList encode_;
  QtDropDownList power_;
  QtDropDownList scanAdd_;
  QtDropDownList busyLock_;
  QtDropDownList bandwidth_;
  QtMessageBoxes messages_;
  std::unique_ptr<TableEditor> editor_;
  TransferController* transfer_ = nullptr;
  bool firstUpdate_ = true;
};

}  // namespace varo::model16::ui
