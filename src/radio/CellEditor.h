#pragma once

#include <string>
#include <vector>

namespace varo::radio {

// A rectangle in pixels of the grid's client area, where cell editors live.
struct EditorRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const EditorRect&) const = default;
};

// An editor lies this many pixels up and left of the corner of the cell it
// edits; the grid reports its cell corners moved by as much the other way, so
// that the editor covers the cell exactly.
constexpr int kEditorInset = 3;
// Pixels a drop-down list is made taller than its cell, room for its list.
constexpr int kDropDownListRoom = 100;

// An in-place cell editor: a child window of the grid, created hidden once and
// laid over the current cell while it is edited. At most one is visible.
class CellEditor {
 public:
  virtual ~CellEditor() = default;
  // Moves and sizes the editor (pixels of the grid's client area). A drop-down
  // list is given its open height: the closed box keeps its own height and the
  // rest is room for the list.
  virtual void Place(const EditorRect& rect) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  virtual void Focus() = 0;
  // What the editor holds: an edit box's text; a drop-down list's selected
  // entry, "" when nothing is selected.
  virtual std::string Text() const = 0;
};

// A single-line edit box (frequencies, names).
class EditBox : public CellEditor {
 public:
  virtual void SetText(const std::string& text) = 0;
  // Selects all of the text and scrolls the caret into view.
  virtual void SelectAllText() = 0;
};

// A drop-down list that only offers its entries (nothing can be typed).
class DropDownList : public CellEditor {
 public:
  // Replaces all entries.
  virtual void SetEntries(const std::vector<std::string>& entries) = 0;
  // Selects entry `index`; -1 (or a position without an entry) clears the
  // selection, so that the box shows nothing.
  virtual void Select(int index) = 0;
  // The selected position, -1 for none. The user's choice changes it.
  virtual int Selection() const = 0;
};

// The editor of one column: an edit box or a drop-down list.
struct ColumnEditor {
  EditBox* box = nullptr;
  DropDownList* list = nullptr;
  CellEditor* editor() const {
    return box ? static_cast<CellEditor*>(box) : static_cast<CellEditor*>(list);
  }
};

// What the editor needs of the window that holds the grid.
class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // Resolution of the grid's screen in pixels per inch.
  virtual int PixelsPerInchX() const = 0;
  virtual int PixelsPerInchY() const = 0;
  // Redraws the grid at once (after an editor is shown or hidden by scrolling).
  virtual void RedrawGrid() = 0;
  // An editor's text has been committed (whatever the outcome: the row may
  // have been cleared by a failed check); the table may have changed.
  virtual void CellCommitted() {}
};

// Where an editor goes over a cell given in twips: each value converted with
// pixels = twips x ppi / 1440, the corner moved kEditorInset pixels up and
// left, and a drop-down list kDropDownListRoom pixels taller so that its list
// can open.
EditorRect EditorPlacement(long leftTwips, long topTwips, long widthTwips, long heightTwips,
                           int ppiX, int ppiY, bool dropDown);

}  // namespace varo::radio
