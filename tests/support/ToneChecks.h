#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "radio/ToneTable.h"

namespace varo::test {

// Every text of a radio's tone list stores a code of its own and reads back
// as itself.
inline void ExpectEveryChoiceRoundTrips(const std::vector<std::string>& list,
                                        radio::ToneCode (*toCode)(const std::string&),
                                        std::string (*toText)(radio::ToneCode, bool), bool chinese) {
  std::set<std::pair<int, int>> codes;
  for (const std::string& text : list) {
    const radio::ToneCode code = toCode(text);
    EXPECT_EQ(toText(code, chinese), text) << text;
    codes.insert({code.low, code.high});
  }
  EXPECT_EQ(codes.size(), list.size()) << "two choices share a stored code";
}

}  // namespace varo::test
