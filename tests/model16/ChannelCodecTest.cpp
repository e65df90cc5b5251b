#include "model16/ChannelCodec.h"

#include <gtest/gtest.h>

#include <random>

#include "model16/ChannelTable.h"
#include "model16/ToneCodes.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

constexpr std::size_t kScanMaps = 0x17E;

std::size_t RecordOf(long channel) { return 0x010 + 16 * static_cast<std::size_t>(channel - 1); }

void PutRecord(MemoryImage& image, long channel, std::vector<std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), &image[RecordOf(channel)]);
}

std::vector<std::string> RowTexts(const GridControl& grid, long row) {
  std::vector<std::string> texts;
  for (long c = kColRx; c <= kColWN; ++c) texts.push_back(grid.TextMatrix(row, c));
  return texts;
}

TEST(ChannelCodecTest, RecordsDecodeToTheirWords) {
  const MemoryImage allFF(kImageSize, 0xFF);
  for (const MemoryImage& blank : {NewImage(), allFF}) {
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(blank, grid, false);
    const std::string scan = blank[kScanMaps] ? "Yes" : "";
    for (long n = 1; n <= kChannels; ++n)
      EXPECT_EQ(RowTexts(grid, n), (std::vector<std::string>{"", "", "", "", "", scan, "", ""})) << n;
  }

  MemoryImage image = NewImage();
  // Receive only (unprogrammed) with a decode tone; in the scan list.
  PutRecord(image, 1, {0x25, 0x06, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0x9E, 0x02});
  // Carrier lock, high power, wide, no tones.
  PutRecord(image, 2, {0x25, 0x06, 0x60, 0x44, 0x00, 0x00, 0x55, 0x14, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0x30});
  // Both busy bits, low power, narrow, DQT tones; in the scan list.
  PutRecord(image, 10, {0, 0, 0x55, 0x14, 0, 0, 0x55, 0x14, 0x13, 0x28, 0xEC, 0xA9, 0xD8, 0xCF});
  image[kScanMaps] = 0x01;
  image[kScanMaps + 1] = 0x02;
  struct { bool chinese; long row; std::vector<std::string> texts; } cases[] = {
      {false, 1, {"446.00625", "", "67.0", "", "", "Yes", "", ""}},
      {false, 2, {"446.00625", "145.50000", "None", "None", "High", "No", "Carrier", "Wide"}},
      {false, 10, {"145.50000", "145.50000", "D023N", "D754I", "Low", "Yes", "QT/DQT", "Narrow"}},
      {true, 2, {"446.00625", "145.50000", "无", "无", "高", "无", "载波", "宽"}},
      {true, 10, {"145.50000", "145.50000", "D023N", "D754I", "低", "有", "QT/DQT", "窄"}},
  };
  for (const auto& c : cases) {
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(image, grid, c.chinese);
    EXPECT_EQ(RowTexts(grid, c.row), c.texts) << (c.chinese ? "zh" : "en") << " row " << c.row;
  }
}

TEST(ChannelCodecTest, EmptyRowsStoreUnprogrammedChannels) {
  // Any background: empty cells give 0xFF in b0-b11, busy lock on tone, low
  // power, narrow, no scan bit; the other bits stay (a new document's 0xFF
  // in b12/b13 becomes 0xF7/0xCF).
  struct { std::uint8_t background, b12, b13; } cases[] = {{0x5A, 0x52, 0x4A}, {0xA5, 0xB5, 0x85}};
  for (const auto& c : cases) {
    MemoryImage image(kImageSize, c.background);
    TableToImage(MemoryGrid(kTableRows, kTableCols), image);
    for (std::size_t i = 0; i < kImageSize; ++i) {
      const std::size_t at = (i - 0x010) % 16;
      const bool inRecord = i >= 0x010 && i < 0x110;
      const int expected = i == kScanMaps || i == kScanMaps + 1 ? 0x00
                           : inRecord && at < 12                 ? 0xFF
                           : inRecord && at == 12                ? c.b12
                           : inRecord && at == 13                ? c.b13
                                                                 : c.background;
      ASSERT_EQ(image[i], expected) << "offset " << i;
    }
  }
}

TEST(ChannelCodecTest, EditorTextsRoundTripAndLanguagesMix) {
  std::mt19937 random(7);
  const std::vector<std::string> tones[] = {ToneChoiceList(false), ToneChoiceList(true)};
  for (int trial = 0; trial < 10; ++trial) {
    MemoryGrid grids[] = {MemoryGrid(kTableRows, kTableCols), MemoryGrid(kTableRows, kTableCols)};
    for (long n = 1; n <= kChannels; ++n) {
      if (random() % 4 == 0) continue;  // an empty channel
      const std::string rx = FrequencyText(static_cast<std::int64_t>(13600000 + 625 * (random() % 1000)));
      const std::string tx = FrequencyText(static_cast<std::int64_t>(40000000 + 500 * (random() % 1000)));
      const std::size_t dec = random() % 265, enc = random() % 265;
      const bool power = random() % 2, scan = random() % 2, wide = random() % 2;
      const std::size_t busy = random() % 3;
      for (int l = 0; l < 2; ++l) {
        const Words& w = WordsFor(l == 1);
        const std::string busyText[] = {w.off, w.carrier, w.qtDqt};
        const std::vector<std::string> row = {rx, tx, tones[l][dec], tones[l][enc], power ? w.high : w.low,
                                              scan ? w.yes : w.no, busyText[busy], wide ? w.wide : w.narrow};
        for (long c = kColRx; c <= kColWN; ++c) grids[l].SetTextMatrix(n, c, row[static_cast<std::size_t>(c - 1)]);
      }
    }
    // Either language's table stores the same image, and that image reads
    // back as either table.
    MemoryImage images[] = {NewImage(), NewImage()};
    TableToImage(grids[0], images[0]);
    TableToImage(grids[1], images[1]);
    EXPECT_EQ(images[0], images[1]) << "trial " << trial;
    for (int l = 0; l < 2; ++l) {
      MemoryGrid back(kTableRows, kTableCols);
      ImageToTable(images[0], back, l == 1);
      for (long n = 1; n <= kChannels; ++n)
        EXPECT_EQ(RowTexts(back, n), RowTexts(grids[l], n)) << "trial " << trial << " row " << n;
    }
  }
}

}  // namespace
}  // namespace varo::model16
