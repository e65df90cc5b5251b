#pragma once

#include <QString>
#include <optional>

namespace varo::shell {

class CShellApp;

// A port name redirected for one run by the environment: VARO_PORT_COM1 ..
// VARO_PORT_COM4 (the names "COM1".."COM4" in any letter case), which the
// serial layer honours ahead of the INI's port map. The start script points
// COM1 at the simulated radio this way; a user with a real cable has no such
// variable.
struct PortOverride {
  QString port;      // "COM1"
  QString variable;  // "VARO_PORT_COM1"
  QString device;    // what the variable names
};

// The redirection in effect for `portName`, or nothing.
std::optional<PortOverride> FindPortOverride(const QString& portName);

// "COM1: simulated radio" in the interface language.
QString SimulatedPortText(const CShellApp& app, const PortOverride& redirected);

}  // namespace varo::shell
