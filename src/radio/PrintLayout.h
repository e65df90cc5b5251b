#pragma once

#include <string>
#include <utility>
#include <vector>

#include "radio/ChannelTable.h"
#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/PrintModel.h"

namespace varo {
class IniProfile;
}

namespace varo::radio {

// One row of the options page: label and value, in the interface language.
using ReportRow = std::pair<std::string, std::string>;

// One line of a channel's block on a channel page: a label and the text of a
// column at the left, optionally the same again at the right.
struct ChannelBlockLine {
  Texts leftLabel;
  ColumnRole left = ColumnRole::kRx;
  Texts rightLabel;  // empty: the line has no right half
  ColumnRole right = ColumnRole::kRx;
};

// The lines every radio's channel block begins with: "Receive Frequency:" and
// "Transceive Frequency:", then "QT/DQT Decode:" and "QT/DQT Encode:".
std::vector<ChannelBlockLine> FrequencyAndToneLines();

// "On" or "Off" ("开", "关"), as the options pages print a switch.
std::string OnOffText(bool on, bool chinese);

// What a radio's report holds beyond the common frame: the options page's rows
// read from the image, and the lines of each channel's block.
struct ReportSpec {
  std::vector<ReportRow> (*options)(const MemoryImage& image, bool chinese) = nullptr;
  std::vector<ChannelBlockLine> channelBlock;
};

// The printed report of a document: page 1 lists the optional features of the
// image, the following pages the programmed channels of the table, seven per
// page. Every page carries three rules, the owner line of the program INI
// and "Page p of n".

// Which table rows go on which page. A programmed channel is a row whose
// receive frequency is not empty.
struct PagePlan {
  int programmed = 0;
  // Entry 0 is 0; entry k the row of the (7k)-th programmed channel (the last
  // table row while there are fewer); one entry per possible channel page.
  std::vector<long> breaks;
  int channelPages = 0;  // (programmed + 6) / 7
  int PageCount() const { return 1 + channelPages; }
};
PagePlan MakePagePlan(const GridControl& grid, const TableSpec& table);

// The options page as plain text lines: "Option", "Function" and the rows,
// values lined up in one column (East Asian characters counted two columns
// wide). Each line ends with '\n'.
std::string FormatOptionsReport(const std::vector<ReportRow>& rows, bool chinese);

// The owner line of the footer: "Copyrights Owner" of the language section
// `languageSection` of the program INI, "" when missing.
std::string CopyrightsOwner(const IniProfile& ini, const std::string& languageSection);

// The layout of one print job. The table and the image are read, never
// changed; the plan is made again for each call, as the view does per job and
// per channel page.
class PrintLayout {
 public:
  // `table` and `report` describe the radio; all references must outlive
  // the layout.
  PrintLayout(const TableSpec& table, const ReportSpec& report, const GridControl& grid,
              const MemoryImage& image, const PrintArea& area, const PrintFontMetrics& metrics,
              bool chinese, std::string owner);

  // 1 + the channel pages.
  int PageCount() const;

  // Page `page` (1-based): 1 is the options page, the others the channel
  // pages. A page past the plan holds the rules, title and footer only.
  PrintPage Page(int page) const;

  const PrintFont& mainFont() const { return main_; }
  const PrintFont& smallFont() const { return small_; }
  int columnUnit() const { return cu_; }

 private:
  void OptionsPage(std::vector<DrawItem>& items) const;
  void ChannelPage(int j, std::vector<DrawItem>& items) const;

  const TableSpec& table_;
  const ReportSpec& report_;
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

}  // namespace varo::radio
