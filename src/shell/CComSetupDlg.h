#pragma once

#include <QDialog>

#include <string>

class QButtonGroup;
class QLabel;
class QRadioButton;

namespace varo {
struct PortOpenError;
}

namespace varo::shell {

class CShellApp;
class CShellView;

// COM Setup (template 135): the port the clone link opens. Opening probes
// COM1-COM4 and disables those that cannot be opened (missing or in use),
// then selects the port stored as "com" under "Software\<AppName>". OK sets
// the view's port name ("com1".."com4") and stores the number. Beside each
// button (one row per port) a two-line label (controls 1012-1015) names the
// device the port maps to and its state (ready, in use, no permission, not
// connected), then the USB adapter behind it and its /dev/serial/by-id name
// when the system knows them. Ports the environment redirects for this run
// (a simulated radio) are named in a line below the group.
class CComSetupDlg : public QDialog {
  Q_OBJECT

 public:
  CComSetupDlg(CShellApp& app, CShellView& view, QWidget* parent);

  // 0-3 for COM1-COM4, -1 for none.
  int Choice() const;
  QRadioButton* Button(int index) const { return buttons_[index]; }
  // The device line of port `index` (0-3).
  QLabel* Device(int index) const { return devices_[index]; }
  // The line naming the redirected ports; nullptr when none is.
  QLabel* OverrideLine() const { return overrides_; }

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Probe();
  void ShowDevice(int index, const std::string& device, const PortOpenError& state);
  void SetChoice(int choice);

  CShellApp& app_;
  CShellView& view_;
  QButtonGroup* group_;
  QRadioButton* buttons_[4];
  QLabel* devices_[4];
  QLabel* overrides_ = nullptr;
};

}  // namespace varo::shell
