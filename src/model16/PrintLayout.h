#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "model16/GridControl.h"
#include "model16/MemoryImage.h"

namespace varo {
class IniProfile;
}

namespace varo::model16 {

// The printed report of a 16-channel document as lists of draw items: page 1
// lists the optional features of the image, pages 2-4 the programmed
// channels of the table, seven per page. Every page carries three rules, the
// owner line of the program INI and "Page p of n".
//
// Coordinates are twips (1/1440 inch) from the top left corner of the
// printable area; y grows upward, so everything on the page has y <= 0. A
// renderer maps (x, y) to (x, -y) in its own top-down units. Text items are
// placed by the top left corner of their text cell.

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

// Which table rows go on which page. A programmed channel is a row whose
// receive frequency (column 1) is not empty.
struct PagePlan {
  int programmed = 0;
  // Entry 0 is 0; entry 1 the row of the 7th programmed channel, entry 2 the
  // row of the 14th (16 while there are fewer).
  std::array<long, 3> breaks{0, 16, 16};
  int channelPages = 0;  // (programmed + 6) / 7
  int PageCount() const { return 1 + channelPages; }
};
PagePlan MakePagePlan(const GridControl& grid);

// The eleven rows of the options page: label and value from the image.
std::vector<std::pair<std::string, std::string>> OptionsReport(const MemoryImage& image,
                                                               bool chinese);

// The options page as plain text lines: "Option", "Function" and the eleven
// rows, values lined up in one column (East Asian characters counted two
// columns wide). Each line ends with '\n'.
std::string FormatOptionsReport(const MemoryImage& image, bool chinese);

// The owner line of the footer: "Copyrights Owner" of the program INI's
// language section (the section named by "Setup"/"Language"), "" when missing.
std::string CopyrightsOwner(const IniProfile& ini);

// The layout of one print job. The table and the image are read, never
// changed; the plan is made again for each call, as the view does per job and
// per channel page.
class PrintLayout {
 public:
  PrintLayout(const GridControl& grid, const MemoryImage& image, const PrintArea& area,
              const PrintFontMetrics& metrics, bool chinese, std::string owner);

  // 1 + the channel pages: 1 to 4.
  int PageCount() const;

  // Page `page` (1-based): 1 is the options page, 2-4 the channel pages. A page
  // past the plan holds the rules, title and footer only.
  PrintPage Page(int page) const;

  const PrintFont& mainFont() const { return main_; }
  const PrintFont& smallFont() const { return small_; }
  int columnUnit() const { return cu_; }

 private:
  void OptionsPage(std::vector<DrawItem>& items) const;
  void ChannelPage(int j, std::vector<DrawItem>& items) const;

  const GridControl& grid_;
  const MemoryImage& image_;
  bool chinese_;
  std::string owner_;
  int cu_ = 0;  // column unit: the main font's width
  PrintFont main_;
  PrintFont small_;
  int c_ = 0;  // line height of the main font
  int d_ = 0;  // line height of the small font
};

}  // namespace varo::model16
