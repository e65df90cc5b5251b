#pragma once

#include <QColor>
#include <QTableWidget>

#include <vector>

#include "radio/CellEditor.h"
#include "radio/GridControl.h"
#include "radio/TableSheet.h"

class QAbstractButton;

namespace varo::shell {

// The channel table: the grid operations the codec, the table editor and
// printing use, over a QTableWidget. Row 0 and column 0 are the fixed cells;
// they are the table's column and row headers, so they stay in place while
// the cells scroll, and the top-left corner shows the text of cell (0, 0).
//
// The current cell is the grid's own (Row, Col, at least 1): a change by the
// user or by SetRow/SetCol raises LeaveCell while Row/Col still name the old
// cell, then EnterCell for the new one. A mouse press on a cell raises
// EnterCell again (the editor comes back on a cell clicked twice). Moving the
// cells raises Scroll.
//
// Cell editors are children of the viewport. CellLeft/CellTop are measured
// from a corner 3 pixels above and left of the viewport's, because the editor
// rules place an editor 3 pixels up and left of the reported corner; so the
// editor lies exactly on the cell.
//
// Texts are stored as the bytes written and shown decoded (UTF-8, else GBK).
//
// Cells, ranges and whole rows or columns (a click on a header, Shift and
// Ctrl to extend) can be selected; the selection is separate from the
// current cell, which always lies inside it.
class CMSFlexGrid : public QTableWidget, public radio::GridControl {
  Q_OBJECT

 public:
  static constexpr int kEditorInset = radio::kEditorInset;

  CMSFlexGrid(long rows, long cols, QWidget* parent = nullptr);
  ~CMSFlexGrid() override;

  // GridControl
  std::string TextMatrix(long row, long col) const override;
  void SetTextMatrix(long row, long col, const std::string& text) override;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  long Rows() const override { return rows_; }
  long Cols() const override { return cols_; }
  long Row() const override { return row_; }
  void SetRow(long row) override;
  long Col() const override { return col_; }
  void SetCol(long col) override;
  long CellLeft() const override;
  long CellTop() const override;
  long CellWidth() const override;
  long CellHeight() const override;
  long ColWidth(long col) const override;
  void SetColWidth(long col, long twips) override;
  void SetColAlignment(long col, short alignment) override;
  void SetForeColorFixed(std::uint32_t rgb) override;
  void SetEvents(radio::GridEvents* events) override { events_ = events; }

  // Where cell (row, col) is, in viewport pixels.
  QRect CellRect(long row, long col) const;
  // Marks cell (row, col) with the warning colour and `tip` as its tooltip;
  // an empty `tip` takes the mark away. Fixed cells take no mark.
  void SetCellMark(long row, long col, const QString& tip);
  // The tooltip of a marked cell; "" when the cell is not marked.
  QString CellMark(long row, long col) const;
  static QColor MarkColor() { return {255, 205, 195}; }
  QColor ForeColorFixed() const { return fixedColor_; }
  // The whole table without scroll bars.
  QSize sizeHint() const override;

  // The rectangle around the selected cells (the current cell when nothing
  // is selected).
  radio::CellBlock SelectedBlock() const;
  // The rows that hold a selected cell (the current row when nothing is
  // selected), in order.
  std::vector<long> SelectedRows() const;
  // Whether the current cell is one of several selected cells, or was
  // reached by a right-click: its editor then stays closed.
  bool EditorUnwanted() const;
  // Moves the current cell to (row, col) in one step: LeaveCell, then
  // EnterCell, as a click does.
  void MoveToCell(long row, long col);
  // Moves the current cell without LeaveCell and EnterCell (the caller has
  // closed the editor) and without touching the selection.
  void PlaceCurrent(long row, long col);
  // Selects `block`; the current cell stays.
  void SelectBlock(const radio::CellBlock& block);
  // Selects the whole of each of `rows`; the current cell stays.
  void SelectRows(const std::vector<long>& rows);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableWidgetItem* Cell(long row, long col) const;
  void MoveTo(long row, long col);
  int TwipsToPixelsX(long twips) const;
  long PixelsToTwipsX(int px) const;
  long PixelsToTwipsY(int px) const;
  Qt::Alignment AlignmentOf(long col) const;

  long rows_;
  long cols_;
  long row_ = 1;
  long col_ = 1;
  bool syncing_ = false;
  bool rightPress_ = false;
  bool enterOnRelease_ = false;
  std::string corner_;
  QColor fixedColor_ = Qt::black;
  std::vector<short> alignment_;
  QAbstractButton* cornerButton_ = nullptr;
  radio::GridEvents* events_ = nullptr;
};

}  // namespace varo::shell
