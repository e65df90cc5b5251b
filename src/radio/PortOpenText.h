#pragma once

#include <string>

namespace varo {
struct PortOpenError;
}

namespace varo::radio {

// The second line of message 61453 ("Could not Open the Port..."): why the
// port could not be opened and what to do about it, in English or Chinese
// (UTF-8). "" when there is no reason to tell (Reason::kNone).
//
//   permission  the group owning the device and the command that adds the
//               user to it (the change counts from the next login), or, when
//               the group may not use the device either, whom to ask
//   busy        another program holds the port (named when it is known)
//   missing     nothing at the path: the cable is unplugged, or the port map
//               points elsewhere; `varo-cli ports` lists the serial devices
//   not serial  the path names no serial port
std::string PortOpenAdvice(const PortOpenError& error, bool chinese);

// A port's state in a word or two, for COM Setup and `varo-cli ports`:
// "ready" when it opened, else the reason ("no permission", "in use",
// "not connected", "not a serial port", "cannot be opened").
std::string PortStateText(const PortOpenError& error, bool chinese);

}  // namespace varo::radio
