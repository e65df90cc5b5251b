#include "shell/CellEditorWidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

#include "shell/ShellText.h"

namespace varo::shell {

// The typing rules of an edit box: letters turn to upper case as they are
// typed (with `upperCase`), and the text cannot grow past `limit` characters
// by typing or pasting. A longer text the program puts into the box (a name
// of eight characters read from a file into a box for six) is taken as it
// is, and whatever the user deletes of it cannot be typed back beyond the
// limit: the text may never grow past the larger of the limit and its length
// at the last change. A plain length limit on the box would cut the program's
// text too, and the cell would lose its end when the editor is left.
class TypingRules : public QValidator {
 public:
  TypingRules(int limit, bool upperCase, QLineEdit* edit)
      : QValidator(edit), limit_(limit), upperCase_(upperCase) {
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { Allow(static_cast<int>(text.size())); });
  }

  // The length the next text may have: the limit, or more for a longer text.
  void Allow(int length) { allowed_ = limit_ > 0 ? std::max(limit_, length) : 0; }

  State validate(QString& input, int& /*pos*/) const override {
    if (upperCase_) input = input.toUpper();
    if (allowed_ > 0 && input.size() > allowed_) return Invalid;
    return Acceptable;
  }

 private:
  int limit_;
  bool upperCase_;
  int allowed_ = 0;
};

namespace {

// True when `w` holds the keyboard, or would get it back once its window is
// active again: while a message box or file dialog is up, the table's window
// is inactive and nothing in it "has" the focus, yet the window remembers the
// editor as its focus widget.
bool HoldsFocus(const QWidget* w) { return w->hasFocus() || w->window()->focusWidget() == w; }

}  // namespace

QtEditBox::QtEditBox(int controlId, QWidget* parent, QWidget* focusHome)
    : edit_(new QLineEdit(parent)), focusHome_(focusHome) {
  edit_->setObjectName(QString::number(controlId));
  edit_->setProperty("controlId", controlId);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->hide();
}

void QtEditBox::Place(const radio::EditorRect& rect) {
  edit_->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

void QtEditBox::Show() {
  edit_->show();
  edit_->raise();
  if (wantFocus_) edit_->setFocus(Qt::OtherFocusReason);
}

void QtEditBox::Hide() {
  const bool hadFocus = HoldsFocus(edit_);
  wantFocus_ = false;
  edit_->hide();
  if (hadFocus && focusHome_) focusHome_->setFocus(Qt::OtherFocusReason);
}

bool QtEditBox::IsVisible() const { return !edit_->isHidden(); }

void QtEditBox::Focus() {
  wantFocus_ = true;
  if (!edit_->isHidden()) edit_->setFocus(Qt::OtherFocusReason);
}

std::string QtEditBox::Text() const { return ToBytes(edit_->text()); }

void QtEditBox::SetText(const std::string& text) {
  const QString shown = FromBytes(text);
  // The program's text is taken whole, however long.
  if (rules_) rules_->Allow(static_cast<int>(shown.size()));
  edit_->setText(shown);
}

void QtEditBox::SetTextRules(int maxLength, bool upperCase) {
  delete rules_;
  rules_ = nullptr;
  if (maxLength > 0 || upperCase) rules_ = new TypingRules(maxLength, upperCase, edit_);
  edit_->setValidator(rules_);
  if (rules_) rules_->Allow(static_cast<int>(edit_->text().size()));
}

void QtEditBox::SelectAllText() {
  edit_->selectAll();
  edit_->setCursorPosition(static_cast<int>(edit_->text().size()));
  edit_->selectAll();
}

QtDropDownList::QtDropDownList(int controlId, QWidget* parent, QWidget* focusHome)
    : combo_(new QComboBox(parent)), focusHome_(focusHome) {
  combo_->setObjectName(QString::number(controlId));
  combo_->setProperty("controlId", controlId);
  combo_->setEditable(false);
  combo_->setMaxVisibleItems(12);
  combo_->hide();
}

void QtDropDownList::Place(const radio::EditorRect& rect) {
  combo_->setGeometry(rect.x, rect.y, rect.width,
                      std::max(1, rect.height - radio::kDropDownListRoom));
}

void QtDropDownList::Show() {
  combo_->show();
  combo_->raise();
  if (wantFocus_) combo_->setFocus(Qt::OtherFocusReason);
}

void QtDropDownList::Hide() {
  const bool hadFocus = HoldsFocus(combo_);
  wantFocus_ = false;
  combo_->hidePopup();
  combo_->hide();
  if (hadFocus && focusHome_) focusHome_->setFocus(Qt::OtherFocusReason);
}

bool QtDropDownList::IsVisible() const { return !combo_->isHidden(); }

void QtDropDownList::Focus() {
  wantFocus_ = true;
  if (!combo_->isHidden()) combo_->setFocus(Qt::OtherFocusReason);
}

std::string QtDropDownList::Text() const {
  return combo_->currentIndex() < 0 ? std::string() : ToBytes(combo_->currentText());
}

void QtDropDownList::SetEntries(const std::vector<std::string>& entries) {
  combo_->clear();
  for (const std::string& entry : entries) combo_->addItem(FromBytes(entry));
}

void QtDropDownList::Select(int index) {
  combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

int QtDropDownList::Selection() const { return combo_->currentIndex(); }

}  // namespace varo::shell
