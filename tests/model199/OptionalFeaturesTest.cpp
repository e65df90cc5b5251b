#include "model199/OptionalFeatures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace varo::model199 {
namespace {

using L = OptionList;

// The offsets where two images differ, for a readable failure.
std::vector<std::size_t> Differences(const MemoryImage& a, const MemoryImage& b) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) offsets.push_back(i);
  return offsets;
}

std::string Shown(const OptionalFeaturesForm& form, L list, bool chinese = false) {
  const int at = form[list];
  return at < 0 ? "(none)" : OptionListEntries(list, chinese).at(static_cast<std::size_t>(at));
}

TEST(OptionalFeatures199Test, NewDocumentOpensWithItsDefaultsAndOkChangesNothing) {
  const MemoryImage original = NewImage();
  const OptionalFeaturesForm form = LoadOptionalFeatures(original);
  const std::pair<L, const char*> shown[] = {
      {L::kLed, "Auto"},          {L::kBatterySaver, "0.4"},   {L::kKeypadLock, "Manual"},
      {L::kTimeOutTimer, "1"},    {L::kVoiceSensitivity, "Off"}, {L::kPriorityScan, "Off"},
      {L::kChannelDisplay, "Off"}, {L::kPriScanTime, "3s"},    {L::kStep, "25k"},
      {L::kCallTone, "1"},        {L::kSquelchLevel, "1"},     {L::kEncoder, "On"},
      {L::kMode, "Frequency"},    {L::kBusy, "Off"},           {L::kScanMode, "CO"},
  };
  for (const auto& [list, text] : shown) EXPECT_EQ(Shown(form, list), text) << OptionListControlId(list);
  EXPECT_TRUE(form.beep);
  EXPECT_EQ(Shown(form, L::kMode, true), "频率");
  EXPECT_EQ(Shown(form, L::kLed, true), "自动");
  EXPECT_EQ(Shown(form, L::kKeypadLock, true), "手动");
  MemoryImage image = original;
  StoreOptionalFeatures(form, image);
  EXPECT_EQ(Differences(image, original), std::vector<std::size_t>{});
}

// The bits of a settings byte that some field of the dialog stands for: all
// of the whole-byte fields; none of bits 7-1 of 0x1FC0, bit 0 of 0x1FE1,
// bits 7 and 4-2 of 0x1FE2 and the bytes no setting uses.
int Named(std::size_t offset) {
  switch (offset) {
    case 0x1FC0: return 0x01;
    case 0x1FE1: return 0xFE;
    case 0x1FE2: return 0x63;
    case 0x1FC1: case 0x1FC3: case 0x1FE0: case 0x1FE4: case 0x1FE5: case 0x1FE6: case 0x1FE7:
      return 0xFF;
    default: return 0x00;
  }
}

// Every entry of every list stores its value in its field, the other bits of
// the byte keep whatever they held, and opening shows the entry again.
TEST(OptionalFeatures199Test, EveryEntryRoundTripsWithItsKeptBits) {
  // value(entry) is what the field's bits hold; whole bytes hold the entry.
  struct Field {
    L list;
    unsigned offset;
    int fieldMask;
    int entries;
    std::vector<int> values;  // empty: the entry itself, as the whole byte
  };
  const Field fields[] = {
      // clang-format off
      {L::kLed,              0x1FE1, 0x0C, 3,  {0x00, 0x04, 0x08}},
      {L::kBatterySaver,     0x1FE6, 0xFF, 6,  {}},
      {L::kKeypadLock,       0x1FE1, 0x02, 2,  {0x00, 0x02}},
      {L::kTimeOutTimer,     0x1FC3, 0xFF, 4,  {}},
      {L::kVoiceSensitivity, 0x1FE4, 0xFF, 17, {}},
      {L::kPriorityScan,     0x1FE2, 0x40, 2,  {0x00, 0x40}},
      {L::kChannelDisplay,   0x1FE1, 0x80, 2,  {0x80, 0x00}},  // set bit: Off
      {L::kPriScanTime,      0x1FE7, 0xFF, 4,  {}},
      {L::kStep,             0x1FE0, 0xFF, 5,  {}},
      {L::kCallTone,         0x1FE5, 0xFF, 10, {}},
      {L::kSquelchLevel,     0x1FC1, 0xFF, 10, {}},
      {L::kEncoder,          0x1FE2, 0x20, 2,  {0x00, 0x20}},
      {L::kMode,             0x1FE2, 0x03, 3,  {0x00, 0x01, 0x02}},
      {L::kBusy,             0x1FE1, 0x40, 2,  {0x40, 0x00}},  // set bit: Off
      {L::kScanMode,         0x1FE1, 0x30, 3,  {0x00, 0x10, 0x20}},
      // clang-format on
  };
  std::mt19937 random(7);
  for (const Field& f : fields) {
    ASSERT_EQ(static_cast<int>(OptionListEntries(f.list, false).size()), f.entries);
    ASSERT_EQ(OptionListEntries(f.list, true).size(), OptionListEntries(f.list, false).size());
    for (int entry = 0; entry < f.entries; ++entry) {
      MemoryImage image = NewImage();
      for (std::size_t i = 0x1FC0; i < 0x2000; ++i) image[i] = static_cast<std::uint8_t>(random());
      // What OK gives without a change, against which only this field may
      // differ; it writes no bit outside the named fields.
      MemoryImage unchanged = image;
      StoreOptionalFeatures(LoadOptionalFeatures(image), unchanged);
      for (std::size_t i = 0x1FC0; i < 0x2000; ++i)
        ASSERT_EQ(unchanged[i] & ~Named(i) & 0xFF, image[i] & ~Named(i) & 0xFF) << "offset " << i;
      OptionalFeaturesForm form = LoadOptionalFeatures(image);
      form[f.list] = entry;
      StoreOptionalFeatures(form, image);
      SCOPED_TRACE(testing::Message() << "control " << OptionListControlId(f.list) << " entry " << entry);
      const int value = f.values.empty() ? entry : f.values[static_cast<std::size_t>(entry)];
      EXPECT_EQ(image[f.offset] & f.fieldMask, value);
      EXPECT_EQ(LoadOptionalFeatures(image)[f.list], entry);
      unchanged[f.offset] = static_cast<std::uint8_t>((unchanged[f.offset] & ~f.fieldMask) | value);
      EXPECT_EQ(Differences(image, unchanged), std::vector<std::size_t>{});
    }
  }
  MemoryImage image = NewImage();
  OptionalFeaturesForm form = LoadOptionalFeatures(image);
  form.beep = false;
  image[0x1FC0] = 0xA5;
  StoreOptionalFeatures(form, image);
  EXPECT_EQ(image[0x1FC0], 0xA4);
  EXPECT_FALSE(LoadOptionalFeatures(image).beep);
}

// Stored values the lists show differently, or not at all. A list without a
// selection leaves its byte as it was on OK.
TEST(OptionalFeatures199Test, ValuesWithoutAnEntryOrMaskedOnOpening) {
  struct {
    L list;
    unsigned offset;
    std::uint8_t stored;
    const char* shown;
    std::uint8_t afterOk;
  } cases[] = {
      // clang-format off
      {L::kStep,              0x1FE0, 0x07, "(none)", 0x07},
      {L::kStep,              0x1FE0, 0x0A, "6.25k",  0x02},  // opened through 0x07
      {L::kTimeOutTimer,      0x1FC3, 0x19, "(none)", 0x19},
      {L::kTimeOutTimer,      0x1FC3, 0x13, "10",     0x03},
      {L::kVoiceSensitivity,  0x1FE4, 0x31, "(none)", 0x31},
      {L::kVoiceSensitivity,  0x1FE4, 0xF0, "16",     0x10},
      {L::kBatterySaver,      0x1FE6, 0x06, "(none)", 0x06},
      {L::kPriScanTime,       0x1FE7, 0xF2, "8s",     0x02},
      {L::kCallTone,          0x1FE5, 0x0A, "(none)", 0x0A},
      {L::kSquelchLevel,      0x1FC1, 0x4F, "(none)", 0x4F},
      {L::kScanMode,          0x1FE1, 0xF5, "TO",     0xE5},  // 3 is shown as TO, stored as 2
      {L::kLed,               0x1FE1, 0xDD, "On",     0xD9},
      {L::kMode,              0x1FE2, 0x23, "Memory", 0x22},
      // clang-format on
  };
  for (const auto& c : cases) {
    MemoryImage image = NewImage();
    image[c.offset] = c.stored;
    const OptionalFeaturesForm form = LoadOptionalFeatures(image);
    EXPECT_EQ(Shown(form, c.list), c.shown) << int(c.stored);
    StoreOptionalFeatures(form, image);
    EXPECT_EQ(image[c.offset], c.afterOk) << int(c.stored);
  }
}

}  // namespace
}  // namespace varo::model199
