#pragma once

#include <QSize>

class QKeyEvent;
class QMenu;

#include <memory>
#include <optional>
#include <vector>

#include "radio/BandCheck.h"
#include "radio/CellEditor.h"
#include "radio/CloneLink.h"
#include "radio/ProductBand.h"
#include "radio/RadioModel.h"
#include "radio/TableEditor.h"
#include "radio/TableSheet.h"
#include "radio/UndoHistory.h"
#include "shell/QtMessageBoxes.h"
#include "shell/ShellDocument.h"

namespace varo::shell {

class CMSFlexGrid;
class CRadioDoc;
class CShellApp;
class FleetController;
class PrintRenderer;
class TransferController;

// The channel table view of a programmer's document, built from its radio's
// table description: the grid (control 1000) with one in-place editor per
// column, the band limits, and the view's commands: Read and Write through
// the Process dialog, Print, direct Print, Print Preview and Print to PDF,
// COM Setup and Language. The table is the working copy of the image's
// channels: it is filled from the image at every initial update and after a
// completed read from the radio, and stored back by Save and Write.
//
// While a transfer is offered or runs, the commands that would change the
// document or start another transfer are disabled (menus, toolbar and tree).
// They come back when the Process dialog has gone.
//
// Keys reaching the grid or an editor: F1 opens the help topic of the focused
// control (1000 for the table, else the editor's id); Enter commits the cell
// and moves on; Escape closes an editor without committing it.
//
// Every change of the document is an undo step (Edit > Undo, Ctrl+Z; Redo,
// Ctrl+Y or Ctrl+Shift+Z): a committed cell, a dialog's OK, a completed read.
// Undo and Redo first close an open cell editor without committing it.
//
// Band check: frequency cells outside the band are marked (colour and
// tooltip) whenever the table or the band changes; after a band change by
// Product Information or a read a message names the channels, and Write asks
// before it sends them ("Write anyway" / "Cancel").
//
// Read asks about unsaved changes first (the read replaces the table). Verify
// (32801) reads the radio into a copy and shows what differs. Write to
// Several Radios (32810) writes the table into one radio after another, each
// verified and logged (FleetController), after the same band check as Write.
//
// The table is also a dealer's spreadsheet (ChannelSheet.cpp): cells, ranges
// and whole rows are selected with the mouse (row headers, Shift, Ctrl);
// Cut, Copy and Paste move tab-separated text through the clipboard; rows are
// cleared (Del), inserted, deleted and moved, cells filled down; the plan is
// exported to and imported from a CSV file and compared with a .dat file.
// Every one of these is one undo step. While several cells are selected no
// editor is open; Tab and Shift+Tab move to the next and previous cell,
// committing as leaving a cell does; Ctrl+Home, Ctrl+End, Page Up and Page
// Down move the current cell from an editor too; a character typed on the
// table starts editing the current cell with it.
//
// A radio's own view derives from it for commands of its own (the
// 16-channel radio's Scan Info); its dialogs that change the document call
// RecordChange() after their OK.
class CChannelView : public CShellView, public radio::EditorHost {
  Q_OBJECT

 public:
  CChannelView(CShellApp& app, CRadioDoc& doc, QWidget* parent = nullptr);
  ~CChannelView() override;

  CRadioDoc& Doc() const;
  const radio::RadioModel& Model() const;
  CMSFlexGrid& Grid() const { return *grid_; }
  radio::TableEditor& Editor() const { return *editor_; }
  radio::CellEditor& EditorWidget(long col) const { return editor_->EditorForColumn(col); }
  // The widget of the editor serving `col`.
  QWidget* EditorQWidget(long col) const;

  void OnInitialUpdate() override;
  bool OnCommand(int id) override;
  std::optional<bool> CommandEnabled(int id) const override;
  int FocusHelpContext() const override;

  // Image to table and the band selection step: band limits and the main
  // window's title. Also what a completed read from the radio runs.
  void FillTableFromDocument();
  // Commits the cell being edited (before a transfer to the radio).
  radio::CommitOutcome CommitCell() { return editor_->Commit(); }
  // Before a save: a failed check keeps the row as it was (see
  // TableEditor::CommitForSave).
  radio::CommitOutcome CommitCellForSave() { return editor_->CommitForSave(); }

  radio::BandLimits Limits() const { return editor_->bandLimits(); }
  void SetBandLimits(const radio::BandLimits& limits) { editor_->SetBandLimits(limits); }

  // After a change of the image or the table: one undo step (when something
  // changed), the band marks and the commands' states follow.
  void RecordChange();
  void Undo();
  void Redo();

  // The channels whose frequencies lie outside the band, as marked now.
  const std::vector<radio::OutOfBandChannel>& OutOfBand() const { return outOfBand_; }
  // Marks the frequency cells outside the band and takes the marks off the
  // others.
  void UpdateBandMarks();
  // The band in words, for messages ("136 - 174MHz").
  QString BandText() const;
  // After the band changed: names the channels outside it in a message, if
  // there are any.
  void ReportOutOfBand();
  // Before a write: with channels outside the band, asks "Write anyway" or
  // "Cancel"; true when the write may go on.
  bool ConfirmWriteOutOfBand();

  TransferController& Transfer() const { return *transfer_; }
  FleetController& Fleet() const { return *fleet_; }
  // True while the Process dialog is offered or its transfer runs, and while
  // the window of a batch of radios is open.
  bool TransferBusy() const override;

  // The report of this document: options from the image, channels from the
  // table as shown, the owner line from the INI's language section.
  PrintRenderer Renderer() const;

  // The table being edited, for the spreadsheet operations.
  radio::Sheet TableSheet() const;
  // The context menu of the table (Cut, Copy, Paste and the row commands);
  // built when asked for, null until then.
  QMenu* TableMenu() const { return tableMenu_; }
  // Opens the context menu at `global` (a screen position).
  void ShowTableMenu(const QPoint& global);

  // EditorHost
  int PixelsPerInchX() const override;
  int PixelsPerInchY() const override;
  void RedrawGrid() override;
  void CellCommitted() override { RecordChange(); }

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  CShellApp& App() const { return app_; }

 private:
  void OnPrintToPdf();
  void ShowState(const radio::DocumentState* state);
  void OnTransferFinished(radio::CloneLink::Outcome outcome);
  bool TakeUndoKey(QObject* watched, QKeyEvent* key);
  // The grid's events as the view wants them (ChannelSheet.cpp).
  class GridRelay : public radio::GridEvents {
   public:
    explicit GridRelay(CChannelView& view) : view_(view) {}
    void OnEnterCell() override;
    void OnLeaveCell() override;
    void OnScroll() override;

   private:
    CChannelView& view_;
  };
  void SetUpSheet();
  // The spreadsheet commands (ChannelSheet.cpp): always enabled outside a
  // transfer.
  static bool IsSheetCommand(int id);
  bool OnSheetCommand(int id);
  bool SheetKey(QObject* watched, QKeyEvent* key);
  void OnSelectionChanged();
  void CopySelection();
  void Paste();
  void RowCommand(int id);
  void ExportCsv();
  void ImportCsv();
  void CompareWithFile();
  // A list of result lines in a window of its own (the summary first).
  void ShowLines(const QString& title, int helpId, const std::vector<std::string>& lines,
                 bool warning);

  CShellApp& app_;
  CMSFlexGrid* grid_;
  // The editor objects of the columns, and their widgets by column (null for
  // the fixed column).
  std::vector<std::unique_ptr<radio::CellEditor>> editorObjects_;
  std::vector<QWidget*> editorWidgets_;
  QtMessageBoxes messages_;
  std::unique_ptr<radio::TableEditor> editor_;
  TransferController* transfer_ = nullptr;
  FleetController* fleet_ = nullptr;
  bool firstUpdate_ = true;
  std::vector<radio::OutOfBandChannel> outOfBand_;
  std::unique_ptr<GridRelay> relay_;
  QMenu* tableMenu_ = nullptr;
};

}  // namespace varo::shell
