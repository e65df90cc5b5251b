#include "model16/ChannelCodec.h"

#include <gtest/gtest.h>

#include "model16/ChannelTable.h"
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

// A new document's memory written out byte for byte: 0xFF but for these
// bytes; saved at once, every channel record's bytes 12 and 13 become 0xF7
// and 0xCF (an empty row: busy lock on tone, low power, narrow).
TEST(ChannelCodecTest, NewDocumentImageByteForByte) {
  const std::pair<std::size_t, std::vector<std::uint8_t>> set[] = {
      {0x000, {0x00, 0x00, 0x00}},                                   // header
      {0x008, {0x00, 0x03, 0x01, 0x00, 0x02, 0x00, 0x24, 0x11}},     // header
      {0x12F, {0x01, 0x04, 0x09}},                                   // voice, TOT, pre-alert
      {0x134, {0x04, 0x01, 0x01}},                                   // squelch, saver, beep
      {0x13A, {0x05, 0x02}},                                         // vox gain and delay
      {0x160, {0x00, 0x11, 0x09, 0x15}},                             // priority, its channel, look back
      {0x165, {0x30, 0x00, 0x30, 0x00}},                             // dropout, dwell
      {0x17E, {0x00, 0x00}},                                         // scan maps
      {0x1B8, {'K', '7', '1', '6', '0', '5', 0xF0, 0x01}},           // identification
      {0x3F0, {0x00}},                                               // call tone
  };
  MemoryImage expected(kImageSize, 0xFF);
  for (const auto& [offset, bytes] : set) std::copy(bytes.begin(), bytes.end(), &expected[offset]);
  const MemoryImage image = NewImage();
  for (std::size_t i = 0; i < kImageSize; ++i) ASSERT_EQ(image[i], expected[i]) << "offset " << i;

  MemoryImage saved = image;
  TableToImage(MemoryGrid(kTableRows, kTableCols), saved);
  for (long n = 1; n <= kChannels; ++n) {
    expected[RecordOf(n) + 12] = 0xF7;
    expected[RecordOf(n) + 13] = 0xCF;
  }
  for (std::size_t i = 0; i < kImageSize; ++i) ASSERT_EQ(saved[i], expected[i]) << "offset " << i;
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

// The top digit pair runs past 99 (its tens in the high nibble) from
// 1000 MHz up: opening and saving such a file changes none of its bytes.
// Beyond what four bytes can store (1600 MHz) the bytes are kept as read;
// nibbles above 9 below the top pair are rewritten, the value stays.
TEST(ChannelCodecTest, OpenSaveKeepsFrequenciesFrom1000MHzUp) {
  struct { std::vector<std::uint8_t> rx, tx; std::vector<std::string> texts; bool sameBytes; } cases[] = {
      {{0x00, 0x00, 0x00, 0xC4}, {0x50, 0x12, 0x60, 0xC9}, {"1240.00000", "1296.01250"}, true},
      {{0x99, 0x99, 0x99, 0xF9}, {0x00, 0x00, 0x00, 0xA0}, {"1599.99999", "1000.00000"}, true},
      {{0x00, 0x00, 0x00, 0xFE}, {0x05, 0x00, 0x00, 0xFA}, {"1640.00000", "1600.00005"}, true},
      {{0xFF, 0x00, 0x00, 0x4A}, {0x00, 0x00, 0x00, 0xAF}, {"500.00165", "1150.00000"}, false},
  };
  MemoryImage baseline = NewImage();
  {
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(baseline, grid, false);
    TableToImage(grid, baseline);  // what a save makes of the other rows
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.texts[0]);
    MemoryImage original = baseline;
    std::vector<std::uint8_t> record = c.rx;
    record.insert(record.end(), c.tx.begin(), c.tx.end());
    record.insert(record.end(), {0x9E, 0x02, 0x13, 0x28, 0xE7, 0xFF});  // tones, Off, High, Wide
    PutRecord(original, 3, record);
    MemoryImage saved = original;
    MemoryGrid grid(kTableRows, kTableCols);
    ImageToTable(saved, grid, false);
    EXPECT_EQ(RowTexts(grid, 3), (std::vector<std::string>{c.texts[0], c.texts[1], "67.0", "D023N", "High",
                                                            "No", "Off", "Wide"}));
    TableToImage(grid, saved);
    if (c.sameBytes) {
      EXPECT_EQ(saved, original);
    }
    MemoryGrid reopened(kTableRows, kTableCols);
    ImageToTable(saved, reopened, false);
    EXPECT_EQ(RowTexts(reopened, 3), RowTexts(grid, 3));
  }
}

}  // namespace
}  // namespace varo::model16
