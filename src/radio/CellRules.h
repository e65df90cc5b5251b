#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/ProductBand.h"

namespace varo::radio {

// A typed frequency judged against the band and the channel raster.
struct FrequencyCheck {
  std::int32_t units = 0;  // 10 Hz units, truncated, clamped to 32 bits
  std::string text;        // the cell text for `units`, "%3.5f" MHz
  bool inRange = false;    // lower <= units <= upper, both inclusive, and
                           // storable (kMinFrequencyCount to kMaxFrequencyCount)
  bool onRaster = false;   // a multiple of 5 kHz (500) or 6.25 kHz (625)
};

// Reads the leading decimal number of `editorText` (none reads 0), multiplies
// it by 100000 in exact decimal arithmetic and judges the result.
FrequencyCheck CheckFrequency(const std::string& editorText, const BandLimits& limits);

// How a commit ended.
enum class CommitOutcome {
  kNoEditor,      // no editor was visible: nothing committed
  kCommitted,     // the editor's value went into the table
  kRowCleared,    // the receive frequency was emptied: the channel was deleted
  kRangeMessage,  // the frequency was outside the band (message shown)
  kStepMessage,   // the frequency was off the channel raster (message shown)
};

// The rules a text goes by when it goes into a cell of the channel table,
// whether the user typed it into the cell's editor or it came in a block of
// pasted cells: frequencies are checked against the band and the channel
// raster, a row's first receive frequency brings the new-row defaults, a row
// without a frequency takes no settings. The rules change the table only;
// where a check fails, `warn` hears the outcome before the table changes, so
// the editor can show its message and a paste can note the refusal.
class CellRules {
 public:
  using Warn = std::function<void(CommitOutcome)>;

  // `grid` and `table` must outlive the rules.
  CellRules(GridControl& grid, const TableSpec& table);

  // Puts `text` into (row, col):
  // - receive frequency: empty clears the row (the channel is deleted); a
  //   value outside the band or off the raster clears the row; otherwise the
  //   value's "%3.5f" text, and on a row that had no receive frequency the
  //   same text as transmit frequency and the new-row defaults after it;
  // - transmit frequency: empty puts the receive frequency back; outside the
  //   band empties the cell; off the raster clears the row, or with
  //   `enterKey` only the cell; otherwise the value's text while the row has
  //   a receive frequency, else "";
  // - any later column: `text` while the row has a receive or transmit
  //   frequency, else "".
  CommitOutcome Commit(long row, long col, const std::string& text, const BandLimits& limits,
                       bool chinese, bool enterKey, const Warn& warn = {}) const;

  // Empties the channel columns of `row`.
  void ClearRow(long row) const;

  long RxCol() const { return rxCol_; }
  long TxCol() const { return txCol_; }

 private:
  GridControl& grid_;
  const TableSpec& table_;
  long rxCol_;
  long txCol_;
};

// The entry of a drop-down column that `text` names, as a pasted or imported
// cell gives it: an entry of either language, ignoring ASCII letter case; the
// other language's spelling of one of `words`; or, for a text that is a
// plain decimal number, the entry of the same value ("67" for "67.0", as a
// spreadsheet writes a tone back). -1 when there is none.
int MatchEntry(const ColumnSpec& column, const std::string& text, const std::vector<Texts>& words);

// What typing `text` into a text column's editor would give: letters turned
// to upper case when the column asks for it, cut to its typing length.
std::string TypedText(const ColumnSpec& column, const std::string& text);

// The whole of `text`, blanks around it allowed, as a plain decimal number
// ("145.0125", "-3", ".5"); false for anything else, the empty text included.
bool IsPlainNumber(const std::string& text);

}  // namespace varo::radio
