#pragma once

#include <QDialog>

class QButtonGroup;
class QRadioButton;

namespace varo::shell {

class CShellApp;

// Language (template 134): English or Chinese. OK with the other language
// than the running one writes "Setup"/"Language" into the program INI and
// sets the changed mark; the new language takes effect after a restart.
class CLanguageDlg : public QDialog {
  Q_OBJECT

 public:
  CLanguageDlg(CShellApp& app, QWidget* parent);

  // 0 English, 1 Chinese, -1 none.
  int Choice() const;
  bool Changed() const { return changed_; }
  QRadioButton* Button(int index) const { return buttons_[index]; }

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CShellApp& app_;
  QButtonGroup* group_;
  QRadioButton* buttons_[2];
  bool changed_ = false;
};

}  // namespace varo::shell
