#include "radio/DisplayText.h"

#include <cstdint>

namespace varo::radio {

std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = length == 1 ? c : c & (0x3Fu >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    width += code >= 0x2E80 ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace varo::radio
