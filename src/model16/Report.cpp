#include "model16/Report.h"

#include <cstdio>
#include <string>

#include "model16/Layout.h"

namespace varo::model16 {

namespace {

using radio::ColumnRole;

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

using radio::OnOffText;

}  // namespace

std::vector<radio::ReportRow> OptionsReport(const MemoryImage& image,
                                            bool chinese) {
  const std::string off = OnOffText(false, chinese);
  std::vector<radio::ReportRow> rows;
  auto add = [&](const char* english, const char* chineseLabel, std::string value) {
    rows.emplace_back(chinese ? chineseLabel : english, std::move(value));
  };

  add("Time Out Timer:", "超时定时器:", Format("%ds", (image[kTimeOutTimer] & 0x3F) * 15));
  const int preAlert = image[kTotPreAlert] & 0x0F;
  add("TOT Pre-Alert:", "超时定时器预警:", preAlert == 1 ? off : Format("%d", preAlert - 1));
  add("Sequelch Level:", "静噪电平:", Format("%d", image[kSquelchLevel] & 0x0F));
  add("Beep:", "提示音:", OnOffText((image[kBeep] & 1) != 0, chinese));
  const int voxGain = image[kVoxGainLevel] & 0x1F;
  add("Vox Gain Level:", "声控增益电平:", voxGain == 0 ? off : Format("%d", voxGain));
  static const char* const kVoxDelays[8] = {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0", "3.0", "3.0"};
  add("Vox Delay Time:", "声控延时时间:", kVoxDelays[image[kVoxDelayTime] & 7]);
  add("Call Tone:", "呼叫铃音:", image[kCallTone] == 0 ? off : Format("%d", image[kCallTone]));
  add("Battery Saver:", "电池省电:", OnOffText((image[kBatterySaver] & 1) != 0, chinese));
  std::string voice;
  switch (image[kVoiceAnnunciation] & 3) {
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
  // A radio setting no dialog edits; it is printed as it came.
  add("VOX Function:", "声控功能:", OnOffText((image[kFunctionFlags] & 1) != 0, chinese));
  add("Scan Function:", "扫描功能:", OnOffText((image[kFunctionFlags] & 2) != 0, chinese));
  return rows;
}

const radio::ReportSpec& Report16() {
  // The third line pairs "Channel Lock:" with the Busy Lock column, as the
  // report always printed it.
  static const radio::ReportSpec report = [] {
    radio::ReportSpec r{OptionsReport, radio::FrequencyAndToneLines()};
    r.channelBlock.push_back(
        {{"Power:", "功率:"}, ColumnRole::kPower, {"Scan:", "扫描开关:"}, ColumnRole::kScanAdd});
    r.channelBlock.push_back({{"Channel Lock:", "信道锁定:"}, ColumnRole::kBusyLock,
                              {"W/N:", "宽/窄:"}, ColumnRole::kBandwidth});
    return r;
  }();
  return report;
}

}  // namespace varo::model16
