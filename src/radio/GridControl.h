#pragma once

#include <cstdint>
#include <string>

namespace varo::radio {

// What the channel table's owner hears from the grid.
class GridEvents {
 public:
  virtual ~GridEvents() = default;
  virtual void OnEnterCell() = 0;
  virtual void OnLeaveCell() = 0;
  virtual void OnScroll() {}
};

// The channel table as the codec, the table-editor rules and printing see it.
// Row 0 and column 0 are the fixed header cells. Cell texts are byte strings
// (UTF-8 in this program) and read back exactly as last written.
//
// Moving the current cell, by the user or through SetRow/SetCol, raises
// OnLeaveCell for the old cell before the change and OnEnterCell for the new
// cell after it (nothing when the value does not change). Positions and sizes
// are in twips (1/1440 inch); CellLeft/CellTop are measured from the grid's
// client area.
class GridControl {
 public:
  virtual ~GridControl() = default;

  virtual std::string TextMatrix(long row, long col) const = 0;
  virtual void SetTextMatrix(long row, long col, const std::string& text) = 0;
  // Text of the current cell.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;

  virtual long Rows() const = 0;
  virtual long Cols() const = 0;
  virtual long Row() const = 0;
  virtual void SetRow(long row) = 0;
  virtual long Col() const = 0;
  virtual void SetCol(long col) = 0;

  virtual long CellLeft() const = 0;
  virtual long CellTop() const = 0;
  virtual long CellWidth() const = 0;
  virtual long CellHeight() const = 0;
  virtual long ColWidth(long col) const = 0;
  virtual void SetColWidth(long col, long twips) = 0;
  // 4 = centre-centre, as the table uses it.
  virtual void SetColAlignment(long col, short alignment) = 0;
  virtual void SetForeColorFixed(std::uint32_t rgb) = 0;

  // Who hears EnterCell/LeaveCell/Scroll; null for nobody.
  virtual void SetEvents(GridEvents* events) = 0;
};

}  // namespace varo::radio
