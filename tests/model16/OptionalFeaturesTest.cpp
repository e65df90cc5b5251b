#include "model16/OptionalFeatures.h"

#include <gtest/gtest.h>

#include <random>

namespace varo::model16 {
namespace {

std::string Shown(const OptionalFeaturesForm& form, OptionList list) {
  const int index = form[list];
  return index < 0 ? "" : OptionListEntries(list, false)[static_cast<std::size_t>(index)];
}

TEST(OptionalFeaturesTest, NewDocumentOpensWithItsDefaultsAndOkChangesNothing) {
  const MemoryImage original = MemoryImage::NewDocument();
  const OptionalFeaturesForm form = LoadOptionalFeatures(original);
  const std::pair<OptionList, const char*> expected[] = {
      {OptionList::kTimeOutTimer, "60s"},      {OptionList::kTotPreAlert, "8"},
      {OptionList::kSquelchLevel, "4"},        {OptionList::kVoiceAnnunciation, "Chinese"},
      {OptionList::kCallTone, "Off"},          {OptionList::kVoxGainLevel, "5"},
      {OptionList::kVoxDelayTime, "1.0"},
  };
  for (const auto& [list, text] : expected) EXPECT_EQ(Shown(form, list), text);
  EXPECT_TRUE(form.beep);
  EXPECT_TRUE(form.batterySaver);

  MemoryImage image = original;
  StoreOptionalFeatures(form, image);
  EXPECT_EQ(image, original);
}

// Every entry of every list is stored where it belongs, the bits outside the
// field keep their value whatever it is, and opening shows the entry again.
TEST(OptionalFeaturesTest, EveryEntryRoundTripsWithItsKeptBits) {
  struct {
    OptionList list;
    std::size_t offset;
    std::uint8_t keptMask;
    int entries;
    int firstStored;  // what entry 0 stores
  } fields[] = {
      {OptionList::kTimeOutTimer, 0x130, 0x80, 40, 1},
      {OptionList::kTotPreAlert, 0x131, 0xF0, 11, 1},
      {OptionList::kSquelchLevel, 0x134, 0xF0, 10, 0},
      {OptionList::kVoiceAnnunciation, 0x12F, 0xFC, 3, 0},
      {OptionList::kCallTone, 0x3F0, 0x00, 17, 0},
      {OptionList::kVoxGainLevel, 0x13A, 0xE0, 17, 0},
      {OptionList::kVoxDelayTime, 0x13B, 0xF8, 6, 0},
  };
  std::mt19937 random(7);
  for (const auto& f : fields) {
    ASSERT_EQ(static_cast<int>(OptionListEntries(f.list, false).size()), f.entries);
    for (int index = 0; index < f.entries; ++index) {
      MemoryImage image;
      for (auto& b : image.bytes) b = static_cast<std::uint8_t>(random());
      const MemoryImage before = image;
      OptionalFeaturesForm form = LoadOptionalFeatures(image);
      form[f.list] = index;
      StoreOptionalFeatures(form, image);
      SCOPED_TRACE(testing::Message() << "list " << static_cast<int>(f.list) << " entry " << index);
      EXPECT_EQ(image[f.offset] & ~f.keptMask & 0xFF, index + f.firstStored);
      EXPECT_EQ(image[f.offset] & f.keptMask, before[f.offset] & f.keptMask);
      EXPECT_EQ(LoadOptionalFeatures(image)[f.list], index);
      // Nothing else changes: the check boxes write back what they read.
      image[f.offset] = before[f.offset];
      EXPECT_EQ(image, before);
    }
  }
}

TEST(OptionalFeaturesTest, ValuesWithoutAnEntryLeaveTheirByteAlone) {
  struct {
    std::size_t offset;
    std::uint8_t value;
    OptionList list;
  } cases[] = {
      {0x13B, 0x07, OptionList::kVoxDelayTime},       // delay 7 has no entry
      {0x130, 0x80, OptionList::kTimeOutTimer},       // timer 0
      {0x130, 0xA9, OptionList::kTimeOutTimer},       // timer 41
      {0x131, 0x30, OptionList::kTotPreAlert},        // pre-alert 0
      {0x134, 0x5A, OptionList::kSquelchLevel},       // squelch 10
      {0x12F, 0xFF, OptionList::kVoiceAnnunciation},  // annunciation 3
      {0x3F0, 0x11, OptionList::kCallTone},           // call tone 17
      {0x13A, 0x31, OptionList::kVoxGainLevel},       // gain 17
  };
  for (const auto& c : cases) {
    MemoryImage image = MemoryImage::NewDocument();
    image[c.offset] = c.value;
    const MemoryImage before = image;
    OptionalFeaturesForm form = LoadOptionalFeatures(image);
    EXPECT_EQ(form[c.list], -1) << std::hex << c.offset;
    StoreOptionalFeatures(form, image);
    EXPECT_EQ(image, before) << std::hex << c.offset;
  }
}

TEST(OptionalFeaturesTest, CheckBoxesAreIndependentBits) {
  MemoryImage image = MemoryImage::NewDocument();
  image[0x135] = 0xFE;  // saver clear, other bits set
  image[0x136] = 0x01;
  OptionalFeaturesForm form = LoadOptionalFeatures(image);
  EXPECT_TRUE(form.beep);
  EXPECT_FALSE(form.batterySaver);
  form.beep = false;
  form.batterySaver = true;
  StoreOptionalFeatures(form, image);
  EXPECT_EQ(image[0x135], 0xFF);
  EXPECT_EQ(image[0x136], 0x00);
}

TEST(OptionalFeaturesTest, ListWordsFollowTheLanguage) {
  EXPECT_EQ(OptionListEntries(OptionList::kVoiceAnnunciation, true),
            (std::vector<std::string>{"关", "中文", "英文"}));
  for (OptionList list : {OptionList::kTotPreAlert, OptionList::kCallTone, OptionList::kVoxGainLevel}) {
    EXPECT_EQ(OptionListEntries(list, true).front(), "关");
    EXPECT_EQ(OptionListEntries(list, false).front(), "Off");
  }
  const auto timer = OptionListEntries(OptionList::kTimeOutTimer, true);
  EXPECT_EQ(timer.front(), "15s");
  EXPECT_EQ(timer.back(), "600s");
}

TEST(OptionalFeaturesTest, KeyboardFilter) {
  struct {
    int key;
    bool shift;
    KeyAction action;
  } cases[] = {
      {vk::k0, false, KeyAction::kPass},         {vk::k9, false, KeyAction::kPass},
      {vk::kNumpad0 + 5, false, KeyAction::kPass}, {vk::kBack, false, KeyAction::kPass},
      {vk::kDelete, false, KeyAction::kPass},    {vk::kLeft, false, KeyAction::kPass},
      {vk::kDown, false, KeyAction::kPass},      {vk::k9, true, KeyAction::kDiscard},
      {vk::kUp, true, KeyAction::kDiscard},      {vk::kReturn, false, KeyAction::kDiscard},
      {vk::kEscape, false, KeyAction::kDiscard}, {vk::kTab, false, KeyAction::kDiscard},
      {vk::kSpace, false, KeyAction::kDiscard},  {'A', false, KeyAction::kDiscard},
      {0x24, false, KeyAction::kDiscard},        // Home, just before the arrows
      {vk::kF1, false, KeyAction::kHelp},        {vk::kF1, true, KeyAction::kHelp},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterOptionalFeaturesKey(c.key, c.shift), c.action) << c.key << " " << c.shift;
  }
}

}  // namespace
}  // namespace varo::model16
