#pragma once

#include <string>
#include <vector>

#include "radio/CellEditor.h"
#include "radio/GridControl.h"
#include "radio/MessageBoxes.h"

namespace varo::test {

// Stand-ins for the windows the table editor works with: cell editors that
// keep what they are given, a host at 96 dpi, message boxes that only note
// what they were asked, and a log of the grid's cell events.

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

}  // namespace varo::test
