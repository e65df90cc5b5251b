#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace varo {

// SHA-256 (FIPS 180-4): names the exact contents of a memory image in a log,
// so that a line can be matched with the file it came from (sha256sum of the
// file gives the same digits).
class Sha256 {
 public:
  using Digest = std::array<std::uint8_t, 32>;

  Sha256();
  void Update(const std::uint8_t* data, std::size_t n);
  // The digest of everything given to Update(); the object is used up.
  Digest Finish();

  // The digest of `n` bytes as 64 lower-case hex digits.
  static std::string Hex(const std::uint8_t* data, std::size_t n);

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes given so far
};

}  // namespace varo
