#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/SerialDevices.h"
#include "support/TempDir.h"

namespace varo {
namespace {

namespace fs = std::filesystem;

// A device folder and a sysfs laid out as the kernel lays them out, with:
// an FTDI usb-serial adapter (ttyUSB0: the USB device two levels above the
// port), a Prolific one whose product name repeats its maker (ttyUSB1), an
// ACM modem (ttyACM0: one level above), an on-board port (ttyS0), a legacy
// port without hardware (ttyS1, type 0), a virtual terminal (tty0), a
// sysfs tty whose node is gone (ttyUSB2) and a by-id name of an adapter
// that is unplugged.
class SerialDevicesTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::canonical(dir_.path());
    Usb("usb1/1-1", {"0403", "6001", "FTDI", "FT232R USB UART", "A10K"}, "1-1:1.0/ttyUSB0",
        "ttyUSB0", "ftdi_sio");
    Usb("usb1/1-2", {"067b", "2303", "Prolific", "Prolific USB-Serial Controller", ""},
        "1-2:1.0/ttyUSB1", "ttyUSB1", "pl2303");
    Usb("usb1/1-3", {"2341", "0043", "Arduino (www.arduino.cc)", "Uno", "7543"}, "1-3:1.0",
        "ttyACM0", "cdc_acm");
    Usb("usb1/1-4", {"1a86", "7523", "", "USB Serial", ""}, "1-4:1.0/ttyUSB2", "ttyUSB2",
        "ch341");
    Port("pnp0/00:05", "ttyS0", "serial", "4");
    Port("platform/serial8250", "ttyS1", "serial8250", "0");
    fs::create_directories(root_ / "sys/class/tty/tty0");
    fs::create_directories(root_ / "dev/serial/by-id");
    for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS1", "tty0"}) {
      dir_.Write(std::string("dev/") + node, "");
    }
    ById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    ById("usb-Arduino__www.arduino.cc__Uno_7543-if00", "ttyACM0");
    ById("usb-Gone_Adapter-if00-port0", "ttyUSB7");
    SetDeviceRoots((root_ / "dev").string(), (root_ / "sys").string());
  }
  void TearDown() override { SetDeviceRoots("", ""); }

  struct Descriptors {
    const char *vendor, *product, *manufacturer, *name, *serial;
  };
  // A USB device at sys/devices/<usb> with its port at <usb>/<port>.
  void Usb(const std::string& usb, const Descriptors& d, const std::string& port,
           const std::string& tty, const std::string& driver) {
    const fs::path device = root_ / "sys/devices" / usb;
    fs::create_directories(device / port);
    const std::pair<const char*, const char*> files[] = {{"idVendor", d.vendor},
                                                         {"idProduct", d.product},
                                                         {"manufacturer", d.manufacturer},
                                                         {"product", d.name},
                                                         {"serial", d.serial}};
    for (const auto& [file, text] : files) {
      if (*text) dir_.Write(fs::relative(device / file, root_).string(), std::string(text) + "\n");
    }
    Link(device / port, tty, driver);
  }
  void Port(const std::string& device, const std::string& tty, const std::string& driver,
            const std::string& type) {
    fs::create_directories(root_ / "sys/devices" / device);
    Link(root_ / "sys/devices" / device, tty, driver);
    dir_.Write("sys/class/tty/" + tty + "/type", type + "\n");
  }
  void Link(const fs::path& device, const std::string& tty, const std::string& driver) {
    fs::create_directories(root_ / "sys/bus/drivers" / driver);
    fs::create_symlink(fs::relative(root_ / "sys/bus/drivers" / driver, device), device / "driver");
    const fs::path classDir = root_ / "sys/class/tty" / tty;
    fs::create_directories(classDir);
    fs::create_symlink(fs::relative(device, classDir), classDir / "device");
  }
  void ById(const std::string& name, const std::string& node) {
    fs::create_symlink("../../" + node, root_ / "dev/serial/by-id" / name);
  }
  std::string Dev(const std::string& name) const { return (root_ / "dev" / name).string(); }

  test::TempDir dir_;
  fs::path root_;
};

TEST_F(SerialDevicesTest, ListsThePortsWithWhatTheSystemKnows) {
  struct Expected {
    std::string node, byId, description, driver;
  };
  const Expected expected[] = {
      {"ttyACM0", "usb-Arduino__www.arduino.cc__Uno_7543-if00",
       "Arduino (www.arduino.cc) Uno (2341:0043)", "cdc_acm"},
      {"ttyS0", "", "", "serial"},
      {"ttyUSB0", "usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "FTDI FT232R USB UART (0403:6001)",
       "ftdi_sio"},
      {"ttyUSB1", "", "Prolific USB-Serial Controller (067b:2303)", "pl2303"},
  };
  const std::vector<SerialDeviceInfo> devices = ListSerialDevices();
  ASSERT_EQ(devices.size(), std::size(expected));
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const Expected& e = expected[i];
    EXPECT_EQ(devices[i].path, Dev(e.node));
    EXPECT_EQ(devices[i].byId, e.byId.empty() ? "" : Dev("serial/by-id/" + e.byId)) << e.node;
    EXPECT_EQ(devices[i].Description(), e.description) << e.node;
    EXPECT_EQ(devices[i].driver, e.driver) << e.node;
  }
  EXPECT_EQ(devices[2].serial, "A10K");
}

// The port map may name a by-id link: it leads to the node of the moment and
// its adapter; a link whose adapter is unplugged, like a missing node, leads
// nowhere. A pseudo-terminal is a device without anything more to tell.
TEST_F(SerialDevicesTest, DescribesWhatAPathLeadsTo) {
  const std::string ftdi = Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0");
  const auto viaLink = DescribeSerialDevice(ftdi);
  ASSERT_TRUE(viaLink);
  EXPECT_EQ(viaLink->path, Dev("ttyUSB0"));
  EXPECT_EQ(viaLink->byId, ftdi);
  EXPECT_EQ(viaLink->Description(), "FTDI FT232R USB UART (0403:6001)");

  for (const std::string& nowhere :
       {Dev("serial/by-id/usb-Gone_Adapter-if00-port0"), Dev("ttyUSB2"), std::string()}) {
    EXPECT_FALSE(DescribeSerialDevice(nowhere)) << nowhere;
  }

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string pty = ::ptsname(master);
  const auto terminal = DescribeSerialDevice(pty);
  ::close(master);
  ASSERT_TRUE(terminal);
  EXPECT_EQ(terminal->path, pty);
  EXPECT_EQ(terminal->Description(), "");
  EXPECT_EQ(terminal->byId, "");
}

}  // namespace
}  // namespace varo
