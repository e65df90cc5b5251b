#pragma once

#include <string>
#include <vector>

namespace varo::cli {

// varo-cli fleet --port NAME FILE.dat [--count N] [--log FILE.csv] [--ini PROGRAM.ini]
//
// Writes FILE.dat into one radio after another on the same port, each read
// back and compared with the file, and appends a line per radio to the log
// (default: the suite's log in the user's data folder). Between radios the
// radio just written must be disconnected before the next counts; the port
// may vanish meanwhile (a USB cable replugged). A radio that fails is logged
// as failed and the batch goes on. The batch ends after N radios, or on
// Ctrl+C: while waiting at once, during a write or read-back after its
// current block (that radio then fails).
//
// Returns 0 when every radio written passed and the batch ended as asked
// (N radios, or Ctrl+C without --count), 1 when a radio failed or the file or
// the log could not be used, 2 on a usage error, 4 when Ctrl+C ended the
// batch before N radios were done (none failing).
int RunFleet(const std::vector<std::string>& args);

}  // namespace varo::cli
