#pragma once

#include <string>
#include <vector>

namespace varo::cli {

// varo-cli ports [--model NAME] [--ini PROGRAM.ini] [--lang en|zh]
//
// Lists COM1..COM4 with the device each maps to (section "Ports" of the
// program INI, or VARO_PORT_COMn for the run), then every serial device of
// the system. Each device shows its state (ready, in use, no permission, not
// connected), what the system knows of it (a USB adapter's maker, product and
// ids) and its stable /dev/serial/by-id name, which a "Ports" entry may name
// so that a replugged cable keeps its COM name; a port that is there but
// cannot be used gets what to do about it. Returns 0, 1 when an INI named by
// --ini cannot be read, 2 on a usage error.
int RunPorts(const std::vector<std::string>& args);

}  // namespace varo::cli
