#pragma once

#include <deque>
#include <string>
#include <vector>

#include "radio/CellEditor.h"
#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/MemoryGrid.h"
#include "radio/MessageBoxes.h"
#include "radio/TableEditor.h"

namespace varo::test {

// Stand-ins for the windows the table editor works with: cell editors that
// keep what they are given, a host at 96 dpi, message boxes that only note
// what they were asked, and a log of the grid's cell events; so that the
// table editor's rules run without a window, in the core tests and in the
// cell-text fuzz harness.

template <class Base>
struct FakeCommon : Base {
  void Place(const radio::EditorRect& r) override { rect = r; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void Focus() override {}
  bool visible = true;  // SetUp() must hide them
  radio::EditorRect rect;
};

struct FakeEditBox : FakeCommon<radio::EditBox> {
  void SetText(const std::string& t) override { text = t; }
  std::string Text() const override { return text; }
  void SelectAllText() override { ++selections; }
  std::string text;
  int selections = 0;
};

struct FakeList : FakeCommon<radio::DropDownList> {
  void SetEntries(const std::vector<std::string>& e) override { entries = e; }
  void Select(int i) override { selection = i < static_cast<int>(entries.size()) ? i : -1; }
  int Selection() const override { return selection; }
  std::string Text() const override {
    return selection >= 0 ? entries[static_cast<std::size_t>(selection)] : "";
  }
  // Selects the entry `text`, as the user's choice does.
  void Choose(const std::string& text) {
    selection = -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i] == text) selection = static_cast<int>(i);
  }
  std::vector<std::string> entries;
  int selection = -1;
};

struct FakeHost : radio::EditorHost {
  int PixelsPerInchX() const override { return 96; }
  int PixelsPerInchY() const override { return 96; }
  void RedrawGrid() override {}
};

struct RecordingMessages : radio::MessageBoxes {
  radio::MessageAnswer Show(const radio::MessageRequest& request) override {
    shown.push_back(request);
    return radio::MessageAnswer::kOk;
  }
  std::vector<radio::MessageRequest> shown;
};

// Logs the grid's events with the current cell, then hands them on to `next`.
struct EventLog : radio::GridEvents {
  EventLog(radio::GridControl& g, radio::GridEvents* n) : grid(g), next(n) {}
  void OnEnterCell() override { Log("enter"), next ? next->OnEnterCell() : void(); }
  void OnLeaveCell() override { Log("leave"), next ? next->OnLeaveCell() : void(); }
  void Log(const char* what) {
    log.push_back(what +
                  ("(" + std::to_string(grid.Row()) + "," + std::to_string(grid.Col()) + ")"));
  }
  radio::GridControl& grid;
  radio::GridEvents* next;
  std::vector<std::string> log;
};

// One fake editor per column of `table`, as its editor kind asks: an edit box
// for frequency and text columns, a drop-down list for the others.
struct FakeColumnEditors {
  explicit FakeColumnEditors(const radio::TableSpec& table)
      : boxes(static_cast<std::size_t>(table.Cols())), lists(boxes.size()) {
    for (long c = 0; c < table.Cols(); ++c) {
      const auto i = static_cast<std::size_t>(c);
      switch (table.Column(c).editor) {
        case radio::EditorKind::kFrequency:
        case radio::EditorKind::kText:
          editors.push_back({&boxes[i], nullptr});
          break;
        case radio::EditorKind::kDropDown:
          editors.push_back({nullptr, &lists[i]});
          break;
        case radio::EditorKind::kNone:
          editors.push_back({});
          break;
      }
    }
  }
  FakeColumnEditors(const FakeColumnEditors&) = delete;
  FakeColumnEditors& operator=(const FakeColumnEditors&) = delete;

  std::vector<FakeEditBox> boxes;
  std::vector<FakeList> lists;
  std::vector<radio::ColumnEditor> editors;
};

// A table editor on an in-memory grid with the editors its table asks for:
// an edit box for each frequency or text column, a drop-down list for each
// other column with an editor. SetUp() has run and the band is 130-160 MHz.
class TableEditorRig {
 public:
  TableEditorRig(const radio::TableSpec& table, bool chinese)
      : grid(table.Rows(), table.Cols()), editor(grid, table, Editors(table), host, messages, chinese) {
    editor.SetUp();
    editor.SetBandLimits({13000000, 16000000});
    grid.SetEvents(&editor);
  }

  FakeEditBox& Box(long col) { return *boxes_[static_cast<std::size_t>(col)]; }
  FakeList& List(long col) { return *lists_[static_cast<std::size_t>(col)]; }

  // Makes (row, col) current without committing on the way and opens its
  // editor, as a click on the cell does; then types `text` into an edit box
  // or chooses it in a list (an empty text leaves the list as it opened).
  void Type(long row, long col, const std::string& text) {
    editor.Scroll();
    grid.SetEvents(nullptr);
    grid.SetRow(row);
    grid.SetCol(col);
    grid.SetEvents(&editor);
    editor.EnterCell();
    if (boxes_[static_cast<std::size_t>(col)]) {
      Box(col).text = text;
    } else if (!text.empty()) {
      List(col).Choose(text);
    }
  }
  void Commit(long row, long col, const std::string& text) {
    Type(row, col, text);
    editor.Commit();
  }

  // The texts of columns 1 to the last of `row`.
  std::vector<std::string> Row(long row) const {
    std::vector<std::string> texts;
    for (long c = 1; c < grid.Cols(); ++c) texts.push_back(grid.TextMatrix(row, c));
    return texts;
  }

  radio::MemoryGrid grid;
  FakeHost host;
  RecordingMessages messages;

 private:
  std::vector<radio::ColumnEditor> Editors(const radio::TableSpec& table) {
    std::vector<radio::ColumnEditor> editors(static_cast<std::size_t>(table.Cols()));
    boxes_.assign(editors.size(), nullptr);
    lists_.assign(editors.size(), nullptr);
    for (std::size_t c = 1; c < editors.size(); ++c) {
      const radio::EditorKind kind = table.Column(static_cast<long>(c)).editor;
      if (kind == radio::EditorKind::kFrequency || kind == radio::EditorKind::kText) {
        editors[c].box = boxes_[c] = &boxStore_.emplace_back();
      } else if (kind == radio::EditorKind::kDropDown) {
        editors[c].list = lists_[c] = &listStore_.emplace_back();
      }
    }
    return editors;
  }

  std::deque<FakeEditBox> boxStore_;
  std::deque<FakeList> listStore_;
  std::vector<FakeEditBox*> boxes_;
  std::vector<FakeList*> lists_;

 public:
  radio::TableEditor editor;  // made last: it takes the editors above
};

}  // namespace varo::test
