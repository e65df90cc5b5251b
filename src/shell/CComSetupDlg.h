#pragma once

#include <QDialog>

class QButtonGroup;
class QLabel;
class QRadioButton;

namespace varo::shell {

class CShellApp;
class CShellView;

// COM Setup (template 135): the port the clone link opens. Opening probes
// COM1-COM4 and disables those that cannot be opened (missing or in use),
// then selects the port stored as "com" under "Software\<AppName>". OK sets
// the view's port name ("com1".."com4") and stores the number. Ports the
// environment redirects for this run (a simulated radio) are named in a line
// below the buttons.
class CComSetupDlg : public QDialog {
  Q_OBJECT

 public:
  CComSetupDlg(CShellApp& app, CShellView& view, QWidget* parent);

  // 0-3 for COM1-COM4, -1 for none.
  int Choice() const;
  QRadioButton* Button(int index) const { return buttons_[index]; }
  // The line naming the redirected ports; nullptr when none is.
  QLabel* OverrideLine() const { return overrides_; }

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Probe();
  void SetChoice(int choice);

  CShellApp& app_;
  CShellView& view_;
  QButtonGroup* group_;
  QRadioButton* buttons_[4];
  QLabel* overrides_ = nullptr;
};

}  // namespace varo::shell
