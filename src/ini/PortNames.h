#pragma once

#include <optional>
#include <string>

namespace varo {

class IniProfile;

// A port name redirected for one run by the environment, ahead of the INI's
// port map. For program P and port COMn (n = 1..4, any letter case) the
// variables are VARO_PORT_<P>_COMn, with P in upper case and every character
// other than a letter or digit as '_' (VARO_PORT_VARO199V3_COM1), then
// VARO_PORT_COMn for every program. So a start script can give each
// programmer a simulated radio of its own model behind COM1, or all of them
// one radio.
struct PortRedirect {
  std::string port;      // "COM1"
  std::string variable;  // "VARO_PORT_VARO199V3_COM1" or "VARO_PORT_COM1"
  std::string device;    // what the variable names
};

// The redirection in effect for `portName` in `program` ("" for none of its
// own), or nothing.
std::optional<PortRedirect> FindPortRedirect(const std::string& portName,
                                             const std::string& program = "");

// The device path for a port name as the user picks it: "COM1".."COM4" (any
// letter case) through a redirection (above), else the program INI section
// "Ports" (keys "COM1".."COM4"), defaulting to /dev/ttyUSB0, /dev/ttyUSB1,
// /dev/ttyS0, /dev/ttyS1. Any other name is a device path as it stands.
// `ini` may be null (defaults only).
std::string ResolvePortName(const std::string& portName, const IniProfile* ini,
                            const std::string& program = "");

}  // namespace varo
