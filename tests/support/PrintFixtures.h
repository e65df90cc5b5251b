#pragma once

#include <algorithm>
#include <string>

#include "radio/PrintModel.h"

namespace varo::test {

// Line height = font height + 10 twips, so that a mix-up of the two shows.
struct FixedMetrics : radio::PrintFontMetrics {
  int LineHeight(const radio::PrintFont& font) const override { return font.height + 10; }
};

// A4 at 600 dpi: the column unit is 4960 x 1440 / 600 / 66 = 180 twips, the
// main font 374 high and the small one 299, so with FixedMetrics the line
// heights are 384 (c) and 309 (d).
inline const radio::PrintArea kA4{4960, 7016, 600, 600};
inline constexpr int kA4ColumnUnit = 180, kA4MainLine = 384, kA4SmallLine = 309;

inline radio::DrawItem Text(radio::FontRole font, int x, int y, const std::string& text) {
  return {radio::DrawItem::Kind::kText, font, x, y, 0, text};
}

inline bool Has(const radio::PrintPage& page, const radio::DrawItem& wanted) {
  return std::find(page.items.begin(), page.items.end(), wanted) != page.items.end();
}

}  // namespace varo::test
