#pragma once

#include <QString>
#include <optional>

namespace varo::shell {

class CShellApp;

// A port name redirected for one run by the environment (see
// FindPortRedirect in ini/PortNames.h): VARO_PORT_<PROGRAM>_COMn for this
// programmer, else VARO_PORT_COMn, which the serial layer honours ahead of
// the INI's port map. The start script points each programmer's COM1 at a
// simulated radio of its model this way; a user with a real cable has no
// such variable.
struct PortOverride {
  QString port;      // "COM1"
  QString variable;  // "VARO_PORT_VARO16_COM1" or "VARO_PORT_COM1"
  QString device;    // what the variable names
};

// The redirection in effect for `portName` in the running programmer, or nothing.
std::optional<PortOverride> FindPortOverride(const CShellApp& app, const QString& portName);

// "COM1: simulated radio" in the interface language.
QString SimulatedPortText(const CShellApp& app, const PortOverride& redirected);

}  // namespace varo::shell
