#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo::radio {

// What one undo step brings back: the document's image as Save would write it
// (the table already stored into it) and every text of the channel table below
// the header row and right of the row labels. Table and image always belong
// together, so that a restored step never shows one thing and saves another.
struct DocumentState {
  MemoryImage image;
  std::vector<std::string> cells;  // row by row: rows 1.., columns 1..
  bool operator==(const DocumentState&) const = default;
};

// The state of a document: `image` with the table of `grid` stored into a copy
// of it, and the table's texts. Neither is changed.
DocumentState CaptureState(const RadioModel& model, const MemoryImage& image,
                           const GridControl& grid);
// Puts `state` back: the image bytes and every table text.
void RestoreState(const DocumentState& state, MemoryImage& image, GridControl& grid);

// The undo history of one document: the states after each change the user
// made, newest last, and the position of the state shown now. Undo and Redo
// move along it; a new change drops every state after the current one.
//
// A state is "clean" when it is the one last opened, saved, read or written;
// a document whose current state is not the clean one has changes to lose.
// Undoing back to the clean state makes the document unmodified again.
//
// The history keeps at most `limit` undo steps; the oldest go first. When
// the clean state goes with them, no state is clean until the next save.
class UndoHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 100;

  explicit UndoHistory(std::size_t limit = kDefaultLimit);

  // Forgets every step: `state` is the only one, and clean.
  void Reset(DocumentState state);
  // A change that led to `state`. Returns false (and records nothing) when
  // `state` equals the current state: nothing changed.
  bool Record(DocumentState state);

  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ + 1 < states_.size(); }
  // Steps back (forward) and returns the state to show. Only when CanUndo()
  // (CanRedo()).
  const DocumentState& Undo();
  const DocumentState& Redo();
  const DocumentState& Current() const { return states_[current_]; }
  // Undo steps available now.
  std::size_t UndoSteps() const { return current_; }

  void MarkClean() { clean_ = current_; }
  bool IsClean() const { return clean_ == current_; }

 private:
  static constexpr std::size_t kNoClean = static_cast<std::size_t>(-1);

  std::size_t limit_;
  std::vector<DocumentState> states_;
  std::size_t current_ = 0;
  std::size_t clean_ = 0;
};

}  // namespace varo::radio
