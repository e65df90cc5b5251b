#include "model199/Report.h"

#include <string>

#include "model199/Layout.h"

namespace varo::model199 {

namespace {

using radio::ColumnRole;

using radio::OnOffText;

// "Off" for 0, else the number.
std::string OffOrNumber(int value, bool chinese) {
  return value == 0 ? OnOffText(false, chinese) : std::to_string(value);
}

bool Bit(std::uint8_t byte, int bit) { return (byte >> bit) & 1; }

}  // namespace

std::vector<radio::ReportRow> OptionsReport(const MemoryImage& image, bool chinese) {
  std::vector<radio::ReportRow> rows;
  auto add = [&](const char* english, const char* chineseLabel, std::string value) {
    rows.emplace_back(chinese ? chineseLabel : english, std::move(value));
  };
  const std::string off = OnOffText(false, chinese);
  const std::uint8_t display = image[kDisplayFlags];
  const std::uint8_t scan = image[kScanFlags];

  static const char* const kTimeOut[4] = {nullptr, "1", "3", "10"};
  const int timeOut = image[kTimeOutTimer] & 3;
  add("Time Out Timer:", "超时定时器:", timeOut == 0 ? off : kTimeOut[timeOut]);
  add("Squelch Level:", "静噪电平:", std::to_string(image[kSquelchLevel] & 0x0F));
  add("Beep:", "提示音:", OnOffText(Bit(image[kBeep], 0), chinese));
  const int callTone = image[kCallTone] & 0x0F;
  add("Call Tone:", "呼叫铃音:", callTone == 9 ? "1750" : OffOrNumber(callTone, chinese));
  // Channel display and busy are on while their bit is clear.
  add("Channel Display:", "信道显示:", OnOffText(!Bit(display, 7), chinese));
  add("Priority Scan:", "优先扫描:", OnOffText(Bit(scan, 6), chinese));
  add("Busy", "繁忙:", OnOffText(!Bit(display, 6), chinese));
  static const char* const kPriScan[4] = {"3s", "5s", "8s", "10s"};
  add("Pri-Scanning Time:", "预扫描时间:", kPriScan[image[kPriScanTime] & 3]);
  static const char* const kScanModes[4] = {"SE", "CO", "TO", "TO"};
  add("Scan Mode:", "扫描模式:", kScanModes[(display >> 4) & 3]);
  add("Keypad Lock:", "键盘锁定:",
      Bit(display, 1) ? (chinese ? "自动" : "Auto") : (chinese ? "手动" : "Manual"));
  const int led = (display >> 2) & 3;
  add("LED", "LED", led == 0 ? off : led == 1 ? (chinese ? "自动" : "Auto") : OnOffText(true, chinese));
  static const char* const kModes[2][3] = {{"Channel", "Frequency", "Memory"}, {"信道", "频率", "存储"}};
  const int mode = scan & 3;
  add("Mode:", "模式:", kModes[chinese ? 1 : 0][mode < 2 ? mode : 2]);
  add("Encoder", "编码器", OnOffText(Bit(scan, 5), chinese));
  add("Voice Sensitivity:", "声控灵敏度:", OffOrNumber(image[kVoiceSensitivity] & 0x1F, chinese));
  static const char* const kSteps[5] = {"5k", "10k", "6.25k", "12.5k", "25k"};
  add("Step:", "步长:", kSteps[image[kStep] < 4 ? image[kStep] : 4]);
  // "%1.1f" of v x 0.2, made in integers: 1 -> "0.2", 5 -> "1.0", 7 -> "1.4".
  const int saver = (image[kBatterySaver] & 7) * 2;
  add("Battery Saver:", "电池省电:",
      saver == 0 ? off : std::to_string(saver / 10) + "." + std::to_string(saver % 10));
  return rows;
}

const radio::ReportSpec& Report199() {
  static const radio::ReportSpec report = [] {
    radio::ReportSpec r{OptionsReport, radio::FrequencyAndToneLines()};
    r.channelBlock.push_back(
        {{"Power:", "功率:"}, ColumnRole::kPower, {"Channel Lock:", "信道锁定:"}, ColumnRole::kLock});
    // The name has a line of its own, without a right half.
    r.channelBlock.push_back({{"Channel Name:", "信道名字:"}, ColumnRole::kName, {}, ColumnRole::kName});
    return r;
  }();
  return report;
}

}  // namespace varo::model199
