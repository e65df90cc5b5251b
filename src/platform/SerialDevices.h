#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varo {

// What the system tells about a serial device: its node, its stable name
// under /dev/serial/by-id (which stays the same when the cable is plugged
// into another socket or replugged, where "ttyUSB0" may become "ttyUSB1"),
// and for a USB adapter what its USB descriptors say, read from sysfs
// (/sys/class/tty/<name>/device and the USB device above it).
struct SerialDeviceInfo {
  std::string path;  // the device node, every link resolved: "/dev/ttyUSB0"
  std::string byId;  // "/dev/serial/by-id/usb-..." leading to it, "" when none
  std::string vendorId;  // USB idVendor, "0403"; "" for a port that is no USB adapter
  std::string productId;
  std::string manufacturer;
  std::string product;
  std::string serial;
  std::string driver;  // the kernel driver of the port, "ftdi_sio", "cdc_acm", "serial"

  // "FTDI FT232R USB UART (0403:6001)", what a person recognises the adapter
  // by; "" when the system knows nothing beyond the node.
  std::string Description() const;
};

// Where the device nodes and sysfs are ("/dev", "/sys"); tests point them at
// a folder laid out the same way. Empty strings go back to the system's.
void SetDeviceRoots(const std::string& devRoot, const std::string& sysRoot);

// The device behind `path` (a device node, a by-id name or any link to a
// node), or nothing when nothing is at the path.
std::optional<SerialDeviceInfo> DescribeSerialDevice(const std::string& path);

// Every serial port the system has, by node path: the ttys with a device
// behind them (USB adapters, on-board and PCI ports). Legacy 8250 ports that
// the kernel registers without any hardware (type 0) are left out, as are
// virtual terminals and pseudo-terminals.
std::vector<SerialDeviceInfo> ListSerialDevices();

}  // namespace varo
