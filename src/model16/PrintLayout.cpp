#include "model16/PrintLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "ini/IniProfile.h"
#include "model16/ChannelTable.h"

namespace varo::model16 {

namespace {

constexpr int kChannelsPerPage = 7;

// Twips of `pixels` at `dpi`, divided by `parts`, in the integer arithmetic
// the report's sizes are made with. A device without a resolution counts as
// one pixel per inch, so that a broken printer driver cannot divide by zero.
int Unit(int pixels, int dpi, int parts) {
  const long long perInch = dpi > 0 ? dpi : 1;
  return static_cast<int>(static_cast<long long>(pixels) * 1440 / perInch / parts);
}

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string OnOff(bool on, bool chinese) {
  if (chinese) return on ? "开" : "关";
  return on ? "On" : "Off";
}

// Columns a UTF-8 text takes in a terminal: East Asian characters (three-byte
// sequences from U+1100 on) count two, everything else one per character.
std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    width += (length >= 3) ? 2 : 1;
    i += length;
  }
  return width;
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

int EstimatedFontMetrics::LineHeight(const PrintFont& font) const {
  return font.height + (font.height * 87 + 1134) / 2268;
}

PagePlan MakePagePlan(const GridControl& grid) {
  PagePlan plan;
  for (long row = 1; row <= kChannels; ++row) {
    if (grid.TextMatrix(row, kColRx).empty()) continue;
    ++plan.programmed;
    if (plan.programmed == kChannelsPerPage) plan.breaks[1] = row;
    if (plan.programmed == 2 * kChannelsPerPage) plan.breaks[2] = row;
  }
  plan.channelPages = (plan.programmed + kChannelsPerPage - 1) / kChannelsPerPage;
  return plan;
}

std::vector<std::pair<std::string, std::string>> OptionsReport(const MemoryImage& image,
                                                               bool chinese) {
  const std::string off = OnOff(false, chinese);
  std::vector<std::pair<std::string, std::string>> rows;
  auto add = [&](const char* english, const char* chineseLabel, std::string value) {
    rows.emplace_back(chinese ? chineseLabel : english, std::move(value));
  };

  add("Time Out Timer:", "超时定时器:", Format("%ds", (image[0x130] & 0x3F) * 15));
  const int preAlert = image[0x131] & 0x0F;
  add("TOT Pre-Alert:", "超时定时器预警:", preAlert == 1 ? off : Format("%d", preAlert - 1));
  add("Sequelch Level:", "静噪电平:", Format("%d", image[0x134] & 0x0F));
  add("Beep:", "提示音:", OnOff((image[0x136] & 1) != 0, chinese));
  const int voxGain = image[0x13A] & 0x1F;
  add("Vox Gain Level:", "声控增益电平:", voxGain == 0 ? off : Format("%d", voxGain));
  static const char* const kVoxDelays[8] = {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0", "3.0", "3.0"};
  add("Vox Delay Time:", "声控延时时间:", kVoxDelays[image[0x13B] & 7]);
  add("Call Tone:", "呼叫铃音:", image[0x3F0] == 0 ? off : Format("%d", image[0x3F0]));
  add("Battery Saver:", "电池省电:", OnOff((image[0x135] & 1) != 0, chinese));
  std::string voice;
  switch (image[0x12F] & 3) {
    case 0:
      voice = off;
      break;
    case 1:
      voice = chinese ? "中文" : "Chinese";
      break;
    default:
      voice = chinese ? "英文" : "English";
      break;
  }
  add("Voice Annunciation:", "语音报号:", voice);
  // 0x3C7 is a radio setting no dialog edits; it is printed as it came.
  add("VOX Function:", "声控功能:", OnOff((image[0x3C7] & 1) != 0, chinese));
  add("Scan Function:", "扫描功能:", OnOff((image[0x3C7] & 2) != 0, chinese));
  return rows;
}

std::string FormatOptionsReport(const MemoryImage& image, bool chinese) {
  const auto rows = OptionsReport(image, chinese);
  std::size_t labelWidth = 0;
  for (const auto& row : rows) labelWidth = std::max(labelWidth, DisplayWidth(row.first));
  std::string text = chinese ? "可选功能\n功能\n" : "Option\nFunction\n";
  for (const auto& [label, value] : rows) {
    text += "  " + label + std::string(labelWidth - DisplayWidth(label) + 2, ' ') + value + "\n";
  }
  return text;
}

std::string CopyrightsOwner(const IniProfile& ini) {
  const std::string section = ini.GetValue("Setup", "Language", "");
  return ini.GetValue(section, "Copyrights Owner", "");
}

PrintLayout::PrintLayout(const GridControl& grid, const MemoryImage& image, const PrintArea& area,
                         const PrintFontMetrics& metrics, bool chinese, std::string owner)
    : grid_(grid), image_(image), chinese_(chinese), owner_(std::move(owner)) {
  cu_ = Unit(area.widthPixels, area.dpiX, 66);
  main_.height = Unit(area.heightPixels, area.dpiY, 45);
  main_.width = cu_;
  small_.height = main_.height * 4 / 5;
  small_.width = cu_ * 4 / 5;
  c_ = metrics.LineHeight(main_);
  d_ = metrics.LineHeight(small_);
}

int PrintLayout::PageCount() const { return MakePagePlan(grid_).PageCount(); }

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
  int k = 5;
  for (auto& [label, value] : OptionsReport(image_, chinese_)) {
    items.push_back(Text(FontRole::kSmall, 9 * cu_, -k * d_, label));
    items.push_back(Text(FontRole::kSmall, 35 * cu_, -k * d_, value));
    ++k;
  }
}

void PrintLayout::ChannelPage(int j, std::vector<DrawItem>& items) const {
  const PagePlan plan = MakePagePlan(grid_);
  items.push_back(Text(FontRole::kMain, 6 * cu_, -c_, chinese_ ? "信道" : "Channel"));
  if (j > plan.channelPages) return;
  const long first = plan.breaks[static_cast<std::size_t>(j - 1)] + 1;
  const long last = j == plan.channelPages ? kChannels : plan.breaks[static_cast<std::size_t>(j)];

  struct Line {
    const char* left;
    const char* leftChinese;
    long leftCol;
    const char* right;
    const char* rightChinese;
    long rightCol;
  };
  static const Line kLines[4] = {
      {"Receive Frequency:", "接收频率:", kColRx, "Transceive Frequency:", "发射频率:", kColTx},
      {"QT/DQT Decode:", "QT/DQT解码:", kColDec, "QT/DQT Encode:", "QT/DQT编码:", kColEnc},
      {"Power:", "功率:", kColPower, "Scan:", "扫描开关:", kColScan},
      {"Channel Lock:", "信道锁定:", kColBusy, "W/N:", "宽/窄:", kColWN},
  };

  int k = 0;
  for (long row = first; row <= last; ++row) {
    if (grid_.TextMatrix(row, kColRx).empty()) continue;
    const int f = static_cast<int>(k * d_ * 5.7);
    items.push_back(Text(FontRole::kSmall, 4 * cu_, -f - 4 * d_,
                         Format(chinese_ ? "信道%d:" : "Channel %d:", static_cast<int>(row))));
    int y = -f - 5 * d_;
    for (const Line& line : kLines) {
      items.push_back(Text(FontRole::kSmall, 5 * cu_, y, chinese_ ? line.leftChinese : line.left));
      items.push_back(Text(FontRole::kSmall, 22 * cu_, y, grid_.TextMatrix(row, line.leftCol)));
      items.push_back(
          Text(FontRole::kSmall, 36 * cu_, y, chinese_ ? line.rightChinese : line.right));
      items.push_back(Text(FontRole::kSmall, 55 * cu_, y, grid_.TextMatrix(row, line.rightCol)));
      y -= d_;
    }
    ++k;
  }
}

}  // namespace varo::model16
