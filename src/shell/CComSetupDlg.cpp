#include "shell/CComSetupDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ini/PortNames.h"
#include "ini/Registry.h"
#include "platform/SerialPort.h"
#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/PortOverride.h"
#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"

namespace varo::shell {
namespace {

constexpr int kFirstButtonId = 1007;

std::string PortKey(const IniProfile& ini) {
  return "Software\\" + ini.GetValue("Setup", "AppName", "");
}

}  // namespace

CComSetupDlg::CComSetupDlg(CShellApp& app, CShellView& view, QWidget* parent)
    : QDialog(parent), app_(app), view_(view) {
  setObjectName(QStringLiteral("CComSetupDlg"));
  const DialogUnits du(font());
  setFixedSize(du.X(178), du.Y(109));
  setWindowTitle(app.DialogText(IDD_COM_SETUP, "caption", QStringLiteral("COM Setup")));

  auto* box = new QGroupBox(app.DialogText(IDD_COM_SETUP, "group", QStringLiteral("COM")), this);
  du.Place(box, 20, 13, 139, 57);
  group_ = new QButtonGroup(this);
  const int pos[4][2] = {{37, 28}, {105, 28}, {37, 50}, {105, 50}};
  for (int i = 0; i < 4; ++i) {
    const int id = kFirstButtonId + i;
    buttons_[i] = new QRadioButton(
        app.DialogText(IDD_COM_SETUP, std::to_string(id), QStringLiteral("COM%1").arg(i + 1)),
        this);
    buttons_[i]->setObjectName(QString::number(id));
    du.Place(buttons_[i], pos[i][0], pos[i][1], 40, 11);
    group_->addButton(buttons_[i], i);
  }

  auto* ok = new QPushButton(app.DialogText(IDD_COM_SETUP, "1", app.Tr("OK", "确定")), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  du.Place(ok, 33, 81, 35, 14);
  auto* cancel =
      new QPushButton(app.DialogText(IDD_COM_SETUP, "2", app.Tr("Cancel", "取消")), this);
  cancel->setObjectName(QStringLiteral("2"));
  du.Place(cancel, 109, 82, 35, 14);
  connect(ok, &QPushButton::clicked, this, &CComSetupDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // Redirected ports: one line under the buttons, the device in the tooltip.
  QStringList redirected;
  for (int i = 0; i < 4; ++i) {
    if (auto over = FindPortOverride(app_, QStringLiteral("COM%1").arg(i + 1))) {
      redirected << SimulatedPortText(app_, *over);
      buttons_[i]->setToolTip(over->variable + QLatin1Char('=') + over->device);
    }
  }
  if (!redirected.isEmpty()) {
    setFixedSize(du.X(178), du.Y(123));
    overrides_ = new QLabel(redirected.join(QStringLiteral(", ")), this);
    overrides_->setObjectName(QString::number(IDC_PORT_OVERRIDES));
    overrides_->setWordWrap(true);
    du.Place(overrides_, 20, 101, 139, 18);
  }

  Probe();
  const std::uint32_t stored = Registry(PortKey(app_.Ini())).QueryDword("com").value_or(1);
  SetChoice(static_cast<int>(stored) - 1);
}

void CComSetupDlg::Probe() {
  // A port that cannot be opened now (missing, or in use by another program)
  // cannot be chosen.
  for (int n = 1; n <= 4; ++n) {
    std::unique_ptr<SerialPort> port = CreateSerialPort();
    const bool opened = port->Open(ResolvePortName("com" + std::to_string(n), &app_.Ini(),
                                                     app_.Traits().programName));
    port->Close();
    buttons_[n - 1]->setEnabled(opened);
  }
}

void CComSetupDlg::SetChoice(int choice) {
  // A disabled button may be the selected one; a number outside 1-4
  // selects none.
  group_->setExclusive(false);
  for (int i = 0; i < 4; ++i) buttons_[i]->setChecked(i == choice);
  group_->setExclusive(true);
}

int CComSetupDlg::Choice() const { return group_->checkedId(); }

void CComSetupDlg::accept() {
  const int choice = Choice();
  view_.SetPortName(QStringLiteral("com%1").arg(choice + 1));
  Registry(PortKey(app_.Ini())).SetDword("com", static_cast<std::uint32_t>(choice + 1));
  QDialog::accept();
}

void CComSetupDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) app_.ShowHelp(ID_COM_SETUP);
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
