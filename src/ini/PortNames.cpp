#include "ini/PortNames.h"

#include <cstdlib>

#include "ini/IniProfile.h"

namespace varo {

namespace {

// "COM1".."COM4" in upper case, or "" for any other name.
std::string PortKey(const std::string& portName) {
  std::string upper = portName;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.size() != 4 || upper.compare(0, 3, "COM") != 0 || upper[3] < '1' || upper[3] > '4')
    return {};
  return upper;
}

std::string ProgramPart(const std::string& program) {
  std::string part;
  for (char c : program) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const bool kept = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    part += kept ? c : '_';
  }
  return part;
}

}  // namespace

std::optional<PortRedirect> FindPortRedirect(const std::string& portName,
                                             const std::string& program) {
  const std::string port = PortKey(portName);
  if (port.empty()) return std::nullopt;
  std::string variables[2] = {"", "VARO_PORT_" + port};
  if (!program.empty()) variables[0] = "VARO_PORT_" + ProgramPart(program) + "_" + port;
  for (const std::string& variable : variables) {
    if (variable.empty()) continue;
    if (const char* env = std::getenv(variable.c_str()); env && *env)
      return PortRedirect{port, variable, env};
  }
  return std::nullopt;
}

std::string ResolvePortName(const std::string& portName, const IniProfile* ini,
                            const std::string& program) {
  static const char* const kDefaults[] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0",
                                          "/dev/ttyS1"};
  const std::string port = PortKey(portName);
  if (port.empty()) return portName;
  if (auto redirect = FindPortRedirect(port, program)) return redirect->device;
  if (ini) {
    std::string path = ini->GetValue("Ports", port, "");
    if (!path.empty()) return path;
  }
  return kDefaults[port[3] - '1'];
}

}  // namespace varo
