#include "radio/MemoryGrid.h"

namespace varo::radio {

MemoryGrid::MemoryGrid(long rows, long cols)
    : rows_(rows > 0 ? rows : 0),
      cols_(cols > 0 ? cols : 0),
      row_(rows_ > 1 ? 1 : 0),
      col_(cols_ > 1 ? 1 : 0),
      cells_(static_cast<std::size_t>(rows_ * cols_)),
      colWidths_(static_cast<std::size_t>(cols_), kDefaultColWidth),
      alignments_(static_cast<std::size_t>(cols_), 0) {}

bool MemoryGrid::Inside(long row, long col) const {
  return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

std::string MemoryGrid::TextMatrix(long row, long col) const {
  return Inside(row, col) ? cells_[static_cast<std::size_t>(row * cols_ + col)] : std::string();
}

void MemoryGrid::SetTextMatrix(long row, long col, const std::string& text) {
  if (Inside(row, col)) cells_[static_cast<std::size_t>(row * cols_ + col)] = text;
}

std::string MemoryGrid::Text() const { return TextMatrix(row_, col_); }

void MemoryGrid::SetText(const std::string& text) { SetTextMatrix(row_, col_, text); }

void MemoryGrid::SetRow(long row) {
  if (row == row_ || row < 0 || row >= rows_) return;
  if (events_) events_->OnLeaveCell();
  row_ = row;
  if (events_) events_->OnEnterCell();
}

void MemoryGrid::SetCol(long col) {
  if (col == col_ || col < 0 || col >= cols_) return;
  if (events_) events_->OnLeaveCell();
  col_ = col;
  if (events_) events_->OnEnterCell();
}

long MemoryGrid::CellLeft() const {
  long left = 0;
  for (long c = 0; c < col_; ++c) left += colWidths_[static_cast<std::size_t>(c)];
  return left;
}

long MemoryGrid::CellTop() const { return row_ * kDefaultRowHeight; }

long MemoryGrid::CellWidth() const { return ColWidth(col_); }

long MemoryGrid::CellHeight() const { return kDefaultRowHeight; }

long MemoryGrid::ColWidth(long col) const {
  return col >= 0 && col < cols_ ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

void MemoryGrid::SetColWidth(long col, long twips) {
  if (col >= 0 && col < cols_) colWidths_[static_cast<std::size_t>(col)] = twips;
}

void MemoryGrid::SetColAlignment(long col, short alignment) {
  if (col >= 0 && col < cols_) alignments_[static_cast<std::size_t>(col)] = alignment;
}

short MemoryGrid::ColAlignment(long col) const {
  return col >= 0 && col < cols_ ? alignments_[static_cast<std::size_t>(col)] : 0;
}

void MemoryGrid::SetForeColorFixed(std::uint32_t rgb) { foreColorFixed_ = rgb; }

}  // namespace varo::radio
