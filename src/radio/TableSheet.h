#pragma once

#include <optional>
#include <string>
#include <vector>

#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/ProductBand.h"
#include "radio/RadioModel.h"

namespace varo::radio {

// The channel table as a dealer's spreadsheet: blocks of cells copied out and
// pasted in as tab-separated text, cells cleared and filled down, rows
// cleared, inserted, deleted and moved. A pasted cell goes through the rules
// of a typed one (radio/CellRules.h); what they refuse is collected for one
// summary instead of a message per cell.

// Cells as texts, row by row.
using TextBlock = std::vector<std::vector<std::string>>;

// Tab-separated text as spreadsheet programs exchange it: rows end at LF or
// CR LF (a last line break ends the last row), cells at TAB; a cell that
// starts with a double quote runs to the closing quote and may hold TABs,
// line breaks and doubled quotes.
TextBlock ParseTabText(const std::string& text);
// The block as such text; each row ends with a line break, and a cell
// holding a TAB, a line break or a leading quote is quoted.
std::string FormatTabText(const TextBlock& block);

// A rectangle of channel cells: rows top..bottom and columns left..right,
// both inclusive, inside rows 1.. and columns 1...
struct CellBlock {
  long top = 1;
  long left = 1;
  long bottom = 1;
  long right = 1;
  long RowCount() const { return bottom - top + 1; }
  long ColCount() const { return right - left + 1; }
  bool operator==(const CellBlock&) const = default;
};

// The texts of `block` as the table shows them.
TextBlock CopyCells(const GridControl& grid, const CellBlock& block);

// The table being edited: its grid and description, the band the typed
// frequencies are checked against and the interface language.
struct Sheet {
  GridControl& grid;
  const TableSpec& table;
  BandLimits limits;
  bool chinese = false;
};

// Why a pasted row was left as it was.
enum class Refusal {
  kOutOfRange,  // a frequency outside the band
  kOffRaster,   // a frequency off the 5 kHz and 6.25 kHz raster
  kNotInList,   // a text that is no entry of its column's list
};

// A pasted row that was refused, by its first refused cell.
struct RefusedRow {
  long row = 0;
  long col = 0;
  std::string text;
  Refusal why = Refusal::kOutOfRange;
  bool operator==(const RefusedRow&) const = default;
};

struct PasteReport {
  // The cells the paste went to (rows and columns inside the table).
  std::optional<CellBlock> pasted;
  std::vector<RefusedRow> refused;  // in row order
  long rowsLeftOut = 0;             // rows with text below the last row of the table
  long colsLeftOut = 0;             // columns with text right of its last column
  // Headers of pasted columns this table does not have, as they were given.
  std::vector<std::string> columnsLeftOut;
  bool Complete() const {
    return refused.empty() && rowsLeftOut == 0 && colsLeftOut == 0 && columnsLeftOut.empty();
  }
};

// Pastes `block` with its top-left cell at (top, left). Each row is taken
// whole or not at all: its cells go in from left to right by the typing rules
// (a drop-down cell must name one of its entries, in either language; a
// text column is turned to upper case and cut as typing it would); when one
// is refused the row is put back as it was and the refusal noted. An empty
// cell of a drop-down column leaves the cell as it is.
PasteReport PasteCells(const Sheet& sheet, long top, long left, const TextBlock& block);

// As PasteCells, with block column j going to table column `columns[j]` (-1:
// left out).
PasteReport PasteColumns(const Sheet& sheet, long top, const std::vector<long>& columns,
                         const TextBlock& block);

// The table columns a header row names (its cells compared with the column
// headers of either language, ignoring letter case and blanks): the column
// of each cell, -1 for the row-label column, an empty cell or a name the
// table does not have; the names it does not have. Nothing when no cell
// names a column of the table.
struct HeaderMatch {
  std::vector<long> columns;
  std::vector<std::string> unknown;
};
std::optional<HeaderMatch> MatchHeader(const TableSpec& table, const std::vector<std::string>& header);

// Pastes tab-separated `text` into the selection whose top-left cell is (top,
// left). The columns go by their names when the text's first row is a header
// row (it is then not pasted), or when `sourceHeader` names the columns of a
// block of more than one column copied from another radio's table; else from
// `left` on, in their order.
PasteReport PasteText(const Sheet& sheet, long top, long left, const std::string& text,
                      const std::vector<std::string>& sourceHeader = {});

// Empties the cells of `block` as the typing rules allow: a receive frequency
// deletes its channel, a transmit frequency falls back to the receive one, a
// name becomes empty and a drop-down cell takes its new-row default.
void ClearCells(const Sheet& sheet, const CellBlock& block);

// Fill Down: the top row of `block` pasted into each row below it in the
// block; a block of one row takes the row above it. Nothing happens above
// the first row.
PasteReport FillDown(const Sheet& sheet, const CellBlock& block);

// The summary of a paste that was not complete, one line each, in the
// interface language: a first line, then every refused row ("Channel 5 was
// left as it was: Rx Frequency 145.01300 is not on the 5 kHz or 6.25 kHz
// raster."), then what did not fit. Empty when the paste was complete.
std::vector<std::string> FormatPasteReport(const PasteReport& report, const TableSpec& table,
                                           bool chinese);

// Rows.

// The first row that insert, delete and move work on: the priority channel
// keeps its row, so with a priority row the channels start at row 2.
long FirstMovableRow(const TableSpec& table);
// Whether any channel cell of `row` holds text.
bool RowInUse(const GridControl& grid, long row);

// Empties every channel cell of each of `rows` (the priority row included).
void ClearRows(const Sheet& sheet, const std::vector<long>& rows);

enum class RowChange {
  kDone,
  kNothing,  // no row the operation works on, or nowhere to move them
  kNoRoom,   // insert: the last rows hold channels that would drop off the end
};

// Inserts as many empty rows as `rows` names (of the movable ones) before
// the first of them; the channels from there on move down. Refused when a
// channel would drop off the end.
RowChange InsertRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                     const std::vector<long>& rows);
// Deletes the channels of `rows` (the movable ones); the channels below move
// up and the rows freed at the end are empty.
RowChange DeleteRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                     const std::vector<long>& rows);
// Moves the channels of `rows` one row up (`direction` -1) or down (+1), each
// past its unselected neighbour; a channel at the edge stays. `rows` becomes
// the rows where the moved channels are now.
RowChange MoveRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                   std::vector<long>& rows, int direction);

// Puts the channel of row order[r] into row r for every row (order[0] is 0),
// in the table and, through the model, in the image.
void ReorderRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                 const std::vector<long>& order);

}  // namespace varo::radio
