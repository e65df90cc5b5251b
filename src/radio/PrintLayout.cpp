#include "radio/PrintLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "ini/IniProfile.h"

namespace varo::radio {

namespace {

constexpr int kChannelsPerPage = 7;

// Twips of `pixels` at `dpi`, divided by `parts`, in the integer arithmetic
// the report's sizes are made with. A device without a resolution counts as
// one pixel per inch, so that a broken printer driver cannot divide by zero.
int Unit(int pixels, int dpi, int parts) {
  const long long perInch = dpi > 0 ? dpi : 1;
  return static_cast<int>(static_cast<long long>(pixels) * 1440 / perInch / parts);
}

std::string Format(const char* format, long value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

DrawItem Text(FontRole font, int x, int y, std::string text) {
  DrawItem item;
  item.kind = DrawItem::Kind::kText;
  item.font = font;
  item.x = x;
  item.y = y;
  item.text = std::move(text);
  return item;
}

DrawItem Rule(int x, int x2, int y) {
  DrawItem item;
  item.kind = DrawItem::Kind::kRule;
  item.x = x;
  item.x2 = x2;
  item.y = y;
  return item;
}

}  // namespace

std::vector<ChannelBlockLine> FrequencyAndToneLines() {
  return {
      {{"Receive Frequency:", "接收频率:"}, ColumnRole::kRx,
       {"Transceive Frequency:", "发射频率:"}, ColumnRole::kTx},
      {{"QT/DQT Decode:", "QT/DQT解码:"}, ColumnRole::kDecode,
       {"QT/DQT Encode:", "QT/DQT编码:"}, ColumnRole::kEncode},
  };
}

std::string OnOffText(bool on, bool chinese) {
  if (chinese) return on ? "开" : "关";
  return on ? "On" : "Off";
}

int EstimatedFontMetrics::LineHeight(const PrintFont& font) const {
  return font.height + (font.height * 87 + 1134) / 2268;
}

PagePlan MakePagePlan(const GridControl& grid, const TableSpec& table) {
  const long lastRow = table.channelRows;
  const long rx = table.ColumnOf(ColumnRole::kRx);
  PagePlan plan;
  plan.breaks.assign(static_cast<std::size_t>((lastRow + kChannelsPerPage - 1) / kChannelsPerPage),
                     lastRow);
  if (!plan.breaks.empty()) plan.breaks[0] = 0;
  for (long row = 1; row <= lastRow; ++row) {
    if (grid.TextMatrix(row, rx).empty()) continue;
    ++plan.programmed;
    const auto entry = static_cast<std::size_t>(plan.programmed / kChannelsPerPage);
    if (plan.programmed % kChannelsPerPage == 0 && entry < plan.breaks.size()) {
      plan.breaks[entry] = row;
    }
  }
  plan.channelPages = (plan.programmed + kChannelsPerPage - 1) / kChannelsPerPage;
  return plan;
}

std::string FormatOptionsReport(const std::vector<ReportRow>& rows, bool chinese) {
  std::size_t labelWidth = 0;
  for (const auto& row : rows) labelWidth = std::max(labelWidth, DisplayWidth(row.first));
  std::string text = chinese ? "可选功能\n功能\n" : "Option\nFunction\n";
  for (const auto& [label, value] : rows) {
    text += "  " + label + std::string(labelWidth - DisplayWidth(label) + 2, ' ') + value + "\n";
  }
  return text;
}

std::string CopyrightsOwner(const IniProfile& ini, const std::string& languageSection) {
  return ini.GetValue(languageSection, "Copyrights Owner", "");
}

PrintLayout::PrintLayout(const TableSpec& table, const ReportSpec& report,
                         const GridControl& grid, const MemoryImage& image, const PrintArea& area,
                         const PrintFontMetrics& metrics, bool chinese, std::string owner)
    : table_(table),
      report_(report),
      grid_(grid),
      image_(image),
      chinese_(chinese),
      owner_(std::move(owner)) {
  cu_ = Unit(area.widthPixels, area.dpiX, 66);
  main_.height = Unit(area.heightPixels, area.dpiY, 45);
  main_.width = cu_;
  small_.height = main_.height * 4 / 5;
  small_.width = cu_ * 4 / 5;
  c_ = metrics.LineHeight(main_);
  d_ = metrics.LineHeight(small_);
}

int PrintLayout::PageCount() const { return MakePagePlan(grid_, table_).PageCount(); }

PrintPage PrintLayout::Page(int page) const {
  PrintPage result;
  result.mainFont = main_;
  result.smallFont = small_;
  auto& items = result.items;
  items.push_back(Rule(5 * cu_, 60 * cu_, -2 * c_ - 50));
  items.push_back(Rule(5 * cu_, 60 * cu_, -2 * c_ - 120));
  items.push_back(Rule(5 * cu_, 60 * cu_, c_ / 2 - 36 * c_));
  if (page <= 1) {
    OptionsPage(items);
  } else {
    ChannelPage(page - 1, items);
  }
  char footer[64];
  std::snprintf(footer, sizeof footer, "Page %d of %d", page, PageCount());
  items.push_back(Text(FontRole::kSmall, 10 * cu_, -36 * c_, owner_));
  items.push_back(Text(FontRole::kSmall, 45 * cu_, -36 * c_, footer));
  return result;
}

void PrintLayout::OptionsPage(std::vector<DrawItem>& items) const {
  items.push_back(Text(FontRole::kMain, 6 * cu_, -c_, chinese_ ? "可选功能" : "Option"));
  items.push_back(Text(FontRole::kSmall, 6 * cu_, -4 * d_, chinese_ ? "功能" : "Function"));
  if (!report_.options) return;
  int k = 5;
  for (auto& [label, value] : report_.options(image_, chinese_)) {
    items.push_back(Text(FontRole::kSmall, 9 * cu_, -k * d_, label));
    items.push_back(Text(FontRole::kSmall, 35 * cu_, -k * d_, value));
    ++k;
  }
}

void PrintLayout::ChannelPage(int j, std::vector<DrawItem>& items) const {
  const PagePlan plan = MakePagePlan(grid_, table_);
  items.push_back(Text(FontRole::kMain, 6 * cu_, -c_, chinese_ ? "信道" : "Channel"));
  if (j > plan.channelPages) return;
  const long first = plan.breaks[static_cast<std::size_t>(j - 1)] + 1;
  const long last =
      j == plan.channelPages ? table_.channelRows : plan.breaks[static_cast<std::size_t>(j)];
  const long rx = table_.ColumnOf(ColumnRole::kRx);

  int k = 0;
  for (long row = first; row <= last; ++row) {
    if (grid_.TextMatrix(row, rx).empty()) continue;
    const int f = static_cast<int>((k % kChannelsPerPage) * d_ * 5.7);
    items.push_back(Text(FontRole::kSmall, 4 * cu_, -f - 4 * d_,
                         Format(chinese_ ? "信道%ld:" : "Channel %ld:", table_.ChannelNumber(row))));
    int y = -f - 5 * d_;
    for (const ChannelBlockLine& line : report_.channelBlock) {
      items.push_back(Text(FontRole::kSmall, 5 * cu_, y, line.leftLabel.In(chinese_)));
      items.push_back(Text(FontRole::kSmall, 22 * cu_, y,
                           grid_.TextMatrix(row, table_.ColumnOf(line.left))));
      if (!line.rightLabel.english.empty()) {
        items.push_back(Text(FontRole::kSmall, 36 * cu_, y, line.rightLabel.In(chinese_)));
        items.push_back(Text(FontRole::kSmall, 55 * cu_, y,
                             grid_.TextMatrix(row, table_.ColumnOf(line.right))));
      }
      y -= d_;
    }
    ++k;
  }
}

}  // namespace varo::radio
