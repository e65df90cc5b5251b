#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "radio/GridControl.h"

namespace varo::radio {

// A GridControl held in memory, for the tests and the command-line tool: a
// rows x cols matrix of strings with a current cell, events in the grid's
// order (LeaveCell for the old cell before a change of Row/Col, EnterCell for
// the new one after it) and a fixed geometry in twips: every row
// kDefaultRowHeight high, every column kDefaultColWidth wide until set.
// Positions outside the matrix read "" and ignore writes; a Row/Col outside
// the matrix is refused (no change, no events).
class MemoryGrid : public GridControl {
 public:
  static constexpr long kDefaultColWidth = 960;
  static constexpr long kDefaultRowHeight = 240;

  MemoryGrid(long rows, long cols);

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
  void SetEvents(GridEvents* events) override { events_ = events; }

  // What was set, for inspection.
  short ColAlignment(long col) const;
  std::uint32_t ForeColorFixed() const { return foreColorFixed_; }

 private:
  bool Inside(long row, long col) const;

  long rows_;
  long cols_;
  long row_ = 1;
  long col_ = 1;
  std::vector<std::string> cells_;
  std::vector<long> colWidths_;
  std::vector<short> alignments_;
  std::uint32_t foreColorFixed_ = 0;
  GridEvents* events_ = nullptr;
};

}  // namespace varo::radio
