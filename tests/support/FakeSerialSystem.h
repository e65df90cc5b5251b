#pragma once

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace varo::test {

// A device folder and a sysfs laid out as the kernel lays them out, in a
// folder of its own; the serial device lookups (SetDeviceRoots) look there
// for the object's life.
class FakeSerialSystem {
 public:
  struct Usb {
    const char *vendor, *product, *manufacturer, *name, *serial;  // "" leaves a file out
  };

  FakeSerialSystem();
  ~FakeSerialSystem();
  FakeSerialSystem(const FakeSerialSystem&) = delete;
  FakeSerialSystem& operator=(const FakeSerialSystem&) = delete;

  // A USB adapter with tty `tty`: its USB device at sys/devices/<usb>, its
  // port at <usb>/<port> bound to `driver`. The node dev/<tty> is a plain
  // file, or, with `node` naming a character device (a pseudo-terminal, say),
  // that device stands for it: sys/dev/char/<major>:<minor> leads to the tty,
  // as the kernel's own numbers do.
  void AddUsbAdapter(const std::string& usb, const Usb& descriptors, const std::string& port,
                     const std::string& tty, const std::string& driver,
                     const std::string& node = {});
  // A port without USB (on-board, legacy 8250) of serial `type` ("0": none).
  void AddPort(const std::string& device, const std::string& tty, const std::string& driver,
               const std::string& type);
  // dev/serial/by-id/<name> leading to `target` (a node name in dev/, or an
  // absolute path).
  void AddById(const std::string& name, const std::string& target);
  // dev/<name> as a plain file.
  void AddNode(const std::string& name);

  // The path of dev/<name>.
  std::string Dev(const std::string& name) const;
  const std::filesystem::path& Root() const { return root_; }

 private:
  void Bind(const std::filesystem::path& device, const std::string& tty, const std::string& driver);

  TempDir dir_;
  std::filesystem::path root_;
};

}  // namespace varo::test
