#include "radio/UndoHistory.h"

#include <algorithm>

namespace varo::radio {

DocumentState CaptureState(const RadioModel& model, const MemoryImage& image,
                           const GridControl& grid) {
  DocumentState state;
  state.image = image;
  model.tableToImage(grid, state.image);
  state.cells.reserve(static_cast<std::size_t>((grid.Rows() - 1) * (grid.Cols() - 1)));
  for (long row = 1; row < grid.Rows(); ++row)
    for (long col = 1; col < grid.Cols(); ++col) state.cells.push_back(grid.TextMatrix(row, col));
  return state;
}

void RestoreState(const DocumentState& state, MemoryImage& image, GridControl& grid) {
  image = state.image;
  std::size_t i = 0;
  for (long row = 1; row < grid.Rows(); ++row) {
    for (long col = 1; col < grid.Cols() && i < state.cells.size(); ++col, ++i) {
      // Cells that hold their text already are left alone: a grid redraws
      // what is written.
      if (grid.TextMatrix(row, col) != state.cells[i]) grid.SetTextMatrix(row, col, state.cells[i]);
    }
  }
}

UndoHistory::UndoHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {
  states_.emplace_back();
}

void UndoHistory::Reset(DocumentState state) {
  states_.clear();
  states_.push_back(std::move(state));
  current_ = 0;
  clean_ = 0;
}

bool UndoHistory::Record(DocumentState state) {
  if (state == states_[current_]) return false;
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(current_ + 1), states_.end());
  // A clean state that was undone past is gone with the states after it.
  if (clean_ != kNoClean && clean_ > current_) clean_ = kNoClean;
  states_.push_back(std::move(state));
  ++current_;
  if (states_.size() > limit_ + 1) {
    states_.erase(states_.begin());
    --current_;
    clean_ = clean_ == 0 || clean_ == kNoClean ? kNoClean : clean_ - 1;
  }
  return true;
}

const DocumentState& UndoHistory::Undo() {
  if (CanUndo()) --current_;
  return states_[current_];
}

const DocumentState& UndoHistory::Redo() {
  if (CanRedo()) ++current_;
  return states_[current_];
}

}  // namespace varo::radio
