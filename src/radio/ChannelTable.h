#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "radio/DisplayText.h"
#include "radio/GridControl.h"

namespace varo::radio {

// What a column of the channel table stands for. The codec, the editor rules
// and the report find their columns by role, never by position.
enum class ColumnRole {
  kChannel,    // column 0: the row labels
  kRx,         // receive frequency
  kTx,         // transmit frequency
  kDecode,     // decode tone
  kEncode,     // encode tone
  kPower,
  kScanAdd,
  kBusyLock,
  kBandwidth,
  kLock,       // channel lock
  kName,       // channel name
};

// The in-place editor of a column.
enum class EditorKind {
  kNone,       // the fixed column
  kFrequency,  // an edit box whose value is checked against band and raster
  kText,       // an edit box taking text as typed (channel names)
  kDropDown,   // a drop-down list of fixed entries
};

struct ColumnSpec {
  ColumnRole role = ColumnRole::kChannel;
  Texts header;
  // Width in tenths of the first column's width as the grid starts out.
  int widthTenths = 10;
  EditorKind editor = EditorKind::kNone;
  // Control id of the editor; it doubles as its help context number.
  int editorId = 0;
  // Drop-down entries in each language, in list order.
  std::vector<std::string> entriesEnglish;
  std::vector<std::string> entriesChinese;
  // What the column gets when its row gets its first receive frequency
  // (columns after the transmit frequency only).
  Texts newRowDefault;
  // Text editors: at most this many characters (0: no limit); letters are
  // turned to upper case as they are typed.
  int maxLength = 0;
  bool upperCase = false;
  // Text columns: what the radio can store of a text, for a plan file's
  // check (its length in characters, 0: no limit; its characters, "": any).
  int storedLength = 0;
  std::string storedCharacters;

  const std::vector<std::string>& Entries(bool chinese) const {
    return chinese ? entriesChinese : entriesEnglish;
  }
};

// The shape of a radio's channel table: one header row, then the channel rows;
// column 0 holds the row labels.
struct TableSpec {
  // Rows below the header: the channels, and the priority channel first when
  // the radio has one.
  long channelRows = 0;
  // Row 1 is the priority channel, labelled "Pr"; the rows after it are
  // channels 1, 2, ...
  bool priorityRow = false;
  // The row labels' printf width ("%2ld" or "%3ld").
  int labelWidth = 2;
  std::vector<ColumnSpec> columns;
  // The column whose editor serves a column that has none of its own.
  ColumnRole fallbackEditor = ColumnRole::kRx;
  // Whether an edit box selects its text when its cell is entered (else it
  // only receives the text, caret untouched).
  bool editBoxSelectsText = true;
  // The words the codec writes, in both languages: a drop-down list offered
  // in one language finds a cell written in the other spelling of a word.
  std::vector<Texts> words;

  long Rows() const { return channelRows + 1; }
  long Cols() const { return static_cast<long>(columns.size()); }
  // The column of `role`; -1 when the table has none.
  long ColumnOf(ColumnRole role) const;
  // The column whose English or Chinese header is `name` (letter case and
  // the blanks around it aside); -1 when none is, or `name` is blank.
  long ColumnNamed(const std::string& name) const;
  const ColumnSpec& Column(long col) const { return columns[static_cast<std::size_t>(col)]; }
  // The column whose editor serves `col`.
  long EditorColumn(long col) const;
  // Control id of the editor of `col` (its help context number).
  int EditorIdForColumn(long col) const { return Column(EditorColumn(col)).editorId; }
  // Column 0's text of `row`: "Pr" for the priority row, else the channel
  // number right-aligned in labelWidth places.
  std::string RowLabel(long row) const;
  // The channel number of `row`: 0 for the priority channel.
  long ChannelNumber(long row) const { return priorityRow ? row - 1 : row; }
  // The header texts of row 0.
  std::vector<std::string> Headers(bool chinese) const;
  // The texts a row gets after its two frequencies when it gets its first
  // receive frequency: the new-row defaults of every column after Tx.
  std::vector<std::string> NewRowDefaults(bool chinese) const;
};

// Text colour of the fixed cells, 0xRRGGBB (red 0, green 50, blue 240).
constexpr std::uint32_t kFixedTextColor = 0x0032F0;
// Grid alignment value for centre-centre.
constexpr short kAlignCenterCenter = 4;

// First set-up of the table: header texts in row 0, row labels in column 0,
// every column's width set to the first column's current width times its
// factor (truncated to a whole twip), all columns centred, and the fixed
// cells' text colour.
void SetUpChannelTable(GridControl& grid, const TableSpec& table, bool chinese);

}  // namespace varo::radio
