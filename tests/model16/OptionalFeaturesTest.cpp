#include <gtest/gtest.h>

#include <random>

#include "model16/OptionalFeatures.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

TEST(OptionalFeaturesTest, NewDocumentOpensWithItsDefaultsAndOkChangesNothing) {
  const MemoryImage original = NewImage();
  const OptionalFeaturesForm form = LoadOptionalFeatures(original);
  const char* shown[kOptionListCount] = {"60s", "8", "4", "Chinese", "Off", "5", "1.0"};
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    ASSERT_GE(form[list], 0);
    EXPECT_EQ(OptionListEntries(list, false)[static_cast<std::size_t>(form[list])], shown[i]);
  }
  EXPECT_TRUE(form.beep && form.batterySaver);
  MemoryImage image = original;
  StoreOptionalFeatures(form, image);
  EXPECT_EQ(image, original);
  EXPECT_EQ(OptionListEntries(OptionList::kVoiceAnnunciation, true),
            (std::vector<std::string>{"关", "中文", "英文"}));
  EXPECT_EQ(OptionListEntries(OptionList::kCallTone, true)[0], "关");
  // Beep and Battery Saver are bits of their own.
  image[0x135] = 0xFE;
  EXPECT_TRUE(LoadOptionalFeatures(image).beep);
  EXPECT_FALSE(LoadOptionalFeatures(image).batterySaver);
}

// Every entry of every list is stored where it belongs, the bits outside the
// field keep whatever they held, and opening shows the entry again. A stored
// value without an entry opens as no selection, and OK leaves its byte alone.
TEST(OptionalFeaturesTest, EveryEntryRoundTripsWithItsKeptBits) {
  using L = OptionList;
  // clang-format off
  struct { L list; unsigned offset; int keptMask, entries, bias; std::uint8_t orphan; } fields[] = {
      {L::kTimeOutTimer,      0x130, 0x80, 40, 1, 0xA9},  // 600 s stores 40
      {L::kTotPreAlert,       0x131, 0xF0, 11, 1, 0x30},  // Off 1, "10" 11
      {L::kSquelchLevel,      0x134, 0xF0, 10, 0, 0x5A},
      {L::kVoiceAnnunciation, 0x12F, 0xFC, 3,  0, 0xFF},
      {L::kCallTone,          0x3F0, 0x00, 17, 0, 0x11},
      {L::kVoxGainLevel,      0x13A, 0xE0, 17, 0, 0x31},
      {L::kVoxDelayTime,      0x13B, 0xF8, 6,  0, 0x07},
  };
  // clang-format on
  std::mt19937 random(7);
  for (const auto& f : fields) {
    ASSERT_EQ(static_cast<int>(OptionListEntries(f.list, false).size()), f.entries);
    for (int index = 0; index < f.entries; ++index) {
      MemoryImage image(kImageSize);
      for (auto& b : image.bytes) b = static_cast<std::uint8_t>(random());
      const MemoryImage before = image;
      OptionalFeaturesForm form = LoadOptionalFeatures(image);
      form[f.list] = index;
      StoreOptionalFeatures(form, image);
      SCOPED_TRACE(testing::Message() << "offset " << f.offset << " entry " << index);
      EXPECT_EQ(image[f.offset] & ~f.keptMask & 0xFF, index + f.bias);
      EXPECT_EQ(image[f.offset] & f.keptMask, before[f.offset] & f.keptMask);
      EXPECT_EQ(LoadOptionalFeatures(image)[f.list], index);
      image[f.offset] = before[f.offset];
      EXPECT_EQ(image, before);  // every other field wrote back what it read
    }
    MemoryImage image = NewImage();
    image[f.offset] = f.orphan;
    const MemoryImage before = image;
    OptionalFeaturesForm form = LoadOptionalFeatures(image);
    EXPECT_EQ(form[f.list], -1) << f.offset;
    StoreOptionalFeatures(form, image);
    EXPECT_EQ(image, before) << f.offset;
  }
}

TEST(OptionalFeaturesTest, KeyboardFilter) {
  const int passing[] = {vk::k0,    vk::k9,      vk::kNumpad0, vk::kNumpad9,
                         vk::kBack, vk::kDelete, vk::kLeft,    vk::kDown};
  for (int key : passing) {
    EXPECT_EQ(FilterOptionalFeaturesKey(key, false), KeyAction::kPass) << key;
    EXPECT_EQ(FilterOptionalFeaturesKey(key, true), KeyAction::kDiscard) << key;
  }
  for (int key : {vk::kReturn, vk::kEscape, vk::kTab, vk::kSpace, int{'A'}, 0x24, 0x2F, 0x6A}) {
    EXPECT_EQ(FilterOptionalFeaturesKey(key, false), KeyAction::kDiscard) << key;
  }
  EXPECT_EQ(FilterOptionalFeaturesKey(vk::kF1, true), KeyAction::kHelp);
}

}  // namespace
}  // namespace varo::model16
