#pragma once

#include <optional>
#include <string>

namespace varo {

// Whole-file byte I/O for the INI engine and the settings store. Bytes pass
// through unchanged; no text-mode translation happens anywhere.
//
// Every write here goes to the file a path finally names: a symbolic link is
// followed link after link to the end of its chain (FinalLinkTarget), so the
// links stay links and the file at the end gets the new bytes. Only a regular
// file, or none at all, is ever replaced; a device, FIFO, socket or folder in
// its place makes the write fail and is left as it is, and so does a file we
// may not write, even where its folder would let us replace it.

// The file that writing to `path` changes: `path` itself when it is no
// symbolic link, else the end of its chain of links (a relative target is
// taken from the folder of the link that holds it). The end need not exist.
// Nothing when the chain loops, runs past 40 links, or a link cannot be read.
std::optional<std::string> FinalLinkTarget(const std::string& path);

// The whole content of `path`, or nothing when it cannot be read (missing,
// a directory, no permission).
std::optional<std::string> ReadFileBytes(const std::string& path);

// Makes `path` hold exactly `bytes`. The bytes go to a temporary file in the
// same folder, which is flushed to disk and renamed over the file, so a full
// disk or a file-size limit leaves the old content whole. The replaced file
// keeps its permission bits and, where the system lets us, its owner and
// group; a new file gets what a plain create would give (0666 less the
// umask). Only when the folder takes no new file (no write permission, say)
// is an existing file overwritten in place instead (OverwriteFileInPlace).
// Returns false when nothing could be written or a write failed.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The in-place way of WriteFileBytes: overwrites an existing file from its
// start and cuts it after the new bytes, so no tail of a longer old text
// survives.
bool OverwriteFileInPlace(const std::string& path, const std::string& bytes);

// Copies `from` over `to` (created or replaced). Returns false when `from`
// cannot be read or `to` cannot be written.
bool CopyFileBytes(const std::string& from, const std::string& to);

// The mode a file made by ReplaceFileBytes gets when there was none.
enum class NewFileMode {
  kPrivate,     // 0600: the file is the user's alone (the settings store)
  kLikeCreate,  // what a plain create gives: 0666 less the umask
};

// Like WriteFileBytes, but never in place: a reader sees either the old or
// the new content, never a half-written file, and a folder that takes no new
// file makes it fail.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes,
                      NewFileMode newFile = NewFileMode::kPrivate);

}  // namespace varo
