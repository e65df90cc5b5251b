#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/SerialDevices.h"
#include "support/FakeSerialSystem.h"

namespace varo {
namespace {

namespace fs = std::filesystem;

// An FTDI usb-serial adapter (ttyUSB0: the USB device two levels above the
// port), a Prolific one whose product name repeats its maker (ttyUSB1), an
// ACM modem (ttyACM0: one level above), an on-board port (ttyS0), a legacy
// port without hardware (ttyS1, type 0), a virtual terminal (tty0), a sysfs
// tty whose node is gone (ttyUSB2) and a by-id name of an adapter that is
// unplugged.
class SerialDevicesTest : public testing::Test {
 protected:
  void SetUp() override {
    sys_.AddUsbAdapter("usb1/1-1", {"0403", "6001", "FTDI", "FT232R USB UART", "A10K"},
                       "1-1:1.0/ttyUSB0", "ttyUSB0", "ftdi_sio");
    sys_.AddUsbAdapter("usb1/1-2", {"067b", "2303", "Prolific", "Prolific USB-Serial Controller", ""},
                       "1-2:1.0/ttyUSB1", "ttyUSB1", "pl2303");
    sys_.AddUsbAdapter("usb1/1-3", {"2341", "0043", "Arduino (www.arduino.cc)", "Uno", "7543"},
                       "1-3:1.0", "ttyACM0", "cdc_acm");
    sys_.AddUsbAdapter("usb1/1-4", {"1a86", "7523", "", "USB Serial", ""}, "1-4:1.0/ttyUSB2",
                       "ttyUSB2", "ch341");
    fs::remove(sys_.Dev("ttyUSB2"));
    sys_.AddPort("pnp0/00:05", "ttyS0", "serial", "4");
    sys_.AddPort("platform/serial8250", "ttyS1", "serial8250", "0");
    fs::create_directories(sys_.Root() / "sys/class/tty/tty0");
    sys_.AddNode("tty0");
    sys_.AddById("usb-FTDI_FT232R_USB_UART_A10K-if00-port0", "ttyUSB0");
    sys_.AddById("usb-Arduino__www.arduino.cc__Uno_7543-if00", "ttyACM0");
    sys_.AddById("usb-Gone_Adapter-if00-port0", "ttyUSB7");
  }
  std::string Dev(const std::string& name) const { return sys_.Dev(name); }

  test::FakeSerialSystem sys_;
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
// nowhere. A character device is found in sysfs by its number, whatever its
// node is called: a pseudo-terminal standing for an adapter is described as
// that adapter; one that stands for nothing has nothing more to tell.
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

  int masters[2];
  std::string ptys[2];
  for (int i = 0; i < 2; ++i) {
    masters[i] = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(masters[i], 0);
    ASSERT_EQ(::unlockpt(masters[i]), 0);
    ptys[i] = ::ptsname(masters[i]);
  }
  sys_.AddUsbAdapter("usb2/2-1", {"0403", "6015", "FTDI", "FT230X Basic UART", "D30A"},
                     "2-1:1.0/ttyUSB5", "ttyUSB5", "ftdi_sio", ptys[0]);
  sys_.AddById("usb-FTDI_FT230X_Basic_UART_D30A-if00-port0", ptys[0]);
  const auto standIn = DescribeSerialDevice(ptys[0]);
  const auto plain = DescribeSerialDevice(ptys[1]);
  for (int fd : masters) ::close(fd);
  ASSERT_TRUE(standIn && plain);
  EXPECT_EQ(standIn->path, ptys[0]);
  EXPECT_EQ(standIn->Description(), "FTDI FT230X Basic UART (0403:6015)");
  EXPECT_EQ(standIn->byId, Dev("serial/by-id/usb-FTDI_FT230X_Basic_UART_D30A-if00-port0"));
  EXPECT_EQ(plain->path, ptys[1]);
  EXPECT_EQ(plain->Description(), "");
  EXPECT_EQ(plain->byId, "");
}

}  // namespace
}  // namespace varo
