#pragma once

#include <memory>

#include "model16/ProductBand.h"
#include "model16/TableEditor.h"
#include "model16/ui/CellEditorWidgets.h"
#include "model16/ui/QtMessageBoxes.h"
#include "shell/ShellDocument.h"

namespace varo::shell {
class CMSFlexGrid;
}

namespace varo::model16::ui {

class CVaro_16Doc;

// The channel table view of a Varo16 document: the grid (control 1000) with
// its eight in-place editors, the band limits, and the view's commands. The
// table is the working copy of the image's channels: it is filled from the
// image at every initial update and stored back by Save (and by the radio
// transfers and Scan Info, which come with their dialogs).
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

  // EditorHost
  int PixelsPerInchX() const override;
  int PixelsPerInchY() const override;
  void RedrawGrid() override;

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
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
  bool firstUpdate_ = true;
};

}  // namespace varo::model16::ui
