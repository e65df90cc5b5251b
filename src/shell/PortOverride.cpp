#include "shell/PortOverride.h"

#include <QtGlobal>

#include "shell/CommandIds.h"
#include "shell/ShellApp.h"

namespace varo::shell {

std::optional<PortOverride> FindPortOverride(const QString& portName) {
  const QString port = portName.toUpper();
  if (port.size() != 4 || !port.startsWith(QLatin1String("COM")) || port[3] < QLatin1Char('1') ||
      port[3] > QLatin1Char('4'))
    return std::nullopt;
  const QString variable = QStringLiteral("VARO_PORT_") + port;
  const QString device = qEnvironmentVariable(variable.toLatin1().constData());
  if (device.isEmpty()) return std::nullopt;
  return PortOverride{port, variable, device};
}

QString SimulatedPortText(const CShellApp& app, const PortOverride& redirected) {
  QString text = app.Str(IDS_SIMULATED_PORT);
  if (text.isEmpty()) text = QStringLiteral("%1: simulated radio");
  return text.arg(redirected.port);
}

}  // namespace varo::shell
