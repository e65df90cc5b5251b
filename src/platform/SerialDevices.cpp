#include "platform/SerialDevices.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace varo {
namespace {

namespace fs = std::filesystem;

struct Roots {
  std::string dev = "/dev";
  std::string sys = "/sys";
};

std::mutex& RootsMutex() {
  static std::mutex mutex;
  return mutex;
}

Roots& CurrentRoots() {
  static Roots roots;
  return roots;
}

Roots GetRoots() {
  std::lock_guard<std::mutex> lock(RootsMutex());
  return CurrentRoots();
}

// The path with every link resolved, or nothing when it leads nowhere.
std::optional<fs::path> Resolved(const fs::path& path) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec);
  if (ec) return std::nullopt;
  return real;
}

// The first line of a sysfs attribute, "" when there is none.
std::string Attribute(const fs::path& file) {
  std::string line;
  std::ifstream in(file);
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

// Fills in what sysfs says about tty `name`: the driver of the port and,
// for a USB adapter, the descriptors of the USB device above the port
// (one level up for an ACM modem's interface, two for a usb-serial port).
void ReadSysfs(const Roots& roots, const std::string& name, SerialDeviceInfo& info) {
  const auto device = Resolved(fs::path(roots.sys) / "class/tty" / name / "device");
  if (!device) return;
  std::error_code ec;
  if (fs::is_symlink(*device / "driver", ec)) {
    info.driver = fs::read_symlink(*device / "driver", ec).filename().string();
  }
  fs::path dir = *device;
  for (int up = 0; up < 4 && !dir.empty() && dir != dir.root_path(); ++up, dir = dir.parent_path()) {
    if (!fs::exists(dir / "idVendor", ec)) continue;
    info.vendorId = Attribute(dir / "idVendor");
    info.productId = Attribute(dir / "idProduct");
    info.manufacturer = Attribute(dir / "manufacturer");
    info.product = Attribute(dir / "product");
    info.serial = Attribute(dir / "serial");
    return;
  }
}

// The by-id link that leads to `node`, "" when none does.
std::string ByIdName(const Roots& roots, const fs::path& node) {
  std::error_code ec;
  const fs::path byId = fs::path(roots.dev) / "serial/by-id";
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(byId, ec)) {
    if (Resolved(entry.path()) == node) names.push_back(entry.path().string());
  }
  // Several names (one per interface, say): the first in order, so the
  // answer does not change from one call to the next.
  std::sort(names.begin(), names.end());
  return names.empty() ? std::string() : names.front();
}

// The name of the tty in sysfs that `node` is: for a character device the
// one its device number leads to (sys/dev/char/<major>:<minor>), whatever the
// node is called; for anything else a node right in the device folder by its
// own name ("/dev/pts/3" is no "3"). "" when there is none.
std::string SysfsName(const Roots& roots, const fs::path& node) {
  struct stat st {};
  if (::stat(node.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) {
    const std::string number =
        std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
    const auto tty = Resolved(fs::path(roots.sys) / "dev/char" / number);
    return tty ? tty->filename().string() : std::string();
  }
  return node.parent_path() == Resolved(roots.dev) ? node.filename().string() : std::string();
}

}  // namespace

std::string SerialDeviceInfo::Description() const {
  std::string text = manufacturer;
  // Many adapters repeat the maker in the product name.
  if (!product.empty() && product.rfind(manufacturer, 0) != 0) {
    text += (text.empty() ? "" : " ") + product;
  } else if (!product.empty()) {
    text = product;
  }
  if (!vendorId.empty()) {
    text += (text.empty() ? "" : " ") + std::string("(") + vendorId + ":" + productId + ")";
  }
  return text;
}

void SetDeviceRoots(const std::string& devRoot, const std::string& sysRoot) {
  std::lock_guard<std::mutex> lock(RootsMutex());
  CurrentRoots().dev = devRoot.empty() ? "/dev" : devRoot;
  CurrentRoots().sys = sysRoot.empty() ? "/sys" : sysRoot;
}

std::optional<SerialDeviceInfo> DescribeSerialDevice(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const Roots roots = GetRoots();
  const auto node = Resolved(path);
  if (!node) return std::nullopt;
  SerialDeviceInfo info;
  info.path = node->string();
  info.byId = ByIdName(roots, *node);
  if (const std::string name = SysfsName(roots, *node); !name.empty()) {
    ReadSysfs(roots, name, info);
  }
  return info;
}

std::vector<SerialDeviceInfo> ListSerialDevices() {
  const Roots roots = GetRoots();
  std::vector<SerialDeviceInfo> devices;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::path(roots.sys) / "class/tty", ec)) {
    const std::string name = entry.path().filename().string();
    if (!fs::exists(entry.path() / "device", ec)) continue;  // virtual terminals
    if (fs::exists(entry.path() / "type", ec) && Attribute(entry.path() / "type") == "0") continue;
    auto info = DescribeSerialDevice((fs::path(roots.dev) / name).string());
    if (info) devices.push_back(std::move(*info));
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return a.path < b.path; });
  return devices;
}

}  // namespace varo
