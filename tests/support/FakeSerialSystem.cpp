#include "support/FakeSerialSystem.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <utility>

#include "platform/SerialDevices.h"

namespace varo::test {

namespace fs = std::filesystem;

namespace {

void WriteLine(const fs::path& file, const std::string& text) {
  std::ofstream(file) << text << "\n";
}

}  // namespace

FakeSerialSystem::FakeSerialSystem() : root_(fs::canonical(dir_.path())) {
  fs::create_directories(root_ / "dev/serial/by-id");
  fs::create_directories(root_ / "sys/class/tty");
  fs::create_directories(root_ / "sys/dev/char");
  SetDeviceRoots((root_ / "dev").string(), (root_ / "sys").string());
}

FakeSerialSystem::~FakeSerialSystem() { SetDeviceRoots("", ""); }

void FakeSerialSystem::AddUsbAdapter(const std::string& usb, const Usb& d, const std::string& port,
                                     const std::string& tty, const std::string& driver,
                                     const std::string& node) {
  const fs::path device = root_ / "sys/devices" / usb;
  fs::create_directories(device / port);
  const std::pair<const char*, const char*> files[] = {{"idVendor", d.vendor},
                                                       {"idProduct", d.product},
                                                       {"manufacturer", d.manufacturer},
                                                       {"product", d.name},
                                                       {"serial", d.serial}};
  for (const auto& [file, text] : files) {
    if (*text) WriteLine(device / file, text);
  }
  Bind(device / port, tty, driver);
  struct stat st {};
  if (!node.empty() && ::stat(node.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) {
    const std::string number =
        std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
    fs::create_symlink("../../class/tty/" + tty, root_ / "sys/dev/char" / number);
  } else {
    AddNode(tty);
  }
}

void FakeSerialSystem::AddPort(const std::string& device, const std::string& tty,
                               const std::string& driver, const std::string& type) {
  fs::create_directories(root_ / "sys/devices" / device);
  Bind(root_ / "sys/devices" / device, tty, driver);
  WriteLine(root_ / "sys/class/tty" / tty / "type", type);
  AddNode(tty);
}

void FakeSerialSystem::AddById(const std::string& name, const std::string& target) {
  fs::create_symlink(target.front() == '/' ? target : "../../" + target,
                     root_ / "dev/serial/by-id" / name);
}

void FakeSerialSystem::AddNode(const std::string& name) { WriteLine(root_ / "dev" / name, ""); }

std::string FakeSerialSystem::Dev(const std::string& name) const {
  return (root_ / "dev" / name).string();
}

void FakeSerialSystem::Bind(const fs::path& device, const std::string& tty,
                            const std::string& driver) {
  fs::create_directories(root_ / "sys/bus/drivers" / driver);
  fs::create_symlink(fs::relative(root_ / "sys/bus/drivers" / driver, device), device / "driver");
  const fs::path classDir = root_ / "sys/class/tty" / tty;
  fs::create_directories(classDir);
  fs::create_symlink(fs::relative(device, classDir), classDir / "device");
}

}  // namespace varo::test
