#include "model16/ChannelTable.h"

#include "model16/ChannelCodec.h"
#include "model16/ToneCodes.h"

namespace varo::model16 {

namespace {

using radio::ColumnRole;
using radio::ColumnSpec;
using radio::EditorKind;

ColumnSpec List(ColumnRole role, radio::Texts header, int width, int id,
                std::vector<std::string> english, std::vector<std::string> chinese,
                radio::Texts newRow) {
  ColumnSpec c;
  c.role = role;
  c.header = std::move(header);
  c.widthTenths = width;
  c.editor = EditorKind::kDropDown;
  c.editorId = id;
  c.entriesEnglish = std::move(english);
  c.entriesChinese = std::move(chinese);
  c.newRowDefault = std::move(newRow);
  return c;
}

ColumnSpec Frequency(ColumnRole role, radio::Texts header, int id) {
  ColumnSpec c;
  c.role = role;
  c.header = std::move(header);
  c.widthTenths = 13;
  c.editor = EditorKind::kFrequency;
  c.editorId = id;
  return c;
}

radio::TableSpec MakeTable() {
  const Words& en = WordsFor(false);
  const Words& zh = WordsFor(true);
  radio::TableSpec t;
  t.channelRows = kChannels;
  t.labelWidth = 2;
  t.fallbackEditor = ColumnRole::kBandwidth;
  t.editBoxSelectsText = true;
  ColumnSpec ch;
  ch.header = {"CH", "信道"};
  ch.widthTenths = 5;
  t.columns.push_back(ch);
  t.columns.push_back(Frequency(ColumnRole::kRx, {"Rx Frequency", "接收频率"}, 2127));
  t.columns.push_back(Frequency(ColumnRole::kTx, {"Tx Frequency", "发射频率"}, 2128));
  t.columns.push_back(List(ColumnRole::kDecode, {"QT/DQT Dec", "QT/DQT解码"}, 11, 2132,
                           ToneChoiceList(false), ToneChoiceList(true), {en.noTone, zh.noTone}));
  t.columns.push_back(List(ColumnRole::kEncode, {"QT/DQT Enc", "QT/DQT编码"}, 11, 2133,
                           ToneChoiceList(false), ToneChoiceList(true), {en.noTone, zh.noTone}));
  t.columns.push_back(List(ColumnRole::kPower, {"Power", "功率"}, 9, 1129, {en.high, en.low},
                           {zh.high, zh.low}, {en.high, zh.high}));
  t.columns.push_back(List(ColumnRole::kScanAdd, {"Scan Add", "扫描添加"}, 9, 1134,
                           {en.yes, en.no}, {zh.yes, zh.no}, {en.no, zh.no}));
  // The Chinese Busy Lock list keeps "Carrier" and "QT/DQT" in English.
  t.columns.push_back(List(ColumnRole::kBusyLock, {"Busy Lock", "繁忙锁定"}, 9, 1139,
                           {en.off, en.carrier, en.qtDqt}, {zh.off, "Carrier", "QT/DQT"},
                           {en.off, zh.off}));
  t.columns.push_back(List(ColumnRole::kBandwidth, {"W/N", "宽/窄"}, 9, 1128,
                           {en.wide, en.narrow}, {zh.wide, zh.narrow}, {en.wide, zh.wide}));
  const std::string Words::*fields[] = {&Words::noTone, &Words::high,    &Words::low,
                                        &Words::yes,    &Words::no,      &Words::off,
                                        &Words::carrier, &Words::qtDqt,  &Words::wide,
                                        &Words::narrow};
  for (auto field : fields) t.words.push_back({en.*field, zh.*field});
  return t;
}

}  // namespace

const radio::TableSpec& Table16() {
  static const radio::TableSpec table = MakeTable();
  return table;
}

}  // namespace varo::model16
