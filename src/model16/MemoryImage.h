#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varo::model16 {

// The 16-channel radio's programmable memory, byte for byte at the radio's own
// addresses (they double as the addresses on the clone link). Callers read and
// write bytes at the offsets named next to the code that uses them; bytes no
// part of the program interprets are preserved as they are.
struct MemoryImage {
  static constexpr std::size_t kSize = 1024;
  std::array<std::uint8_t, kSize> bytes{};

  std::uint8_t& operator[](std::size_t offset) { return bytes[offset]; }
  std::uint8_t operator[](std::size_t offset) const { return bytes[offset]; }
  bool operator==(const MemoryImage&) const = default;

  // The contents of a new document: 0xFF everywhere but the defaults.
  static MemoryImage NewDocument();
};

}  // namespace varo::model16
