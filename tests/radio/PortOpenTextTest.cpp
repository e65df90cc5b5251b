#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "radio/PortOpenText.h"

namespace varo::radio {
namespace {

using Reason = PortOpenError::Reason;

PortOpenError Error(Reason reason, int error = 0, std::string group = {}, bool groupMayUse = false,
                    std::string holder = {}) {
  PortOpenError e;
  e.reason = reason;
  e.error = error;
  e.device = "/dev/ttyUSB0";
  e.user = "alice";
  e.group = std::move(group);
  e.groupMayUse = groupMayUse;
  e.holder = std::move(holder);
  return e;
}

// The second line of 61453 tells what went wrong and what to do, in the
// interface language: the command that puts the user into the device's group
// (only where that group may use the device), the program holding a busy
// port, the cable or the port map for a missing device.
TEST(PortOpenText, AdviceSaysWhatToDo) {
  struct Case {
    const char* name;
    PortOpenError error;
    bool chinese;
    std::vector<std::string> says;
    std::vector<std::string> never;
  };
  const Case cases[] = {
      {"group", Error(Reason::kPermission, EACCES, "dialout", true), false,
       {"/dev/ttyUSB0", "\"dialout\"", "sudo usermod -aG dialout alice", "log out and in"},
       {"administrator"}},
      {"group zh", Error(Reason::kPermission, EACCES, "dialout", true), true,
       {"/dev/ttyUSB0", "“dialout”", "sudo usermod -aG dialout alice", "重新登录"},
       {"log out"}},
      {"owner only", Error(Reason::kPermission, EACCES, "root", false), false,
       {"/dev/ttyUSB0", "administrator"}, {"usermod"}},
      {"owner only zh", Error(Reason::kPermission, EACCES, "root", false), true,
       {"/dev/ttyUSB0", "管理员"}, {"usermod"}},
      {"busy", Error(Reason::kBusy, EBUSY, "", false, "ModemManager (process 812)"), false,
       {"/dev/ttyUSB0", "in use by another program (ModemManager (process 812))", "Close it"},
       {}},
      {"busy zh", Error(Reason::kBusy, EBUSY, "", false, "ModemManager (process 812)"), true,
       {"占用", "ModemManager (process 812)"}, {}},
      {"busy unknown", Error(Reason::kBusy, EWOULDBLOCK), false,
       {"in use by another program. Close"}, {"()"}},
      {"missing", Error(Reason::kMissing, ENOENT), false,
       {"Nothing at /dev/ttyUSB0", "unplugged", "port map", "varo-cli ports"}, {}},
      {"missing zh", Error(Reason::kMissing, ENOENT), true,
       {"/dev/ttyUSB0", "未连接", "varo-cli ports"}, {}},
      {"not serial", Error(Reason::kNotSerial, ENOTTY), false,
       {"/dev/ttyUSB0 is not a serial port", "[Ports]"}, {}},
      {"other", Error(Reason::kOther, EIO), false, {"/dev/ttyUSB0", "Input/output error"}, {}},
  };
  for (const Case& c : cases) {
    const std::string text = PortOpenAdvice(c.error, c.chinese);
    for (const std::string& part : c.says) EXPECT_NE(text.find(part), std::string::npos) << c.name << ": " << text;
    for (const std::string& part : c.never) EXPECT_EQ(text.find(part), std::string::npos) << c.name << ": " << text;
  }
  EXPECT_EQ(PortOpenAdvice(Error(Reason::kNone), false), "");
  EXPECT_EQ(PortOpenAdvice(Error(Reason::kNone), true), "");
}

}  // namespace
}  // namespace varo::radio
