#include "model16/ChannelCodec.h"

#include <gtest/gtest.h>

#include <random>

#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"
#include "model16/ToneCodes.h"

namespace varo::model16 {
namespace {

constexpr std::size_t kScanMaps = 0x17E;

std::size_t RecordOf(int channel) { return 0x010 + 16 * static_cast<std::size_t>(channel - 1); }

std::vector<std::string> RowTexts(const GridControl& grid, long row) {
  std::vector<std::string> texts;
  for (long c = kColRx; c <= kColWN; ++c) texts.push_back(grid.TextMatrix(row, c));
  return texts;
}

TEST(ChannelCodecTest, FrequencyTextAndBcdBothWays) {
  struct { const char* text; std::uint32_t count; std::uint8_t bcd[4]; const char* shown; } cases[] = {
      {"446.00625", 44600625, {0x25, 0x06, 0x60, 0x44}, "446.00625"},
      {"145.5", 14550000, {0x00, 0x00, 0x55, 0x14}, "145.50000"},
      {"128.015", 12801500, {0x00, 0x15, 0x80, 0x12}, "128.01500"},
      {" 136.0MHz", 13600000, {0x00, 0x00, 0x60, 0x13}, "136.00000"},
      {"999.99999", 99999999, {0x99, 0x99, 0x99, 0x99}, "999.99999"},
      {"5000", kMaxFrequencyCount, {0x99, 0x99, 0x99, 0x99}, "999.99999"},  // clamped
      {"10.00001", 1000001, {0x01, 0x00, 0x00, 0x01}, "10.00001"},
      {"0.5", 50000, {0x00, 0x00, 0x05, 0x00}, ""},  // top pair 00 reads as none
      {"", 0, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"abc", 0, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"-145.5", 0, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrequencyTextToCount(c.text), c.count) << c.text;
    std::uint8_t bcd[4] = {0x12, 0x34, 0x56, 0x78};
    CountToBcd(c.count, bcd);
    EXPECT_EQ(std::vector<std::uint8_t>(bcd, bcd + 4), std::vector<std::uint8_t>(c.bcd, c.bcd + 4))
        << c.text;
    EXPECT_EQ(BcdToFrequencyText(c.bcd), c.shown) << c.text;
  }
  // Only the top byte decides whether there is a frequency; nibbles above 9
  // are counted at their value.
  const std::uint8_t oddNibbles[4] = {0xFF, 0x00, 0x00, 0x4A};
  EXPECT_EQ(BcdToFrequencyText(oddNibbles), "500.00165");
  const std::uint8_t topZero[4] = {0x25, 0x06, 0x60, 0x00};
  EXPECT_EQ(BcdToFrequencyText(topZero), "");
}

TEST(ChannelCodecTest, BlankImagesGiveEmptyRows) {
  MemoryImage allFF;
  allFF.bytes.fill(0xFF);
  struct { const char* name; MemoryImage image; const char* scan; } cases[] = {
      {"new document", MemoryImage::NewDocument(), ""},
      {"all 0xFF", allFF, "Yes"},
  };
  for (const auto& c : cases) {
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(c.image, grid, false);
    for (long n = 1; n <= kChannels; ++n) {
      EXPECT_EQ(RowTexts(grid, n), (std::vector<std::string>{"", "", "", "", "", c.scan, "", ""}))
          << c.name << " channel " << n;
    }
  }
}

TEST(ChannelCodecTest, RecordsDecodeToTheirWords) {
  MemoryImage image = MemoryImage::NewDocument();
  const std::uint8_t rx446[4] = {0x25, 0x06, 0x60, 0x44};
  const std::uint8_t tx145[4] = {0x00, 0x00, 0x55, 0x14};
  // Channel 1: receive only (unprogrammed), in the scan list, a decode tone.
  std::copy(rx446, rx446 + 4, &image[RecordOf(1)]);
  image[RecordOf(1) + 8] = 0x9E;
  image[RecordOf(1) + 9] = 0x02;
  image[kScanMaps] |= 0x01;
  // Channel 2: carrier lock, high power, wide, no tones.
  std::copy(rx446, rx446 + 4, &image[RecordOf(2)]);
  std::copy(tx145, tx145 + 4, &image[RecordOf(2) + 4]);
  image[RecordOf(2) + 12] = 0x08;
  image[RecordOf(2) + 13] = 0x30;
  // Channel 10: both busy bits, low power, narrow, DQT tones, in the scan list.
  std::copy(tx145, tx145 + 4, &image[RecordOf(10)]);
  std::copy(tx145, tx145 + 4, &image[RecordOf(10) + 4]);
  image[RecordOf(10) + 8] = 0x13;
  image[RecordOf(10) + 9] = 0x28;
  image[RecordOf(10) + 10] = 0xEC;
  image[RecordOf(10) + 11] = 0xA9;
  image[RecordOf(10) + 12] = 0xD8;
  image[RecordOf(10) + 13] = 0xCF;
  image[kScanMaps + 1] |= 0x02;

  struct { bool chinese; long row; std::vector<std::string> texts; } cases[] = {
      {false, 1, {"446.00625", "", "67.0", "", "", "Yes", "", ""}},
      {false, 2, {"446.00625", "145.50000", "None", "None", "High", "No", "Carrier", "Wide"}},
      {false, 10, {"145.50000", "145.50000", "D023N", "D754I", "Low", "Yes", "QT/DQT", "Narrow"}},
      {true, 1, {"446.00625", "", "67.0", "", "", "有", "", ""}},
      {true, 2, {"446.00625", "145.50000", "无", "无", "高", "无", "载波", "宽"}},
      {true, 10, {"145.50000", "145.50000", "D023N", "D754I", "低", "有", "QT/DQT", "窄"}},
  };
  for (const auto& c : cases) {
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(image, grid, c.chinese);
    EXPECT_EQ(RowTexts(grid, c.row), c.texts) << (c.chinese ? "zh" : "en") << " row " << c.row;
  }
}

TEST(ChannelCodecTest, EmptyRowStoresUnprogrammedAndKeepsOtherBits) {
  MemoryImage image;
  image.bytes.fill(0x5A);
  MemoryGrid grid(kTableRows, kTableCols);  // every cell empty
  TableToImage(grid, image);
  for (int n = 1; n <= kChannels; ++n) {
    const std::uint8_t* r = &image[RecordOf(n)];
    for (int i = 0; i < 12; ++i) EXPECT_EQ(r[i], 0xFF) << "channel " << n << " byte " << i;
    EXPECT_EQ(r[12], (0x5A & ~0x08) | 0x10) << n;  // busy lock on tone
    EXPECT_EQ(r[13], 0x5A & ~0x30) << n;           // low power, narrow
    EXPECT_EQ(r[14], 0x5A);
    EXPECT_EQ(r[15], 0x5A);
  }
  EXPECT_EQ(image[kScanMaps], 0x00);
  EXPECT_EQ(image[kScanMaps + 1], 0x00);

  // A new document saved at once: bytes 12 and 13 of every record become
  // 0xF7 and 0xCF, everything else stays.
  MemoryImage fresh = MemoryImage::NewDocument();
  MemoryGrid table(kTableRows, kTableCols);
  ImageToTable(fresh, table, false);
  MemoryImage saved = fresh;
  TableToImage(table, saved);
  for (std::size_t i = 0; i < MemoryImage::kSize; ++i) {
    const bool inRecord = i >= 0x010 && i < 0x110;
    const std::size_t at = (i - 0x010) % 16;
    const int expected = inRecord && at == 12 ? 0xF7 : inRecord && at == 13 ? 0xCF : fresh[i];
    EXPECT_EQ(saved[i], expected) << "offset " << i;
  }
}

TEST(ChannelCodecTest, OpenSaveOfAnyImageChangesOnlyWhatTheTableStandsFor) {
  std::mt19937 random(20240611);
  for (int trial = 0; trial < 20; ++trial) {
    MemoryImage original;
    for (auto& b : original.bytes) b = static_cast<std::uint8_t>(random());
    // Some channels with real frequencies so that programmed rows occur too.
    for (int n = 1; n <= kChannels; n += 3) {
      CountToBcd(14000000 + static_cast<std::uint32_t>(random() % 3000000), &original[RecordOf(n)]);
      CountToBcd(40000000 + static_cast<std::uint32_t>(random() % 7000000), &original[RecordOf(n) + 4]);
    }
    for (bool chinese : {false, true}) {
      MemoryGrid grid(kTableRows, kTableCols);
      ImageToTable(original, grid, chinese);
      MemoryImage once = original;
      TableToImage(grid, once);
      for (std::size_t i = 0; i < MemoryImage::kSize; ++i) {
        const bool inRecord = i >= 0x010 && i < 0x110;
        const std::size_t at = (i - 0x010) % 16;
        if (i == kScanMaps || i == kScanMaps + 1 || (inRecord && at < 12)) continue;
        // Kept bits: b12 all but 3-4, b13 all but 4-5; the rest whole.
        const int kept = inRecord && at == 12 ? 0xE7 : inRecord && at == 13 ? 0xCF : 0xFF;
        EXPECT_EQ(once[i] & kept, original[i] & kept) << "trial " << trial << " offset " << i;
      }
      MemoryGrid again(kTableRows, kTableCols);
      ImageToTable(once, again, chinese);
      MemoryImage twice = once;
      TableToImage(again, twice);
      EXPECT_EQ(twice, once) << "trial " << trial << (chinese ? " zh" : " en");
    }
  }
}

TEST(ChannelCodecTest, EditorTextsRoundTripAndLanguagesMix) {
  std::mt19937 random(7);
  const std::vector<std::string> tones = ToneChoiceList(false);
  for (int trial = 0; trial < 10; ++trial) {
    MemoryGrid english(kTableRows, kTableCols);
    MemoryGrid chinese(kTableRows, kTableCols);
    for (long n = 1; n <= kChannels; ++n) {
      if (random() % 4 == 0) continue;  // an empty channel
      const std::string rx = CountToFrequencyText(13600000 + 625 * (random() % 1000));
      const std::string tx = CountToFrequencyText(40000000 + 500 * (random() % 1000));
      const std::string dec = tones[random() % tones.size()];
      const std::string enc = tones[random() % tones.size()];
      const int power = random() % 2, scan = random() % 2, busy = random() % 3, width = random() % 2;
      const Words* words[] = {&WordsFor(false), &WordsFor(true)};
      MemoryGrid* grids[] = {&english, &chinese};
      for (int l = 0; l < 2; ++l) {
        const Words& w = *words[l];
        const std::string busyText[] = {w.off, w.carrier, w.qtDqt};
        const std::vector<std::string> row = {
            rx, tx, dec == "None" && l ? w.noTone : dec, enc == "None" && l ? w.noTone : enc,
            power ? w.high : w.low, scan ? w.yes : w.no, busyText[busy], width ? w.wide : w.narrow};
        for (long c = kColRx; c <= kColWN; ++c)
          grids[l]->SetTextMatrix(n, c, row[static_cast<std::size_t>(c - 1)]);
      }
    }
    MemoryImage fromEnglish = MemoryImage::NewDocument();
    MemoryImage fromChinese = MemoryImage::NewDocument();
    TableToImage(english, fromEnglish);
    TableToImage(chinese, fromChinese);
    EXPECT_EQ(fromEnglish, fromChinese) << "trial " << trial;

    // Back into a table of each language: the same texts again.
    MemoryGrid* grids[] = {&english, &chinese};
    for (int l = 0; l < 2; ++l) {
      MemoryGrid back(kTableRows, kTableCols);
      ImageToTable(fromEnglish, back, l == 1);
      for (long n = 1; n <= kChannels; ++n)
        EXPECT_EQ(RowTexts(back, n), RowTexts(*grids[l], n)) << "trial " << trial << " row " << n;
    }
  }
}

}  // namespace
}  // namespace varo::model16
