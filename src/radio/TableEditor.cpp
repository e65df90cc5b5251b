#include "radio/TableEditor.h"

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

TableEditor::TableEditor(GridControl& grid, const TableSpec& table,
                         std::vector<ColumnEditor> editors, EditorHost& host,
                         MessageBoxes& messages, bool chinese)
    : grid_(grid),
      table_(table),
      editors_(std::move(editors)),
      host_(host),
      messages_(messages),
      chinese_(chinese),
      rules_(grid, table) {
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
  const ColumnEditor& e = EditorsOf(col);
  CellEditor& editor = *e.editor();
  if (!editor.IsVisible()) return CommitOutcome::kNoEditor;

  CommitOutcome outcome = CommitOutcome::kCommitted;
  // A list without a selection was entered on a text it has no entry for:
  // the cell keeps that text.
  if (col <= rules_.TxCol() || !e.list || e.list->Selection() >= 0) {
    outcome = rules_.Commit(row, col, editor.Text(), limits_, chinese_, enterKey,
                            [this](CommitOutcome failed) {
                              Warn(failed == CommitOutcome::kRangeMessage ? kStrOutOfRange
                                                                          : kStrStepValue);
                            });
  } else if (grid_.TextMatrix(row, rules_.RxCol()).empty() &&
             grid_.TextMatrix(row, rules_.TxCol()).empty()) {
    // A row without a frequency takes no settings.
    grid_.SetText("");
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
    grid_.SetCol(rules_.RxCol());
    grid_.SetRow(row + 1);
  } else {
    grid_.SetRow(1);
    grid_.SetCol(rules_.RxCol());
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
