#include "model199/OptionalFeatures.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "model199/Layout.h"

namespace varo::model199 {

namespace {

enum class Kind {
  kByte,          // the whole byte is the list position; `mask` is what opening reads
  kBits,          // the bits of `mask` hold the position (a value past the list: its last entry)
  kBitsInverted,  // a one-bit field whose set bit is the first entry ("Off")
};

struct ListField {
  int controlId;
  std::size_t offset;
  std::uint8_t mask;
  Kind kind;
};

// In the order of OptionList.
constexpr ListField kListFields[kOptionListCount] = {
    {1119, kDisplayFlags, 0x0C, Kind::kBits},
    {1120, kBatterySaver, 0x07, Kind::kByte},
    {1121, kDisplayFlags, 0x02, Kind::kBits},
    {1118, kTimeOutTimer, 0x0F, Kind::kByte},
    {1122, kVoiceSensitivity, 0x1F, Kind::kByte},
    {1123, kScanFlags, 0x40, Kind::kBits},
    {1124, kDisplayFlags, 0x80, Kind::kBitsInverted},
    {1125, kPriScanTime, 0x07, Kind::kByte},
    {1117, kStep, 0x07, Kind::kByte},
    {1130, kCallTone, 0x0F, Kind::kByte},
    {1116, kSquelchLevel, 0x0F, Kind::kByte},
    {1129, kScanFlags, 0x20, Kind::kBits},
    {1128, kScanFlags, 0x03, Kind::kBits},
    {1127, kDisplayFlags, 0x40, Kind::kBitsInverted},
    {1126, kDisplayFlags, 0x30, Kind::kBits},
};

const ListField& FieldOf(OptionList list) { return kListFields[static_cast<std::size_t>(list)]; }

int Shift(std::uint8_t mask) {
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  return shift;
}

std::vector<std::string> Words(bool chinese, std::vector<std::string> english,
                               std::vector<std::string> chineseWords) {
  return chinese ? std::move(chineseWords) : std::move(english);
}

std::vector<std::string> OffOnly(bool chinese) { return {chinese ? "关" : "Off"}; }

std::vector<std::string> OffThen(bool chinese, std::vector<std::string> rest) {
  std::vector<std::string> entries = OffOnly(chinese);
  entries.insert(entries.end(), rest.begin(), rest.end());
  return entries;
}

std::vector<std::string> Numbers(int first, int last) {
  std::vector<std::string> numbers;
  for (int n = first; n <= last; ++n) numbers.push_back(std::to_string(n));
  return numbers;
}

int EntryCount(OptionList list) { return static_cast<int>(OptionListEntries(list, false).size()); }

}  // namespace

int OptionListControlId(OptionList list) { return FieldOf(list).controlId; }

std::vector<std::string> OptionListEntries(OptionList list, bool chinese) {
  switch (list) {
    case OptionList::kLed:
      return Words(chinese, {"Off", "Auto", "On"}, {"关", "自动", "开"});
    case OptionList::kBatterySaver:
      return OffThen(chinese, {"0.2", "0.4", "0.6", "0.8", "1.0"});
    case OptionList::kKeypadLock:
      return Words(chinese, {"Manual", "Auto"}, {"手动", "自动"});
    case OptionList::kTimeOutTimer:
      return OffThen(chinese, {"1", "3", "10"});
    case OptionList::kVoiceSensitivity:
      return OffThen(chinese, Numbers(1, 16));
    case OptionList::kPriorityScan:
    case OptionList::kChannelDisplay:
    case OptionList::kEncoder:
    case OptionList::kBusy:
      return Words(chinese, {"Off", "On"}, {"关", "开"});
    case OptionList::kPriScanTime:
      return {"3s", "5s", "8s", "10s"};
    case OptionList::kStep:
      return {"5k", "10k", "6.25k", "12.5k", "25k"};
    case OptionList::kCallTone: {
      std::vector<std::string> tones = Numbers(1, 8);
      tones.push_back("1750");
      return OffThen(chinese, tones);
    }
    case OptionList::kSquelchLevel:
      return Numbers(0, 9);
    case OptionList::kMode:
      return Words(chinese, {"Channel", "Frequency", "Memory"}, {"信道", "频率", "存储"});
    case OptionList::kScanMode:
      return {"SE", "CO", "TO"};
  }
  return {};
}

OptionalFeaturesForm LoadOptionalFeatures(const MemoryImage& image) {
  OptionalFeaturesForm form;
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    const ListField& f = FieldOf(list);
    const int last = EntryCount(list) - 1;
    const int value = (image[f.offset] & f.mask) >> Shift(f.mask);
    switch (f.kind) {
      case Kind::kByte:
        form[list] = value <= last ? value : -1;
        break;
      case Kind::kBits:
        form[list] = std::min(value, last);
        break;
      case Kind::kBitsInverted:
        form[list] = last - value;
        break;
    }
  }
  form.beep = (image[kBeep] & 1) != 0;
  return form;
}

void StoreOptionalFeatures(const OptionalFeaturesForm& form, MemoryImage& image) {
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    const int position = form[list];
    const int last = EntryCount(list) - 1;
    if (position < 0 || position > last) continue;
    const ListField& f = FieldOf(list);
    std::uint8_t& byte = image[f.offset];
    if (f.kind == Kind::kByte) {
      byte = static_cast<std::uint8_t>(position);
      continue;
    }
    const int value = f.kind == Kind::kBitsInverted ? last - position : position;
    byte = static_cast<std::uint8_t>((byte & ~f.mask) | ((value << Shift(f.mask)) & f.mask));
  }
  image[kBeep] = static_cast<std::uint8_t>((image[kBeep] & 0xFE) | (form.beep ? 1 : 0));
}

}  // namespace varo::model199
