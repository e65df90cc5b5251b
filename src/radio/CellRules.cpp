#include "radio/CellRules.h"

#include <limits>

#include "platform/Decimal.h"
#include "radio/Frequency.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

int IndexNoCase(const std::vector<std::string>& entries, const std::string& text) {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (EqualNoCase(entries[i], text)) return static_cast<int>(i);
  return -1;
}

// Bytes of the UTF-8 character starting with `lead`.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

FrequencyCheck CheckFrequency(const std::string& editorText, const BandLimits& limits) {
  std::int64_t product = DecimalMultiplyTruncate(LeadingDecimal(editorText), 100000);
  if (product > std::numeric_limits<std::int32_t>::max()) {
    product = std::numeric_limits<std::int32_t>::max();
  } else if (product < std::numeric_limits<std::int32_t>::min()) {
    product = std::numeric_limits<std::int32_t>::min();
  }
  FrequencyCheck check;
  check.units = static_cast<std::int32_t>(product);
  // The cell shows the checked count itself, so that a value typed with more
  // than five decimals cannot round up into a text the check never saw.
  check.text = FrequencyText(check.units);
  // A band may reach past what four bytes can hold (1600 MHz and above, and
  // below 10 MHz, which would read back as no frequency): such a value is
  // refused as out of range rather than stored as something else.
  check.inRange = limits.lower <= check.units && check.units <= limits.upper &&
                  check.units >= static_cast<std::int64_t>(kMinFrequencyCount) &&
                  check.units <= static_cast<std::int64_t>(kMaxFrequencyCount);
  check.onRaster = check.units % 500 == 0 || check.units % 625 == 0;
  return check;
}

CellRules::CellRules(GridControl& grid, const TableSpec& table)
    : grid_(grid),
      table_(table),
      rxCol_(table.ColumnOf(ColumnRole::kRx)),
      txCol_(table.ColumnOf(ColumnRole::kTx)) {}

void CellRules::ClearRow(long row) const {
  for (long col = 1; col < table_.Cols(); ++col) grid_.SetTextMatrix(row, col, "");
}

CommitOutcome CellRules::Commit(long row, long col, const std::string& text,
                                const BandLimits& limits, bool chinese, bool enterKey,
                                const Warn& warn) const {
  const std::string rx = grid_.TextMatrix(row, rxCol_);
  auto refuse = [&](CommitOutcome outcome) {
    if (warn) warn(outcome);
    return outcome;
  };
  if (col == rxCol_) {
    if (text.empty()) {
      ClearRow(row);
      return CommitOutcome::kRowCleared;
    }
    const FrequencyCheck check = CheckFrequency(text, limits);
    if (!check.inRange || !check.onRaster) {
      const CommitOutcome outcome =
          refuse(check.inRange ? CommitOutcome::kStepMessage : CommitOutcome::kRangeMessage);
      ClearRow(row);
      return outcome;
    }
    grid_.SetTextMatrix(row, rxCol_, check.text);
    if (rx.empty()) {
      grid_.SetTextMatrix(row, txCol_, check.text);
      const std::vector<std::string> defaults = table_.NewRowDefaults(chinese);
      for (std::size_t i = 0; i < defaults.size(); ++i)
        grid_.SetTextMatrix(row, txCol_ + 1 + static_cast<long>(i), defaults[i]);
    }
    return CommitOutcome::kCommitted;
  }
  if (col == txCol_) {
    if (text.empty()) {
      grid_.SetTextMatrix(row, txCol_, rx);
      return CommitOutcome::kCommitted;
    }
    const FrequencyCheck check = CheckFrequency(text, limits);
    if (!check.inRange) {
      refuse(CommitOutcome::kRangeMessage);
      grid_.SetTextMatrix(row, txCol_, "");
      return CommitOutcome::kRangeMessage;
    }
    if (!check.onRaster) {
      refuse(CommitOutcome::kStepMessage);
      // Leaving the cell drops the channel; Enter only the transmit cell.
      if (enterKey) {
        grid_.SetTextMatrix(row, txCol_, "");
      } else {
        ClearRow(row);
      }
      return CommitOutcome::kStepMessage;
    }
    grid_.SetTextMatrix(row, txCol_, rx.empty() ? "" : check.text);
    return CommitOutcome::kCommitted;
  }
  if (col > txCol_ && col < table_.Cols()) {
    // A row without a frequency takes no settings.
    const bool noFrequency = rx.empty() && grid_.TextMatrix(row, txCol_).empty();
    grid_.SetTextMatrix(row, col, noFrequency ? "" : text);
  }
  return CommitOutcome::kCommitted;
}

int MatchEntry(const ColumnSpec& column, const std::string& text, const std::vector<Texts>& words) {
  const std::string t = Trim(text);
  if (t.empty()) return -1;
  for (bool chinese : {false, true}) {
    const int index = IndexNoCase(column.Entries(chinese), t);
    if (index >= 0) return index;
  }
  for (const Texts& w : words) {
    if (!w.Matches(t)) continue;
    for (const std::string& spelling : {w.english, w.chinese}) {
      for (bool chinese : {false, true}) {
        const int index = IndexNoCase(column.Entries(chinese), spelling);
        if (index >= 0) return index;
      }
    }
  }
  if (!IsPlainNumber(t)) return -1;
  // Tones and the like compared by value, to a thousandth.
  const std::int64_t value = DecimalMultiplyTruncate(LeadingDecimal(t), 1000);
  const std::vector<std::string>& entries = column.Entries(false);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (IsPlainNumber(entries[i]) &&
        DecimalMultiplyTruncate(LeadingDecimal(entries[i]), 1000) == value)
      return static_cast<int>(i);
  }
  return -1;
}

std::string TypedText(const ColumnSpec& column, const std::string& text) {
  std::string typed;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (column.maxLength > 0 && characters == static_cast<std::size_t>(column.maxLength)) break;
    const std::size_t length = Utf8Length(static_cast<unsigned char>(text[i]));
    std::string character = text.substr(i, length);
    if (column.upperCase && length == 1 && character[0] >= 'a' && character[0] <= 'z')
      character[0] = static_cast<char>(character[0] - 'a' + 'A');
    typed += character;
    i += length;
    ++characters;
  }
  return typed;
}

bool IsPlainNumber(const std::string& text) {
  const std::string t = Trim(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
  bool digits = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
  }
  return digits && i == t.size();
}

}  // namespace varo::radio
