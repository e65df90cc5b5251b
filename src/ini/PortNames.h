#pragma once

#include <string>

namespace varo {

class IniProfile;

// The device path for a port name as the user picks it: "COM1".."COM4" (any
// letter case) through the program INI section "Ports" (keys "COM1".."COM4"),
// defaulting to /dev/ttyUSB0, /dev/ttyUSB1, /dev/ttyS0, /dev/ttyS1. The
// environment variable VARO_PORT_<NAME> (for example VARO_PORT_COM1) overrides
// both for one run, so a simulated radio can stand behind COM1. Any other name
// is a device path as it stands. `ini` may be null (defaults only).
std::string ResolvePortName(const std::string& portName, const IniProfile* ini);

}  // namespace varo
