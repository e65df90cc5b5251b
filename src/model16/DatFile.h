#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varo::model16 {

// A ".dat" document file is the raw memory image, byte for byte in offset
// order, with no header, trailer, length or checksum. These functions serve
// any image size (1024 bytes for the 16-channel radio, 8192 for the
// 199-channel one).

enum class DatFileError { kNone, kCannotOpen, kTooShort, kCannotWrite };

// Reads the first `size` bytes of the file at `path` into `image`. The file is
// read into a buffer of its own first and copied only when it held at least
// `size` bytes, so a missing, unreadable or short file leaves `image` exactly
// as it was. Bytes after the first `size` are ignored.
DatFileError LoadDatFile(const std::string& path, std::uint8_t* image, std::size_t size);

// Writes `size` bytes of `image` to `path`. The bytes go to a temporary file in
// the same folder, which is flushed to disk and then renamed over `path`; the
// previous file therefore survives any failure untouched. A replaced file
// keeps its permission bits; a symbolic link is followed and its target
// replaced.
DatFileError SaveDatFile(const std::string& path, const std::uint8_t* image, std::size_t size);

// The message shown for `error` about the file at `path`, in Chinese when
// `chinese` is set, else in English; "" for kNone.
std::string DatFileErrorText(DatFileError error, const std::string& path, bool chinese);

}  // namespace varo::model16
