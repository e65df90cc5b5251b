#pragma once

#include <cstddef>
#include <string>

namespace varo::radio {

// A word the program writes in both interface languages.
struct Texts {
  std::string english;
  std::string chinese;
  const std::string& In(bool inChinese) const { return inChinese ? chinese : english; }
  // Whether `text` is this word in either language.
  bool Matches(const std::string& text) const { return text == english || text == chinese; }
  bool operator==(const Texts&) const = default;
};

// Columns a UTF-8 text takes in a terminal: East Asian characters (from
// U+2E80 on) count two, everything else one per character.
std::size_t DisplayWidth(const std::string& text);

}  // namespace varo::radio
