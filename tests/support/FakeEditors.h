#pragma once

// In-memory stand-ins for the cell editors, the grid's window and the message
// boxes, so that the table editor's rules run without a window: in the core
// tests and in the cell-text fuzz harness.

#include <string>
#include <vector>

#include "radio/CellEditor.h"
#include "radio/ChannelTable.h"
#include "radio/MessageBoxes.h"

namespace varo::test {

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
  void SelectAllText() override {}
  std::string text;
};

struct FakeList : FakeCommon<radio::DropDownList> {
  void SetEntries(const std::vector<std::string>& e) override { entries = e; }
  void Select(int i) override { selection = i < static_cast<int>(entries.size()) ? i : -1; }
  int Selection() const override { return selection; }
  std::string Text() const override {
    return selection >= 0 ? entries[static_cast<std::size_t>(selection)] : "";
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

}  // namespace varo::test
