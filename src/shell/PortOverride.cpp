#include "shell/PortOverride.h"

#include "ini/PortNames.h"
#include "shell/CommandIds.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

std::optional<PortOverride> FindPortOverride(const CShellApp& app, const QString& portName) {
  auto redirect = FindPortRedirect(ToBytes(portName), app.Traits().programName);
  if (!redirect) return std::nullopt;
  return PortOverride{FromBytes(redirect->port), FromBytes(redirect->variable),
                      QString::fromLocal8Bit(redirect->device.c_str())};
}

QString SimulatedPortText(const CShellApp& app, const PortOverride& redirected) {
  QString text = app.Str(IDS_SIMULATED_PORT);
  if (text.isEmpty()) text = QStringLiteral("%1: simulated radio");
  return text.arg(redirected.port);
}

}  // namespace varo::shell
