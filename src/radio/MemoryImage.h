#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace varo::radio {

// A radio's programmable memory, byte for byte at the radio's own addresses
// (they double as the addresses on the clone link): 1024 bytes for the
// 16-channel radio, 8192 for the 199-channel one. Callers read and write bytes
// at the offsets named next to the code that uses them; bytes no part of the
// program interprets are preserved as they are.
struct MemoryImage {
  std::vector<std::uint8_t> bytes;

  MemoryImage() = default;
  // `size` bytes, each `fill` (0xFF is an unprogrammed byte).
  explicit MemoryImage(std::size_t size, std::uint8_t fill = 0xFF) : bytes(size, fill) {}

  std::size_t size() const { return bytes.size(); }
  std::uint8_t* data() { return bytes.data(); }
  const std::uint8_t* data() const { return bytes.data(); }
  std::uint8_t& operator[](std::size_t offset) { return bytes[offset]; }
  std::uint8_t operator[](std::size_t offset) const { return bytes[offset]; }
  bool operator==(const MemoryImage&) const = default;
};

}  // namespace varo::radio
