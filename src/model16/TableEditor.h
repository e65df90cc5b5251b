#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model16/GridControl.h"
#include "model16/ProductBand.h"

namespace varo::model16 {

// ---------------------------------------------------------------------------
// Message boxes
// ---------------------------------------------------------------------------

// String-table identifiers of the messages the table editor shows.
constexpr int kStrOutOfRange = 61448;  // "Out of range,please input again."
constexpr int kStrStepValue =
    61456;  // "Error data Value, please input according the step value(6.25K/5k)."
constexpr int kStrCaution = 61458;  // "Caution"

enum class MessageIcon { kNone, kExclamation, kInformation, kQuestion, kStop };
enum class MessageButtons { kOk, kOkCancel, kRetryCancel, kYesNo };
enum class MessageAnswer { kOk, kCancel, kRetry, kYes, kNo };

// One modal message box as the rules ask for it. A text or caption is either
// a string-table identifier (looked up in the language module by the
// implementation) or a literal UTF-8 text chosen by the rules in the
// interface language.
struct MessageRequest {
  int textId = 0;     // string-table id of the text; 0: `text` holds it
  std::string text;   // literal text, used when textId is 0
  int captionId = 0;  // string-table id of the caption; 0: the application
                      // name ("Company" of the INI's language section)
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  bool operator==(const MessageRequest&) const = default;
};

// Shows message boxes for the rules. The Qt implementation runs a modal
// QMessageBox parented to the window in use and returns the button pressed;
// tests record the requests and answer from a script.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows `request` modally and returns the button the user pressed. Closing
  // the box without a button answers kCancel when the box has a Cancel
  // button and kOk for a box with OK alone.
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// ---------------------------------------------------------------------------
// Cell editors
// ---------------------------------------------------------------------------

// A rectangle in pixels of the grid's client area, where cell editors live.
struct EditorRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const EditorRect&) const = default;
};

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

// A single-line edit box (the frequency columns).
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

// The eight editors of the channel table, by the column they serve.
struct CellEditors {
  EditBox& rx;              // column 1, control 2127
  EditBox& tx;              // column 2, control 2128
  DropDownList& decode;     // column 3, control 2132
  DropDownList& encode;     // column 4, control 2133
  DropDownList& power;      // column 5, control 1129
  DropDownList& scanAdd;    // column 6, control 1134
  DropDownList& busyLock;   // column 7, control 1139
  DropDownList& bandwidth;  // column 8 (and any other column), control 1128
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
};

// ---------------------------------------------------------------------------
// Rules as plain functions
// ---------------------------------------------------------------------------

constexpr int kGridControlId = 1000;

// Control id of the editor of `col` (1 -> 2127, 2 -> 2128, 3 -> 2132,
// 4 -> 2133, 5 -> 1129, 6 -> 1134, 7 -> 1139, any other -> 1128). The ids
// double as help context numbers for F1.
int EditorIdForColumn(long col);

// The entries of the drop-down list of `col` (3-8) in the interface language;
// empty for the other columns. Busy Lock keeps "Carrier" and "QT/DQT" in
// English in the Chinese list.
std::vector<std::string> EditorEntries(long col, bool chinese);

// The texts of columns 3-8 of a channel that gets its first receive frequency.
std::vector<std::string> NewRowDefaults(bool chinese);

// The entry a drop-down list shows when its cell is entered: the first entry
// that begins with `cellText`, ignoring ASCII letter case (so an empty cell
// shows entry 0). A cell text that no entry begins with, but which is the
// other language's spelling of an entry (the table writes "载波" where the
// Chinese Busy Lock list offers "Carrier"), selects that entry. Any other
// text without an entry gives -1: the list shows no selection, and leaving
// the cell then keeps its text.
int PresetIndex(const std::vector<std::string>& entries, const std::string& cellText);

// A typed frequency judged against the band and the channel raster.
struct FrequencyCheck {
  std::int32_t units = 0;  // 10 Hz units, truncated, clamped to 32 bits
  std::string text;        // the cell text for `units`, "%3.5f" MHz
  bool inRange = false;    // lower <= units <= upper, both inclusive
  bool onRaster = false;   // a multiple of 5 kHz (500) or 6.25 kHz (625)
};

// Reads the leading decimal number of `editorText` (none reads 0), multiplies
// it by 100000 in exact decimal arithmetic and judges the result.
FrequencyCheck CheckFrequency(const std::string& editorText, const BandLimits& limits);

// Where an editor goes over a cell given in twips: each value converted with
// pixels = twips x ppi / 1440, the corner moved 3 pixels up and left, and a
// drop-down list 100 pixels taller so that its list can open.
EditorRect EditorPlacement(long leftTwips, long topTwips, long widthTwips, long heightTwips,
                           int ppiX, int ppiY, bool dropDown);

// ---------------------------------------------------------------------------
// The table editor
// ---------------------------------------------------------------------------

// How a commit ended.
enum class CommitOutcome {
  kNoEditor,      // no editor was visible: nothing committed
  kCommitted,     // the editor's value went into the table
  kRowCleared,    // column 1 was emptied: the channel was deleted
  kRangeMessage,  // the frequency was outside the band (message shown)
  kStepMessage,   // the frequency was off the channel raster (message shown)
};

// The editing rules of the channel table: one cell at a time through the
// in-place editors, commit on leaving a cell or on Enter, frequency checks,
// new-row defaults. It works on the table only, never on the memory image.
//
// Wiring: the view makes the editor the grid's event receiver (or forwards
// EnterCell, MouseDown, LeaveCell and Scroll to it), calls EnterKey() for a
// key-down of Enter and Commit() before a write to the radio.
class TableEditor : public GridEvents {
 public:
  TableEditor(GridControl& grid, CellEditors editors, EditorHost& host, MessageBoxes& messages,
              bool chinese);

  // First set-up of the view: the table's headers, channel numbers, widths,
  // alignment and header colour, the entries of the six drop-down lists, all
  // editors hidden.
  void SetUp();

  // The band every typed frequency is checked against. A change does not
  // re-check what the table already holds.
  void SetBandLimits(const BandLimits& limits) { limits_ = limits; }
  const BandLimits& bandLimits() const { return limits_; }

  // Cell entry (EnterCell, MouseDown): presets the current column's editor
  // from the cell, lays it over the cell, focuses and shows it.
  void EnterCell();

  // Commit on leaving a cell (LeaveCell; also before a write to the radio).
  // Shows the range or step message where a check fails; hides the editor.
  CommitOutcome Commit() { return CommitAs(false); }

  // Enter key: commits as Commit() does, except that an off-raster transmit
  // frequency empties only the transmit cell. After a message the current
  // cell stays and false is returned: the key then bypasses the form's own
  // key handling. Otherwise the current cell moves on (next column; after the
  // last column to column 1 of the next row; after the last row to row 1,
  // column 1), which leaves the old cell and enters the new one through the
  // grid's events, and true is returned: the key goes on to the form.
  bool EnterKey();

  // Scroll: hides every editor; text typed into it is dropped.
  void Scroll();

  // The editor of `col` (see EditorIdForColumn for the choice).
  CellEditor& EditorForColumn(long col);

  // GridEvents
  void OnEnterCell() override { EnterCell(); }
  void OnLeaveCell() override { Commit(); }
  void OnScroll() override { Scroll(); }

 private:
  CommitOutcome CommitAs(bool enterKey);
  DropDownList* ListForColumn(long col);
  void ClearRow(long row);
  void Warn(int textId);

  GridControl& grid_;
  CellEditors editors_;
  EditorHost& host_;
  MessageBoxes& messages_;
  bool chinese_;
  BandLimits limits_;
  std::array<std::vector<std::string>, 9> entries_;  // list entries by column
};

}  // namespace varo::model16
