#pragma once

#include <string>
#include <vector>

namespace varo::radio {

// The printed report as lists of draw items. Coordinates are twips (1/1440
// inch) from the top left corner of the printable area; y grows upward, so
// everything on the page has y <= 0. A renderer maps (x, y) to (x, -y) in its
// own top-down units. Text items are placed by the top left corner of their
// text cell.

// The printable area of the device in pixels, and its resolution.
struct PrintArea {
  int widthPixels = 0;
  int heightPixels = 0;
  int dpiX = 0;
  int dpiY = 0;
};

// A font as the report creates it.
struct PrintFont {
  std::string face = "Times New Roman";
  int height = 0;  // character cell height, twips
  int width = 0;   // average character width, twips
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charSet = 0;
  int pitchAndFamily = 48;
  bool operator==(const PrintFont&) const = default;
};

enum class FontRole { kMain, kSmall };

struct DrawItem {
  enum class Kind { kText, kRule };
  Kind kind = Kind::kText;
  FontRole font = FontRole::kMain;  // text items only
  int x = 0;
  int y = 0;
  int x2 = 0;        // rules: the right end, at the same y
  std::string text;  // text items, UTF-8
  bool operator==(const DrawItem&) const = default;
};

struct PrintPage {
  PrintFont mainFont;
  PrintFont smallFont;
  std::vector<DrawItem> items;  // in drawing order
};

// Line heights of the report's fonts on the output device.
class PrintFontMetrics {
 public:
  virtual ~PrintFontMetrics() = default;
  // Text height plus external leading of `font` on the device, in twips.
  virtual int LineHeight(const PrintFont& font) const = 0;
};

// Line heights as Times New Roman has them when the device has no say (the
// command line, tests): the cell height plus the face's external leading,
// 87/2268 of it.
class EstimatedFontMetrics : public PrintFontMetrics {
 public:
  int LineHeight(const PrintFont& font) const override;
};

}  // namespace varo::radio
