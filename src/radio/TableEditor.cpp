#include "radio/TableEditor.h"

#include <limits>

#include "platform/Decimal.h"
#include "radio/Frequency.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
  }
  return true;
}

int FirstStartingWith(const std::vector<std::string>& entries, const std::string& prefix) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (StartsWithNoCase(entries[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

// The same word in the other language; "" when `word` is none of `words`.
std::string OtherSpelling(const std::string& word, const std::vector<Texts>& words) {
  for (const Texts& w : words) {
    if (word == w.chinese && w.english != word) return w.english;
    if (word == w.english && w.chinese != word) return w.chinese;
  }
  return {};
}

}  // namespace

EditorRect EditorPlacement(long leftTwips, long topTwips, long widthTwips, long heightTwips,
                           int ppiX, int ppiY, bool dropDown) {
  auto pixels = [](long twips, int ppi) {
    return static_cast<int>(static_cast<long long>(twips) * ppi / 1440);
  };
  EditorRect rect;
  rect.x = pixels(leftTwips, ppiX) - kEditorInset;
  rect.y = pixels(topTwips, ppiY) - kEditorInset;
  rect.width = pixels(widthTwips, ppiX);
  rect.height = pixels(heightTwips, ppiY) + (dropDown ? kDropDownListRoom : 0);
  return rect;
}

int PresetIndex(const std::vector<std::string>& entries, const std::string& cellText,
                const std::vector<Texts>& words) {
  int index = FirstStartingWith(entries, cellText);
  if (index >= 0) return index;
  std::string other = OtherSpelling(cellText, words);
  if (other.empty()) return -1;
  return FirstStartingWith(entries, other);
}

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

TableEditor::TableEditor(GridControl& grid, const TableSpec& table,
                         std::vector<ColumnEditor> editors, EditorHost& host,
                         MessageBoxes& messages, bool chinese)
    : grid_(grid),
      table_(table),
      editors_(std::move(editors)),
      host_(host),
      messages_(messages),
      chinese_(chinese),
      rxCol_(table.ColumnOf(ColumnRole::kRx)),
      txCol_(table.ColumnOf(ColumnRole::kTx)) {
  editors_.resize(static_cast<std::size_t>(table_.Cols()));
}

void TableEditor::SetUp() {
  SetUpChannelTable(grid_, table_, chinese_);
  for (long col = 1; col < table_.Cols(); ++col) {
    const ColumnEditor& e = editors_[static_cast<std::size_t>(col)];
    if (e.list) e.list->SetEntries(table_.Column(col).Entries(chinese_));
    if (CellEditor* editor = e.editor()) editor->Hide();
  }
}

const ColumnEditor& TableEditor::EditorsOf(long col) const {
  return editors_[static_cast<std::size_t>(table_.EditorColumn(col))];
}

CellEditor& TableEditor::EditorForColumn(long col) { return *EditorsOf(col).editor(); }

void TableEditor::EnterCell() {
  const long col = grid_.Col();
  const std::string cellText = grid_.Text();
  const ColumnEditor& e = EditorsOf(col);
  if (e.list) {
    // A column without an editor of its own borrows another's list, entries
    // and all.
    e.list->Select(PresetIndex(table_.Column(table_.EditorColumn(col)).Entries(chinese_),
                               cellText, table_.words));
  } else {
    e.box->SetText(cellText);
  }
  e.editor()->Place(EditorPlacement(grid_.CellLeft(), grid_.CellTop(), grid_.CellWidth(),
                                    grid_.CellHeight(), host_.PixelsPerInchX(),
                                    host_.PixelsPerInchY(), e.list != nullptr));
  if (e.box) {
    e.box->SetText(cellText);
    if (table_.editBoxSelectsText) e.box->SelectAllText();
  }
  e.editor()->Focus();
  e.editor()->Show();
  host_.RedrawGrid();
}

void TableEditor::ClearRow(long row) {
  for (long col = 1; col < table_.Cols(); ++col) grid_.SetTextMatrix(row, col, "");
}

void TableEditor::Warn(int textId) {
  MessageRequest request;
  request.textId = textId;
  request.captionId = kStrCaution;
  request.icon = MessageIcon::kExclamation;
  request.buttons = MessageButtons::kOk;
  messages_.Show(request);
}

CommitOutcome TableEditor::CommitReceive(long row, const std::string& text, bool rowWasEmpty) {
  if (text.empty()) {
    ClearRow(row);
    return CommitOutcome::kRowCleared;
  }
  const FrequencyCheck check = CheckFrequency(text, limits_);
  if (!check.inRange) {
    Warn(kStrOutOfRange);
    ClearRow(row);
    return CommitOutcome::kRangeMessage;
  }
  if (!check.onRaster) {
    Warn(kStrStepValue);
    ClearRow(row);
    return CommitOutcome::kStepMessage;
  }
  grid_.SetTextMatrix(row, rxCol_, check.text);
  if (rowWasEmpty) {
    grid_.SetTextMatrix(row, txCol_, check.text);
    const std::vector<std::string> defaults = table_.NewRowDefaults(chinese_);
    for (std::size_t i = 0; i < defaults.size(); ++i) {
      grid_.SetTextMatrix(row, txCol_ + 1 + static_cast<long>(i), defaults[i]);
    }
  }
  return CommitOutcome::kCommitted;
}

CommitOutcome TableEditor::CommitTransmit(long row, const std::string& text,
                                          const std::string& rx, bool enterKey) {
  if (text.empty()) {
    grid_.SetTextMatrix(row, txCol_, rx);
    return CommitOutcome::kCommitted;
  }
  const FrequencyCheck check = CheckFrequency(text, limits_);
  if (!check.inRange) {
    Warn(kStrOutOfRange);
    grid_.SetTextMatrix(row, txCol_, "");
    return CommitOutcome::kRangeMessage;
  }
  if (!check.onRaster) {
    Warn(kStrStepValue);
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

CommitOutcome TableEditor::CommitAs(bool enterKey) {
  const long row = grid_.Row();
  const long col = grid_.Col();
  const std::string rx = grid_.TextMatrix(row, rxCol_);
  const std::string tx = grid_.TextMatrix(row, txCol_);
  const ColumnEditor& e = EditorsOf(col);
  CellEditor& editor = *e.editor();
  if (!editor.IsVisible()) return CommitOutcome::kNoEditor;

  const std::string text = editor.Text();
  CommitOutcome outcome = CommitOutcome::kCommitted;
  if (col == rxCol_) {
    outcome = CommitReceive(row, text, rx.empty());
  } else if (col == txCol_) {
    outcome = CommitTransmit(row, text, rx, enterKey);
  } else if (col > txCol_ && col < table_.Cols()) {
    if (rx.empty() && tx.empty()) {
      // A row without a frequency takes no settings.
      grid_.SetText("");
    } else if (!e.list || e.list->Selection() >= 0) {
      grid_.SetText(text);
    }
    // A list without a selection was entered on a text it has no entry for:
    // the cell keeps that text.
  }
  editor.Hide();
  host_.CellCommitted();
  return outcome;
}

CommitOutcome TableEditor::CommitForSave() {
  const long row = grid_.Row();
  std::vector<std::string> before;
  for (long col = 1; col < table_.Cols(); ++col) before.push_back(grid_.TextMatrix(row, col));
  const CommitOutcome outcome = CommitAs(false);
  if (outcome == CommitOutcome::kRangeMessage || outcome == CommitOutcome::kStepMessage) {
    for (long col = 1; col < table_.Cols(); ++col)
      grid_.SetTextMatrix(row, col, before[static_cast<std::size_t>(col - 1)]);
  }
  return outcome;
}

bool TableEditor::EnterKey() {
  CommitOutcome outcome = CommitAs(true);
  if (outcome == CommitOutcome::kRangeMessage || outcome == CommitOutcome::kStepMessage) {
    return false;
  }
  const long row = grid_.Row();
  const long col = grid_.Col();
  if (col < grid_.Cols() - 1) {
    grid_.SetCol(col + 1);
  } else if (row < grid_.Rows() - 1) {
    grid_.SetCol(rxCol_);
    grid_.SetRow(row + 1);
  } else {
    grid_.SetRow(1);
    grid_.SetCol(rxCol_);
  }
  return true;
}

void TableEditor::Scroll() {
  for (const ColumnEditor& e : editors_) {
    if (CellEditor* editor = e.editor()) editor->Hide();
  }
  host_.RedrawGrid();
}

}  // namespace varo::radio
