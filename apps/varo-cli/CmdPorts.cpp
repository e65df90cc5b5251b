// varo-cli ports: the COM names, the devices they map to and the serial
// devices of the system.
#include "CmdPorts.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "CmdTransfer.h"
#include "ini/IniProfile.h"
#include "ini/PortNames.h"
#include "models/Models.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "radio/PortOpenText.h"

namespace varo::cli {

namespace {

constexpr char kUsage[] = "usage: varo-cli ports [--model NAME] [--ini PROGRAM.ini] [--lang en|zh]\n";

// Opens the port and closes it at once, as COM Setup does, to learn its state.
PortOpenError Probe(const std::string& device) {
  std::unique_ptr<SerialPort> port = CreateSerialPort();
  const bool opened = port->Open(device);
  port->Close();
  return opened ? PortOpenError{} : port->LastOpenError();
}

// "<state>  <description>" and, on lines of their own, the by-id name and for
// a port that is there but cannot be used what to do about it.
void PrintDevice(const std::string& device, bool chinese, const char* indent) {
  const PortOpenError state = Probe(device);
  const std::optional<SerialDeviceInfo> info = DescribeSerialDevice(device);
  std::printf("  %s", radio::PortStateText(state, chinese).c_str());
  if (info && info->path != device) std::printf("  -> %s", info->path.c_str());
  if (info && !info->Description().empty()) std::printf("  %s", info->Description().c_str());
  std::printf("\n");
  if (info && !info->byId.empty() && info->byId != device) {
    std::printf("%s%s\n", indent, info->byId.c_str());
  }
  using Reason = PortOpenError::Reason;
  if (state.reason != Reason::kNone && state.reason != Reason::kMissing) {
    std::printf("%s%s\n", indent, radio::PortOpenAdvice(state, chinese).c_str());
  }
}

}  // namespace

int RunPorts(const std::vector<std::string>& args) {
  std::string modelName = "16";
  std::string iniOption;
  std::string lang;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--model" && hasValue) {
      modelName = args[++i];
    } else if (args[i] == "--ini" && hasValue) {
      iniOption = args[++i];
    } else if (args[i] == "--lang" && hasValue && (args[i + 1] == "en" || args[i + 1] == "zh")) {
      lang = args[++i];
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  const radio::RadioModel* model = models::ByName(modelName);
  if (!model) {
    std::fprintf(stderr, "varo-cli: unknown radio model \"%s\" (known: %s)\n", modelName.c_str(),
                 models::Names().c_str());
    return 2;
  }
  IniProfile ini;
  bool haveIni = false;
  if (!OpenPortsIni(iniOption, *model, ini, haveIni)) return 1;
  const bool chinese =
      lang.empty() ? haveIni && ini.GetValue("Setup", "Language", "") == "Chinese" : lang == "zh";

  // The COM names as the programmer's COM Setup offers them.
  for (int n = 1; n <= 4; ++n) {
    const std::string com = "COM" + std::to_string(n);
    const std::string device = ResolvePortName(com, haveIni ? &ini : nullptr);
    std::printf("%s  %s", com.c_str(), device.c_str());
    if (const char* over = std::getenv(("VARO_PORT_" + com).c_str()); over && *over) {
      std::printf("  (VARO_PORT_%s)", com.c_str());
    }
    PrintDevice(device, chinese, "      ");
  }

  const std::vector<SerialDeviceInfo> devices = ListSerialDevices();
  std::printf("\n%s\n", chinese ? "串口设备：" : "Serial devices:");
  if (devices.empty()) std::printf("  %s\n", chinese ? "（无）" : "(none)");
  for (const SerialDeviceInfo& device : devices) {
    std::printf("  %s", device.path.c_str());
    PrintDevice(device.path, chinese, "      ");
  }
  return 0;
}

}  // namespace varo::cli
