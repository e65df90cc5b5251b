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
