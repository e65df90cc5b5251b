#include "radio/PortOpenText.h"

#include <cstring>

#include "platform/SerialPort.h"

namespace varo::radio {

namespace {

using Reason = PortOpenError::Reason;

}  // namespace

std::string PortOpenAdvice(const PortOpenError& e, bool chinese) {
  const std::string& d = e.device;
  switch (e.reason) {
    case Reason::kNone:
      return {};
    case Reason::kPermission:
      if (!e.group.empty() && e.groupMayUse) {
        const std::string user = e.user.empty() ? "$USER" : e.user;
        const std::string command = "sudo usermod -aG " + e.group + " " + user;
        return chinese ? "没有使用 " + d + " 的权限：该设备属于用户组“" + e.group +
                             "”。请运行 " + command + "，然后注销并重新登录。"
                       : "No permission to use " + d + ": it belongs to the group \"" + e.group +
                             "\". Run " + command + ", then log out and in again.";
      }
      return chinese ? "没有使用 " + d + " 的权限。请让系统管理员开放该设备。"
                     : "No permission to use " + d +
                           ". Ask the administrator to give you access to it.";
    case Reason::kBusy:
      if (!e.holder.empty()) {
        return chinese ? d + " 正被另一个程序占用（" + e.holder + "）。请关闭该程序后重试。"
                       : d + " is in use by another program (" + e.holder +
                             "). Close it and try again.";
      }
      return chinese ? d + " 正被另一个程序占用。请关闭该程序后重试。"
                     : d + " is in use by another program. Close it and try again.";
    case Reason::kMissing:
      return chinese ? d + " 处没有设备：编程线未连接，或端口设置指向别处。"
                           "（varo-cli ports 列出所有串口设备）"
                     : "Nothing at " + d +
                           ": the cable is unplugged, or the port map points elsewhere "
                           "(varo-cli ports lists the serial devices).";
    case Reason::kNotSerial:
      return chinese ? d + " 不是串口。请检查程序 INI 的 [Ports] 端口设置。"
                     : d + " is not a serial port. Check the [Ports] map of the program INI.";
    case Reason::kOther:
      break;
  }
  const std::string why = e.error != 0 ? std::strerror(e.error) : "?";
  return chinese ? "无法打开 " + d + "：" + why : "Cannot open " + d + ": " + why;
}

std::string PortStateText(const PortOpenError& e, bool chinese) {
  switch (e.reason) {
    case Reason::kNone: return chinese ? "可用" : "ready";
    case Reason::kPermission: return chinese ? "无权限" : "no permission";
    case Reason::kBusy: return chinese ? "被占用" : "in use";
    case Reason::kMissing: return chinese ? "未连接" : "not connected";
    case Reason::kNotSerial: return chinese ? "不是串口" : "not a serial port";
    case Reason::kOther: break;
  }
  return chinese ? "无法打开" : "cannot be opened";
}

}  // namespace varo::radio
