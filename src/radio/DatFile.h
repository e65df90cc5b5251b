#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varo::radio {

// A ".dat" document file is the raw memory image, byte for byte in offset
// order, with no header, trailer, length or checksum. These functions serve
// any image size (1024 bytes for the 16-channel radio, 8192 for the
// 199-channel one).

// kCannotWrite: a save failed and the file that was there is left as it was;
// kCannotCreate: a save failed where there was no file before, and none was
// made.
enum class DatFileError { kNone, kCannotOpen, kTooShort, kCannotWrite, kCannotCreate };

// Reads the first `size` bytes of the file at `path` into `image`. The file is
// read into a buffer of its own first and copied only when it held at least
// `size` bytes, so a missing, unreadable or short file leaves `image` exactly
// as it was. Bytes after the first `size` are ignored.
DatFileError LoadDatFile(const std::string& path, std::uint8_t* image, std::size_t size);

// Whether a save to `path` may go ahead, decided before any byte is written:
// the folder must exist and be writable, and a file already at `path` (or at
// the end of the chain of symbolic links starting there) must be one that may
// be replaced:
//  - a chain of links that loops is refused;
//  - only a regular file may be replaced: a folder, a character or block
//    device, a FIFO or a socket in its place is refused and left as it is;
//  - a regular file with no write permission bit for anyone (mode 0444, say)
//    is write-protected and refused, whoever saves; root could otherwise
//    replace it, as the rename below needs only the folder to be writable;
//  - for any other user the file must pass access(W_OK).
// Returns kNone, kCannotWrite (a file is there) or kCannotCreate (none is).
DatFileError CheckDatFileSave(const std::string& path);

// Writes `size` bytes of `image` to `path`, after CheckDatFileSave. The bytes
// go to a temporary file in the same folder, which is flushed to disk and then
// renamed over `path`; the previous file therefore survives any failure
// untouched. A replaced file keeps its permission bits; symbolic links are
// followed to the end of their chain, and the file there is replaced.
DatFileError SaveDatFile(const std::string& path, const std::uint8_t* image, std::size_t size);

// The message shown for `error` about the file at `path`, in Chinese when
// `chinese` is set, else in English; "" for kNone.
std::string DatFileErrorText(DatFileError error, const std::string& path, bool chinese);

}  // namespace varo::radio
