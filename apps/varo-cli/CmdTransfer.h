#pragma once

#include <signal.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "radio/MemoryImage.h"

namespace varo {
class IniProfile;
}
namespace varo::radio {
struct RadioModel;
}

namespace varo::cli {

// varo-cli read [--model 16|199] --port NAME -o FILE.dat [--ini PROGRAM.ini] [--retries N]
// varo-cli write [--verify] --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]
// varo-cli verify --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]
//
// Read copies the radio's memory into FILE.dat (a new radio document with the
// received bytes); the file is written only after a complete read, so a failed
// or cancelled read leaves an existing file untouched. An output that cannot
// be saved (a missing or write-protected folder, a write-protected file) is
// refused before the radio is contacted. --model names the radio to read:
// "16" (the default) or "199". Write sends FILE.dat to the radio; the radio
// model follows from the file's size (1024 or 8192 bytes). Verify reads the
// radio and compares what a write sends with FILE.dat, printing the channels
// (by number and field, as the programmer's table shows them), options and
// other memory that differ, or that the radio matches; write --verify does so
// right after a completed write. A stray acknowledgement or a line that
// echoes passes the clone protocol; this finds what it left behind.
//
// NAME is a device path or COM1..COM4, mapped through section "Ports" of the
// program INI (default: the radio's own, "Varo16.ini" or "Varo199V3.ini", where
// the suite keeps it: the program directory, or the user's copy of an
// installed suite's INI). A failed
// handshake is retried N times (default 0, as if Cancel were pressed); SIGINT
// cancels after the current block. Progress goes to standard output, the
// link's messages to standard error. Returns 0 only on success (for verify:
// the radio matches), 1 on a failed or cancelled transfer or file error, 2 on
// a usage error, 3 when verify found the radio different from the file.
int RunRead(const std::vector<std::string>& args);
int RunWrite(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);

}  // namespace varo::cli

namespace varo::cli {

// The radio model and the image of the .dat file `path`, the model following
// from the file's size; nothing (after a message) when the file cannot be
// used.
std::optional<std::pair<const radio::RadioModel*, radio::MemoryImage>> LoadRadioFile(
    const std::string& path);

// Opens the program INI whose section "Ports" maps COM1..COM4: `iniOption`
// when given (a plain name means the current folder), else `model`'s INI
// where the suite keeps it; a missing INI only means the default devices.
// Returns false (with a message) when an INI named by --ini cannot be read;
// `opened` tells whether an INI is open.
bool OpenPortsIni(const std::string& iniOption, const radio::RadioModel& model, IniProfile& ini,
                  bool& opened);

// The radio model and the image of the .dat file `path`, the model following
// from the file's size; nothing (after a message) when the file cannot be
// used.
std::optional<std::pair<const radio::RadioModel*, radio::MemoryImage>> LoadRadioFile(
    const std::string& path);

// While it lives, SIGINT (Ctrl+C) raises a flag instead of ending the program:
// the link sees it as its cancel flag after the current block.
class InterruptCancels {
 public:
  InterruptCancels();
  ~InterruptCancels();
  InterruptCancels(const InterruptCancels&) = delete;
  InterruptCancels& operator=(const InterruptCancels&) = delete;
  // Whether SIGINT came since the object was made.
  static bool Interrupted();

 private:
  struct sigaction previous_ {};
};

}  // namespace varo::cli
