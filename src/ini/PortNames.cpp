#include "ini/PortNames.h"

#include <cstdlib>

#include "ini/IniProfile.h"

namespace varo {

std::string ResolvePortName(const std::string& portName, const IniProfile* ini) {
  static const char* const kDefaults[] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0",
                                          "/dev/ttyS1"};
  std::string upper = portName;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.size() != 4 || upper.compare(0, 3, "COM") != 0 || upper[3] < '1' || upper[3] > '4') {
    return portName;
  }
  if (const char* env = std::getenv(("VARO_PORT_" + upper).c_str()); env && *env) return env;
  if (ini) {
    std::string path = ini->GetValue("Ports", upper, "");
    if (!path.empty()) return path;
  }
  return kDefaults[upper[3] - '1'];
}

}  // namespace varo
