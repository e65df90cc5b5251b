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
  // COM3 redirected for every program, COM1 and COM4 for one programmer each
  // (its name in upper case, other characters as '_').
  ::setenv("VARO_PORT_COM3", "/tmp/sim-pty", 1);
  ::setenv("VARO_PORT_VARO199V3_COM1", "/tmp/sim199", 1);
  ::setenv("VARO_PORT_VARO_16_COM4", "/tmp/sim16", 1);
  ::setenv("VARO_PORT_VARO199V3_COM3", "/tmp/own199", 1);
  struct Case {
    std::string name;
    const IniProfile* ini;
    std::string program;
    std::string path;
  };
  for (const Case& c : {Case{"COM1", &ini, "", "/dev/ttyUSB0"},
                        Case{"com2", &ini, "", "/dev/ttyACM0"},
                        Case{"Com2", nullptr, "", "/dev/ttyUSB1"},
                        Case{"COM3", &ini, "", "/tmp/sim-pty"},
                        Case{"COM4", &ini, "", "/dev/rfcomm0"},
                        Case{"COM4", nullptr, "", "/dev/ttyS1"},
                        Case{"com0", &ini, "", "com0"},
                        Case{"COM12", &ini, "", "COM12"},
                        Case{"/dev/ttyUSB3", &ini, "", "/dev/ttyUSB3"},
                        Case{"com1", &ini, "Varo199V3", "/tmp/sim199"},
                        Case{"COM1", &ini, "Varo16", "/dev/ttyUSB0"},
                        Case{"COM3", &ini, "varo199v3", "/tmp/own199"},
                        Case{"COM3", &ini, "Varo16", "/tmp/sim-pty"},
                        Case{"COM4", &ini, "Varo-16", "/tmp/sim16"},
                        Case{"COM4", &ini, "Varo16", "/dev/rfcomm0"}}) {
    EXPECT_EQ(ResolvePortName(c.name, c.ini, c.program), c.path) << c.name << " " << c.program;
  }
  EXPECT_EQ(FindPortRedirect("com1", "Varo199V3")->variable, "VARO_PORT_VARO199V3_COM1");
  EXPECT_EQ(FindPortRedirect("COM3", "Varo16")->variable, "VARO_PORT_COM3");
  EXPECT_FALSE(FindPortRedirect("COM1", "Varo16"));
  for (const char* name : {"VARO_PORT_COM3", "VARO_PORT_VARO199V3_COM1", "VARO_PORT_VARO_16_COM4",
                           "VARO_PORT_VARO199V3_COM3"})
    ::unsetenv(name);
  EXPECT_EQ(ResolvePortName("COM3", &ini), "/dev/ttyS0");
}

}  // namespace
}  // namespace varo
