#include "ini/PortNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ini/IniProfile.h"
#include "support/TempDir.h"

namespace varo {
namespace {

TEST(SerialPortNames, ResolvePortName) {
  test::TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("V.ini", "[Ports]\nCOM2=/dev/ttyACM0\nCOM4 = /dev/rfcomm0\n"),
                       false, true, false));
  ::setenv("VARO_PORT_COM3", "/tmp/sim-pty", 1);
  struct Case {
    std::string name;
    const IniProfile* ini;
    std::string path;
  };
  for (const Case& c : {Case{"COM1", &ini, "/dev/ttyUSB0"}, Case{"com2", &ini, "/dev/ttyACM0"},
                        Case{"Com2", nullptr, "/dev/ttyUSB1"}, Case{"COM3", &ini, "/tmp/sim-pty"},
                        Case{"COM4", &ini, "/dev/rfcomm0"}, Case{"COM4", nullptr, "/dev/ttyS1"},
                        Case{"com0", &ini, "com0"}, Case{"COM12", &ini, "COM12"},
                        Case{"/dev/ttyUSB3", &ini, "/dev/ttyUSB3"}}) {
    EXPECT_EQ(ResolvePortName(c.name, c.ini), c.path) << c.name;
  }
  ::unsetenv("VARO_PORT_COM3");
  EXPECT_EQ(ResolvePortName("COM3", &ini), "/dev/ttyS0");
}

}  // namespace
}  // namespace varo
