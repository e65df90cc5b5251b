#include "model199/ChannelTable.h"

#include "model199/ChannelCodec.h"
#include "model199/Layout.h"
#include "model199/ToneCodes.h"

namespace varo::model199 {

const radio::Texts kHigh{"High", "高"};
const radio::Texts kMiddle{"Middle", "中"};
const radio::Texts kLow{"Low", "低"};
const radio::Texts kLock{"Lock", "锁定"};
const radio::Texts kUnlock{"Unlock", "未锁定"};

namespace {

using radio::ColumnRole;
using radio::ColumnSpec;
using radio::EditorKind;
using radio::Texts;

ColumnSpec Column(ColumnRole role, Texts header, int width, EditorKind editor, int id) {
  ColumnSpec c;
  c.role = role;
  c.header = std::move(header);
  c.widthTenths = width;
  c.editor = editor;
  c.editorId = id;
  return c;
}

ColumnSpec List(ColumnRole role, Texts header, int width, int id, const std::vector<Texts>& entries,
                Texts newRow) {
  ColumnSpec c = Column(role, std::move(header), width, EditorKind::kDropDown, id);
  for (const Texts& e : entries) {
    c.entriesEnglish.push_back(e.english);
    c.entriesChinese.push_back(e.chinese);
  }
  c.newRowDefault = std::move(newRow);
  return c;
}

ColumnSpec ToneList(ColumnRole role, Texts header, int id) {
  ColumnSpec c = Column(role, std::move(header), 11, EditorKind::kDropDown, id);
  c.entriesEnglish = ToneChoiceList(false);
  c.entriesChinese = ToneChoiceList(true);
  c.newRowDefault = radio::kNoTone;
  return c;
}

radio::TableSpec MakeTable() {
  radio::TableSpec t;
  t.channelRows = kRecords;
  t.priorityRow = true;
  t.labelWidth = 3;
  t.fallbackEditor = ColumnRole::kRx;
  t.editBoxSelectsText = false;
  t.columns.push_back(Column(ColumnRole::kChannel, {"CH", "信道"}, 5, EditorKind::kNone, 0));
  t.columns.push_back(
      Column(ColumnRole::kRx, {"Rx Frequency", "接收频率"}, 13, EditorKind::kFrequency, 2127));
  t.columns.push_back(
      Column(ColumnRole::kTx, {"Tx Frequency", "发射频率"}, 13, EditorKind::kFrequency, 2128));
  t.columns.push_back(ToneList(ColumnRole::kDecode, {"QT/DQT Dec", "QT/DQT解码"}, 2132));
  t.columns.push_back(ToneList(ColumnRole::kEncode, {"QT/DQT Enc", "QT/DQT编码"}, 2133));
  t.columns.push_back(
      List(ColumnRole::kPower, {"Power", "功率"}, 10, 1129, {kHigh, kMiddle, kLow}, kHigh));
  t.columns.push_back(
      List(ColumnRole::kLock, {"Cha Lock", "信道锁定"}, 10, 1127, {kLock, kUnlock}, kLock));
  ColumnSpec name = Column(ColumnRole::kName, {"Cha Name", "信道名字"}, 11, EditorKind::kText, 1126);
  name.maxLength = kNameEditLength;
  name.upperCase = true;
  name.storedLength = static_cast<int>(kNameSize);
  for (char c = ' '; c <= '~'; ++c) {
    std::uint8_t stored[kNameSize];
    NameToBytes(std::string(1, c), stored);
    if (NameFromBytes(stored) == std::string(1, c)) name.storedCharacters += c;
  }
  t.columns.push_back(name);
  t.words = {radio::kNoTone, kHigh, kMiddle, kLow, kLock, kUnlock};
  return t;
}

}  // namespace

const radio::TableSpec& Table199() {
  static const radio::TableSpec table = MakeTable();
  return table;
}

}  // namespace varo::model199
