#include "model16/OptionalFeatures.h"

#include <cstddef>
#include <cstdint>

#include "model16/Layout.h"

namespace varo::model16 {

namespace {

// Where a list's value lives: the byte, the bits the list owns, and what is
// added to the entry position to form the stored value.
struct ListField {
  int controlId;
  std::size_t offset;
  std::uint8_t mask;
  int bias;
};

constexpr ListField kListFields[kOptionListCount] = {
    {1118, kTimeOutTimer, 0x7F, 1},      // 1-40 for 15 s .. 600 s
    {1130, kTotPreAlert, 0x0F, 1},       // 1 = Off, 2-11 = 1..10
    {1116, kSquelchLevel, 0x0F, 0},      // 0-9
    {1117, kVoiceAnnunciation, 0x03, 0}, // Off, Chinese, English
    {1119, kCallTone, 0xFF, 0},          // Off, 1-16
    {1121, kVoxGainLevel, 0x1F, 0},      // Off, 1-16
    {1123, kVoxDelayTime, 0x07, 0},      // 0.3 .. 3.0 s
};

const ListField& FieldOf(OptionList list) { return kListFields[static_cast<std::size_t>(list)]; }

std::vector<std::string> OffThenNumbers(bool chinese, int last) {
  std::vector<std::string> entries{chinese ? "关" : "Off"};
  for (int n = 1; n <= last; ++n) entries.push_back(std::to_string(n));
  return entries;
}

void SetBit0(MemoryImage& image, std::size_t offset, bool on) {
  image[offset] = static_cast<std::uint8_t>((image[offset] & 0xFE) | (on ? 1 : 0));
}

}  // namespace

int OptionListControlId(OptionList list) { return FieldOf(list).controlId; }

std::vector<std::string> OptionListEntries(OptionList list, bool chinese) {
  std::vector<std::string> entries;
  switch (list) {
    case OptionList::kTimeOutTimer:
      for (int i = 0; i < 40; ++i) entries.push_back(std::to_string(15 * (i + 1)) + "s");
      break;
    case OptionList::kTotPreAlert:
      entries = OffThenNumbers(chinese, 10);
      break;
    case OptionList::kSquelchLevel:
      for (int i = 0; i <= 9; ++i) entries.push_back(std::to_string(i));
      break;
    case OptionList::kVoiceAnnunciation:
      entries = chinese ? std::vector<std::string>{"关", "中文", "英文"}
                        : std::vector<std::string>{"Off", "Chinese", "English"};
      break;
    case OptionList::kCallTone:
    case OptionList::kVoxGainLevel:
      entries = OffThenNumbers(chinese, 16);
      break;
    case OptionList::kVoxDelayTime:
      entries = {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0"};
      break;
  }
  return entries;
}

OptionalFeaturesForm LoadOptionalFeatures(const MemoryImage& image) {
  OptionalFeaturesForm form;
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    const ListField& field = FieldOf(list);
    const int position = (image[field.offset] & field.mask) - field.bias;
    const int entries = static_cast<int>(OptionListEntries(list, false).size());
    form[list] = (position >= 0 && position < entries) ? position : -1;
  }
  form.beep = (image[kBeep] & 1) != 0;
  form.batterySaver = (image[kBatterySaver] & 1) != 0;
  return form;
}

void StoreOptionalFeatures(const OptionalFeaturesForm& form, MemoryImage& image) {
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    const int position = form[list];
    if (position < 0) continue;
    const ListField& field = FieldOf(list);
    const int value = (position + field.bias) & field.mask;
    image[field.offset] =
        static_cast<std::uint8_t>((image[field.offset] & ~field.mask & 0xFF) | value);
  }
  SetBit0(image, kBeep, form.beep);
  SetBit0(image, kBatterySaver, form.batterySaver);
}

KeyAction FilterOptionalFeaturesKey(int virtualKey, bool shiftHeld) {
  if (virtualKey == vk::kF1) return KeyAction::kHelp;
  const bool editingKey = (virtualKey >= vk::k0 && virtualKey <= vk::k9) ||
                          (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad9) ||
                          virtualKey == vk::kBack || virtualKey == vk::kDelete ||
                          (virtualKey >= vk::kLeft && virtualKey <= vk::kDown);
  return (editingKey && !shiftHeld) ? KeyAction::kPass : KeyAction::kDiscard;
}

}  // namespace varo::model16
