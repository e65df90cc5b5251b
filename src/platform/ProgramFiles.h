#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varo {

// The folder the running program lives in, ending with '/'. Taken from the
// executable's own path; when that cannot be found, the current directory.
// Everything a program loads (INI, language module, help, artwork) and the
// programs it starts are found through it.
std::string ProgramDirectory();

// Makes ProgramDirectory() answer `dir` (a trailing '/' is added when missing)
// for the rest of the run; an empty `dir` goes back to the executable's folder.
// Tests and the command-line tool use it to point a program at a folder.
void SetProgramDirectory(const std::string& dir);

// The path of the file in `dir` whose name equals `name` ignoring ASCII letter
// case (an exact match is preferred), or nothing when there is none.
std::optional<std::string> FindFileNoCase(const std::string& dir, const std::string& name);

// The folder of the user's own settings of the suite: "$XDG_CONFIG_HOME/varo"
// (XDG_CONFIG_HOME defaults to "~/.config"; a relative value is ignored, as
// the XDG rules ask). No trailing '/'.
std::string UserSettingsDirectory();

// The folder of the user's own data of the suite, such as the log of the
// radios programmed: "$XDG_DATA_HOME/varo" (XDG_DATA_HOME defaults to
// "~/.local/share"; a relative value is ignored). No trailing '/'.
std::string UserDataDirectory();

// Creates `dir` and its missing parents (new folders private to the user).
// True when `dir` is a folder afterwards.
bool MakeDirectories(const std::string& dir);

// Whether the user may write into `dir`: its permission bits must let the
// user's uid or one of its groups write (root included, whom the kernel would
// let write anywhere: an installed suite's folder made read-only stays
// untouched by root as well), and the system must agree (no read-only mount,
// ACLs).
bool FolderWritable(const std::string& dir);

// Where the settings file `name` (a bare name such as "Varo16.ini" or
// "Varo.ini") is read from and written to. A program directory the user may
// write (the portable suite folder) holds its settings files itself: both
// paths are there. Otherwise (a suite installed read-only for many users,
// and any suite under /usr, which is read-only by the FHS even for root)
// the file lives in UserSettingsDirectory(): once a copy is there it is read
// and written there; before that the installed file is read and the user's
// copy is what a first save makes. The installed file is never written.
struct SettingsFilePaths {
  std::string read;
  std::string write;
  bool operator==(const SettingsFilePaths&) const = default;
};
SettingsFilePaths LocateSettingsFile(const std::string& name);

// The project's version ("1.0"), as the build names it.
const char* SuiteVersion();

// Answers "--version" as the first argument: prints "<program> <version>" to
// standard output and returns true (the caller then exits with status 0,
// before it opens a window or a file). False for any other command line.
bool AnswerVersion(int argc, char** argv, const char* program);

// The platform's suffix of executable files: ".exe" on Windows, "" elsewhere.
const char* ExecutableSuffix();

// Whether `path` is a program this user may start: a regular file (links
// followed) with execute permission.
bool IsProgramFile(const std::string& path);

// Starts the program at `path` with `args`, detached from this process (it
// outlives us and is never waited for). Returns true when the program was
// really started, false when it could not be (missing, not executable).
bool StartProgram(const std::string& path, const std::vector<std::string>& args = {});

}  // namespace varo
