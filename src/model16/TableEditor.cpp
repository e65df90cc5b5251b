#include "model16/TableEditor.h"

#include <limits>

#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/TextNumbers.h"
#include "model16/ToneCodes.h"
#include "platform/Decimal.h"

namespace varo::model16 {

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

// The same word in the other language, for the words the codec writes; ""
// when `word` is none of them.
std::string OtherSpelling(const std::string& word) {
  const Words& en = WordsFor(false);
  const Words& zh = WordsFor(true);
  const std::string Words::*fields[] = {
      &Words::noTone, &Words::high,    &Words::low,   &Words::yes,  &Words::no,
      &Words::off,    &Words::carrier, &Words::qtDqt, &Words::wide, &Words::narrow};
  for (auto field : fields) {
    if (word == zh.*field && en.*field != word) return en.*field;
    if (word == en.*field && zh.*field != word) return zh.*field;
  }
  return {};
}

// "%3.5f" of a count of 10 Hz units, also for the negative counts a typed
// "-145" gives (they never pass the range check, but are still formatted).
std::string UnitsText(std::int32_t units) {
  if (units >= 0) return CountToFrequencyText(static_cast<std::uint32_t>(units));
  return "-" + CountToFrequencyText(static_cast<std::uint32_t>(-static_cast<std::int64_t>(units)));
}

}  // namespace

int EditorIdForColumn(long col) {
  switch (col) {
    case kColRx:
      return 2127;
    case kColTx:
      return 2128;
    case kColDec:
      return 2132;
    case kColEnc:
      return 2133;
    case kColPower:
      return 1129;
    case kColScan:
      return 1134;
    case kColBusy:
      return 1139;
    default:
      return 1128;
  }
}

std::vector<std::string> EditorEntries(long col, bool chinese) {
  switch (col) {
    case kColDec:
    case kColEnc:
      return ToneChoiceList(chinese);
    case kColPower:
      return chinese ? std::vector<std::string>{"高", "低"}
                     : std::vector<std::string>{"High", "Low"};
    case kColScan:
      return chinese ? std::vector<std::string>{"有", "无"} : std::vector<std::string>{"Yes", "No"};
    case kColBusy:
      return chinese ? std::vector<std::string>{"关", "Carrier", "QT/DQT"}
                     : std::vector<std::string>{"Off", "Carrier", "QT/DQT"};
    case kColWN:
      return chinese ? std::vector<std::string>{"宽", "窄"}
                     : std::vector<std::string>{"Wide", "Narrow"};
    default:
      return {};
  }
}

std::vector<std::string> NewRowDefaults(bool chinese) {
  if (chinese) return {"无", "无", "高", "无", "关", "宽"};
  return {"None", "None", "High", "No", "Off", "Wide"};
}

int PresetIndex(const std::vector<std::string>& entries, const std::string& cellText) {
  int index = FirstStartingWith(entries, cellText);
  if (index >= 0) return index;
  std::string other = OtherSpelling(cellText);
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
  check.text = UnitsText(check.units);
  check.inRange = limits.lower <= check.units && check.units <= limits.upper;
  check.onRaster = check.units % 500 == 0 || check.units % 625 == 0;
  return check;
}

EditorRect EditorPlacement(long leftTwips, long topTwips, long widthTwips, long heightTwips,
                           int ppiX, int ppiY, bool dropDown) {
  auto pixels = [](long twips, int ppi) {
    return static_cast<int>(static_cast<long long>(twips) * ppi / 1440);
  };
  EditorRect rect;
  rect.x = pixels(leftTwips, ppiX) - 3;
  rect.y = pixels(topTwips, ppiY) - 3;
  rect.width = pixels(widthTwips, ppiX);
  rect.height = pixels(heightTwips, ppiY) + (dropDown ? 100 : 0);
  return rect;
}

TableEditor::TableEditor(GridControl& grid, CellEditors editors, EditorHost& host,
                         MessageBoxes& messages, bool chinese)
    : grid_(grid), editors_(editors), host_(host), messages_(messages), chinese_(chinese) {
  for (long col = kColDec; col <= kColWN; ++col) {
    entries_[static_cast<std::size_t>(col)] = EditorEntries(col, chinese_);
  }
}

void TableEditor::SetUp() {
  SetUpChannelTable(grid_, chinese_);
  for (long col = kColDec; col <= kColWN; ++col) {
    ListForColumn(col)->SetEntries(entries_[static_cast<std::size_t>(col)]);
  }
  for (long col = kColRx; col <= kColWN; ++col) EditorForColumn(col).Hide();
}

CellEditor& TableEditor::EditorForColumn(long col) {
  if (col == kColRx) return editors_.rx;
  if (col == kColTx) return editors_.tx;
  return *ListForColumn(col);
}

DropDownList* TableEditor::ListForColumn(long col) {
  switch (col) {
    case kColRx:
    case kColTx:
      return nullptr;
    case kColDec:
      return &editors_.decode;
    case kColEnc:
      return &editors_.encode;
    case kColPower:
      return &editors_.power;
    case kColScan:
      return &editors_.scanAdd;
    case kColBusy:
      return &editors_.busyLock;
    default:
      return &editors_.bandwidth;
  }
}

void TableEditor::EnterCell() {
  const long col = grid_.Col();
  const std::string cellText = grid_.Text();
  CellEditor& editor = EditorForColumn(col);
  DropDownList* list = ListForColumn(col);
  if (list) {
    // Any column without an editor of its own uses the W/N list, whose
    // entries are the W/N column's.
    const long listCol = (col >= kColDec && col <= kColWN) ? col : kColWN;
    list->Select(PresetIndex(entries_[static_cast<std::size_t>(listCol)], cellText));
  } else {
    static_cast<EditBox&>(editor).SetText(cellText);
  }
  editor.Place(EditorPlacement(grid_.CellLeft(), grid_.CellTop(), grid_.CellWidth(),
                               grid_.CellHeight(), host_.PixelsPerInchX(), host_.PixelsPerInchY(),
                               list != nullptr));
  if (!list) {
    auto& box = static_cast<EditBox&>(editor);
    box.SetText(cellText);
    box.SelectAllText();
  }
  editor.Focus();
  editor.Show();
  host_.RedrawGrid();
}

void TableEditor::ClearRow(long row) {
  for (long col = kColRx; col <= kColWN; ++col) grid_.SetTextMatrix(row, col, "");
}

void TableEditor::Warn(int textId) {
  MessageRequest request;
  request.textId = textId;
  request.captionId = kStrCaution;
  request.icon = MessageIcon::kExclamation;
  request.buttons = MessageButtons::kOk;
  messages_.Show(request);
}

CommitOutcome TableEditor::CommitAs(bool enterKey) {
  const long row = grid_.Row();
  const long col = grid_.Col();
  const std::string rx = grid_.TextMatrix(row, kColRx);
  const std::string tx = grid_.TextMatrix(row, kColTx);
  CellEditor& editor = EditorForColumn(col);
  if (!editor.IsVisible()) return CommitOutcome::kNoEditor;

  const std::string text = editor.Text();
  CommitOutcome outcome = CommitOutcome::kCommitted;
  if (col == kColRx) {
    if (text.empty()) {
      ClearRow(row);
      outcome = CommitOutcome::kRowCleared;
    } else {
      FrequencyCheck check = CheckFrequency(text, limits_);
      if (!check.inRange) {
        Warn(kStrOutOfRange);
        ClearRow(row);
        outcome = CommitOutcome::kRangeMessage;
      } else if (!check.onRaster) {
        Warn(kStrStepValue);
        ClearRow(row);
        outcome = CommitOutcome::kStepMessage;
      } else if (!rx.empty()) {
        grid_.SetText(check.text);
      } else {
        grid_.SetTextMatrix(row, kColRx, check.text);
        grid_.SetTextMatrix(row, kColTx, check.text);
        std::vector<std::string> defaults = NewRowDefaults(chinese_);
        for (long c = kColDec; c <= kColWN; ++c) {
          grid_.SetTextMatrix(row, c, defaults[static_cast<std::size_t>(c - kColDec)]);
        }
      }
    }
  } else if (col == kColTx) {
    if (text.empty()) {
      grid_.SetText(rx);
    } else {
      FrequencyCheck check = CheckFrequency(text, limits_);
      if (!check.inRange) {
        Warn(kStrOutOfRange);
        grid_.SetText("");
        outcome = CommitOutcome::kRangeMessage;
      } else if (!check.onRaster) {
        Warn(kStrStepValue);
        // Leaving the cell drops the channel; Enter only the transmit cell.
        if (enterKey) {
          grid_.SetText("");
        } else {
          ClearRow(row);
        }
        outcome = CommitOutcome::kStepMessage;
      } else {
        grid_.SetText(rx.empty() ? "" : check.text);
      }
    }
  } else if (col >= kColDec && col <= kColWN) {
    if (rx.empty() && tx.empty()) {
      // A row without a frequency takes no settings.
      grid_.SetText("");
    } else if (ListForColumn(col)->Selection() >= 0) {
      grid_.SetText(text);
    }
    // A list without a selection was entered on a text it has no entry for:
    // the cell keeps that text.
  }
  editor.Hide();
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
    grid_.SetCol(kColRx);
    grid_.SetRow(row + 1);
  } else {
    grid_.SetRow(1);
    grid_.SetCol(kColRx);
  }
  return true;
}

void TableEditor::Scroll() {
  for (long col = kColRx; col <= kColWN; ++col) EditorForColumn(col).Hide();
  host_.RedrawGrid();
}

}  // namespace varo::model16
