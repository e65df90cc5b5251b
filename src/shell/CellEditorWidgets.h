#pragma once

#include "radio/CellEditor.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace varo::shell {

class TypingRules;

// The in-place editors of the channel table as Qt widgets: children of the
// grid's viewport, hidden until laid over a cell. Each carries its control
// id (property "controlId"), which is also its help context number.
//
// Focus asked for while an editor is still hidden is given when it shows. An
// editor that hides while it has the focus, or while it is its window's focus
// widget under a message box or file dialog, hands it back to `focusHome` (the
// grid), so the keyboard stays in the table.

class QtEditBox : public radio::EditBox {
 public:
  QtEditBox(int controlId, QWidget* parent, QWidget* focusHome);

  void Place(const radio::EditorRect& rect) override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;
  void Focus() override;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SelectAllText() override;

  // Typing cannot make the text longer than `maxLength` characters (0: no
  // limit); with `upperCase`, letters turn to upper case as they are typed.
  // A longer text given by SetText is kept whole: the limit is the user's,
  // not the cell's.
  void SetTextRules(int maxLength, bool upperCase);

  QLineEdit* Widget() const { return edit_; }

 private:
  QLineEdit* edit_;
  TypingRules* rules_ = nullptr;
  QWidget* focusHome_;
  bool wantFocus_ = false;
};

class QtDropDownList : public radio::DropDownList {
 public:
  // The editor rules give a drop-down list room below the cell for its list
  // (radio::kDropDownListRoom); a Qt combo box opens its list in a window of
  // its own, so the box keeps the cell's height.

  QtDropDownList(int controlId, QWidget* parent, QWidget* focusHome);

  void Place(const radio::EditorRect& rect) override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;
  void Focus() override;
  std::string Text() const override;
  void SetEntries(const std::vector<std::string>& entries) override;
  void Select(int index) override;
  int Selection() const override;

  QComboBox* Widget() const { return combo_; }

 private:
  QComboBox* combo_;
  QWidget* focusHome_;
  bool wantFocus_ = false;
};

}  // namespace varo::shell
