#pragma once

#include <optional>
#include <string>

namespace varo {

// Whole-file byte I/O for the INI engine and the settings store. Bytes pass
// through unchanged; no text-mode translation happens anywhere.

// The whole content of `path`, or nothing when it cannot be read (missing,
// a directory, no permission).
std::optional<std::string> ReadFileBytes(const std::string& path);

// Makes `path` hold exactly `bytes`. The file is opened for writing, created
// or emptied; when that open is refused, it is opened for reading and writing
// instead and overwritten from its start (OverwriteFileInPlace). Returns false
// when neither open works or a write fails.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The second way of WriteFileBytes: overwrites an existing file from its start
// and cuts it after the new bytes, so no tail of a longer old text survives.
bool OverwriteFileInPlace(const std::string& path, const std::string& bytes);

// Copies `from` over `to` (created or replaced). Returns false when `from`
// cannot be read or `to` cannot be written.
bool CopyFileBytes(const std::string& from, const std::string& to);

// Writes `bytes` to a fresh file beside `path` and renames it over `path`, so a
// reader sees either the old or the new content, never a half-written file.
// The new file is private to the user (mode 0600).
bool ReplaceFileBytes(const std::string& path, const std::string& bytes);

}  // namespace varo
