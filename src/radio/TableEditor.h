#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "radio/CellEditor.h"
#include "radio/CellRules.h"
#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/MessageBoxes.h"
#include "radio/ProductBand.h"

namespace varo::radio {

// String-table identifiers of the messages the table editor shows.
constexpr int kStrOutOfRange = 61448;  // "Out of range,please input again."
constexpr int kStrStepValue =
    61456;  // "Error data Value, please input according the step value(6.25K/5k)."
constexpr int kStrCaution = 61458;  // "Caution"

constexpr int kGridControlId = 1000;

// The entry a drop-down list shows when its cell is entered: the first entry
// that begins with `cellText`, ignoring ASCII letter case (so an empty cell
// shows entry 0). A cell text that no entry begins with, but which is the
// other language's spelling of one of `words` (the 16-channel table writes
// "载波" where its Chinese Busy Lock list offers "Carrier"), selects that
// entry. Any other text without an entry gives -1: the list shows no
// selection, and leaving the cell then keeps its text.
int PresetIndex(const std::vector<std::string>& entries, const std::string& cellText,
                const std::vector<Texts>& words = {});

// The editing rules of a channel table: one cell at a time through the
// in-place editors, commit on leaving a cell or on Enter, frequency checks,
// new-row defaults. It works on the table only, never on the memory image.
// The table's shape, editors, list entries and defaults come from its
// TableSpec.
//
// Wiring: the view makes the editor the grid's event receiver (or forwards
// EnterCell, MouseDown, LeaveCell and Scroll to it), calls EnterKey() for a
// key-down of Enter and Commit() before a write to the radio.
class TableEditor : public GridEvents {
 public:
  // `editors` holds one editor per column of `table` (the fixed column's is
  // empty): an edit box for the frequency and text columns, a drop-down list
  // for the others. `table` must outlive the editor.
  TableEditor(GridControl& grid, const TableSpec& table, std::vector<ColumnEditor> editors,
              EditorHost& host, MessageBoxes& messages, bool chinese);

  // First set-up of the view: the table's headers, row labels, widths,
  // alignment and header colour, the entries of the drop-down lists, all
  // editors hidden.
  void SetUp();

  const TableSpec& Table() const { return table_; }

  // The band every typed frequency is checked against. A change does not
  // re-check what the table already holds.
  void SetBandLimits(const BandLimits& limits) { limits_ = limits; }
  const BandLimits& bandLimits() const { return limits_; }

  // Cell entry (EnterCell, MouseDown): presets the current column's editor
  // from the cell, lays it over the cell, focuses and shows it.
  void EnterCell();

  // Commit on leaving a cell (LeaveCell; also before a write to the radio).
  // Shows the range or step message where a check fails; hides the editor.
  // The host hears CellCommitted() after every commit of a visible editor.
  CommitOutcome Commit() { return CommitAs(false); }

  // Commit before a save: as Commit(), except that an edit failing its range
  // or raster check (its message shown) leaves the row exactly as it was
  // before the edit, the typed text dropped: an edit still open when the user
  // saves must not delete the channel it was typed over. The save then goes
  // on with the row as it was, which is what the table shows.
  CommitOutcome CommitForSave();

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

  // The editor serving `col` (its own, or the table's fallback editor).
  CellEditor& EditorForColumn(long col);

  // GridEvents
  void OnEnterCell() override { EnterCell(); }
  void OnLeaveCell() override { Commit(); }
  void OnScroll() override { Scroll(); }

 private:
  CommitOutcome CommitAs(bool enterKey);
  const ColumnEditor& EditorsOf(long col) const;
  void Warn(int textId);

  GridControl& grid_;
  const TableSpec& table_;
  std::vector<ColumnEditor> editors_;
  EditorHost& host_;
  MessageBoxes& messages_;
  bool chinese_;
  BandLimits limits_;
  CellRules rules_;
};

}  // namespace varo::radio
