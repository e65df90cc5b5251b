#include "shell/CComSetupDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ini/PortNames.h"
#include "ini/Registry.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "radio/PortOpenText.h"
#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/PortOverride.h"
#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"

namespace varo::shell {
namespace {

constexpr int kFirstButtonId = 1007;
constexpr int kFirstDeviceId = 1012;  // the device lines beside the buttons

std::string PortKey(const IniProfile& ini) {
  return "Software\\" + ini.GetValue("Setup", "AppName", "");
}

}  // namespace

CComSetupDlg::CComSetupDlg(CShellApp& app, CShellView& view, QWidget* parent)
    : QDialog(parent), app_(app), view_(view) {
  setObjectName(QStringLiteral("CComSetupDlg"));
  const DialogUnits du(font());
  setWindowTitle(app.DialogText(IDD_COM_SETUP, "caption", QStringLiteral("COM Setup")));

  // One row per port: its button, and beside it the device the name maps to,
  // its state and what the system knows of it.
  auto* box = new QGroupBox(app.DialogText(IDD_COM_SETUP, "group", QStringLiteral("COM")), this);
  du.Place(box, 12, 8, 276, 110);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    const int id = kFirstButtonId + i;
    buttons_[i] = new QRadioButton(
        app.DialogText(IDD_COM_SETUP, std::to_string(id), QStringLiteral("COM%1").arg(i + 1)),
        this);
    buttons_[i]->setObjectName(QString::number(id));
    du.Place(buttons_[i], 22, 23 + 24 * i, 36, 11);
    group_->addButton(buttons_[i], i);
    devices_[i] = new QLabel(this);
    devices_[i]->setObjectName(QString::number(kFirstDeviceId + i));
    du.Place(devices_[i], 62, 21 + 24 * i, 220, 22);
  }

  // Redirected ports: one line under the group, the device in the tooltip.
  QStringList redirected;
  for (int i = 0; i < 4; ++i) {
    if (auto over = FindPortOverride(app_, QStringLiteral("COM%1").arg(i + 1))) {
      redirected << SimulatedPortText(app_, *over);
      buttons_[i]->setToolTip(over->variable + QLatin1Char('=') + over->device);
    }
  }
  int buttonsY = 126;
  if (!redirected.isEmpty()) {
    overrides_ = new QLabel(redirected.join(QStringLiteral(", ")), this);
    overrides_->setObjectName(QString::number(IDC_PORT_OVERRIDES));
    overrides_->setWordWrap(true);
    du.Place(overrides_, 12, 122, 276, 10);
    buttonsY = 138;
  }
  setFixedSize(du.X(300), du.Y(buttonsY + 24));

  auto* ok = new QPushButton(app.DialogText(IDD_COM_SETUP, "1", app.Tr("OK", "确定")), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  du.Place(ok, 90, buttonsY, 40, 14);
  auto* cancel =
      new QPushButton(app.DialogText(IDD_COM_SETUP, "2", app.Tr("Cancel", "取消")), this);
  cancel->setObjectName(QStringLiteral("2"));
  du.Place(cancel, 170, buttonsY, 40, 14);
  connect(ok, &QPushButton::clicked, this, &CComSetupDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  Probe();
  const std::uint32_t stored = Registry(PortKey(app_.Ini())).QueryDword("com").value_or(1);
  SetChoice(static_cast<int>(stored) - 1);
}

void CComSetupDlg::Probe() {
  // A port that cannot be opened now (missing, or in use by another program)
  // cannot be chosen; its line says why.
  for (int n = 1; n <= 4; ++n) {
    const std::string device =
        ResolvePortName("com" + std::to_string(n), &app_.Ini(), app_.Traits().programName);
    std::unique_ptr<SerialPort> port = CreateSerialPort();
    const bool opened = port->Open(device);
    const PortOpenError state = opened ? PortOpenError{} : port->LastOpenError();
    port->Close();
    buttons_[n - 1]->setEnabled(opened);
    ShowDevice(n - 1, device, state);
  }
}

void CComSetupDlg::ShowDevice(int index, const std::string& device, const PortOpenError& state) {
  // First line: the device the name maps to (and the node a link leads to)
  // with its state; second line: the adapter and its stable by-id name.
  const std::optional<SerialDeviceInfo> info = DescribeSerialDevice(device);
  QString first = QString::fromStdString(device);
  if (info && info->path != device) first += QStringLiteral(" → ") + QString::fromStdString(info->path);
  first += QStringLiteral(" — ") + QString::fromStdString(radio::PortStateText(state, app_.Chinese()));
  QStringList second;
  if (info && !info->Description().empty()) second << QString::fromStdString(info->Description());
  if (info && !info->byId.empty() && info->byId != device) {
    second << QString::fromStdString(info->byId.substr(info->byId.rfind('/') + 1));
  }
  const QString detail = second.join(QStringLiteral(" · "));
  QLabel* label = devices_[index];
  const QFontMetrics metrics(label->font());
  const int width = label->width();
  label->setText(metrics.elidedText(first, Qt::ElideMiddle, width) + QLatin1Char('\n') +
                 metrics.elidedText(detail, Qt::ElideRight, width));
  QString tip = first;
  if (!detail.isEmpty()) tip += QLatin1Char('\n') + detail;
  if (info && !info->byId.empty()) tip += QLatin1Char('\n') + QString::fromStdString(info->byId);
  label->setToolTip(tip);
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
