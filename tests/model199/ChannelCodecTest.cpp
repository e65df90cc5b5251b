#include "model199/ChannelCodec.h"

#include <gtest/gtest.h>

#include "ini/IniProfile.h"
#include "ini/Registry.h"
#include "model199/ChannelTable.h"
#include "model199/Model199.h"
#include "radio/DatFile.h"
#include "radio/MemoryGrid.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo::model199 {
namespace {

using namespace varo::radio;
using Bytes = std::vector<std::uint8_t>;

// Table row r holds record r - 1: the priority channel is row 1.
std::size_t RecordOf(long row) { return 16 * static_cast<std::size_t>(row - 1); }
std::size_t NameOf(long row) { return 0x0C90 + 8 * static_cast<std::size_t>(row - 1); }

std::vector<std::string> RowTexts(const GridControl& grid, long row) {
  std::vector<std::string> texts;
  for (long c = kColRx; c <= kColName; ++c) texts.push_back(grid.TextMatrix(row, c));
  return texts;
}

TEST(Names199Test, StoredNamesBothWays) {
  struct {
    const char* name;
    Bytes stored;
    const char* readBack;
  } cases[] = {
      // clang-format off
      {"AB-1_",      {0x0A, 0x0B, 0x24, 0x01, 0x26, 0xFF, 0xFF, 0xFF}, "AB-1_"},
      {"",           Bytes(8, 0xFF), ""},
      {"Z9",         {0x23, 0x09, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "Z9"},
      {"ABCDEFGH",   {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11}, "ABCDEFGH"},
      {"ABCDEFGHIJ", {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11}, "ABCDEFGH"},
      {"A?B",        {0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "A"},  // cut there
      {"ab",         Bytes(8, 0xFF), ""},     // lower case has no code
      {"信道",       Bytes(8, 0xFF), ""},
      // clang-format on
  };
  for (const auto& c : cases) {
    Bytes stored(8, 0x5A);
    NameToBytes(c.name, stored.data());
    EXPECT_EQ(stored, c.stored) << c.name;
    EXPECT_EQ(NameFromBytes(stored.data()), c.readBack) << c.name;
  }
  // Reading ends at any byte without a character, code 37 among them.
  const std::pair<Bytes, const char*> stored[] = {
      {{0x0A, 0x25, 0x0B, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "A"},
      {{0x00, 0x01, 0x02, 0x27, 0x03, 0xFF, 0xFF, 0xFF}, "012"},
      {{0x26, 0x24, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "_-000000"},
  };
  for (const auto& [bytes, name] : stored) EXPECT_EQ(NameFromBytes(bytes.data()), name);
}

TEST(ChannelCodec199Test, RecordsDecodeToTheirTexts) {
  MemoryImage image = NewImage();
  const Bytes records[] = {
      // Priority channel: the example record, named.
      {0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0x70, 0x06, 0xFF, 0xFF, 0x20},
      // Receive only (unprogrammed): tones shown where set, no power or lock.
      {0x25, 0x06, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x06, 0xFF, 0xFF, 0x38},
      // Middle power, locked, DCS tones.
      {0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x55, 0x14, 0x23, 0x80, 0x54, 0xC7, 0x18},
      // Power value 3 has no word.
      {0x00, 0x00, 0x55, 0x14, 0x00, 0x00, 0x55, 0x14, 0xFF, 0xFF, 0x00, 0x00, 0xF7},
  };
  const long rows[] = {1, 2, 3, 200};
  for (std::size_t i = 0; i < 4; ++i) std::copy(records[i].begin(), records[i].end(), &image[RecordOf(rows[i])]);
  NameToBytes("PRIO", &image[0x0C90]);
  NameToBytes("RXONLY", &image[NameOf(2)]);
  NameToBytes("END-199", &image[0x12C8]);
  struct { bool chinese; long row; std::vector<std::string> texts; } cases[] = {
      {false, 1, {"446.00625", "446.00625", "67.0", "None", "High", "Unlock", "PRIO"}},
      {false, 2, {"446.00625", "", "67.0", "", "", "", "RXONLY"}},
      {false, 3, {"145.50000", "145.50000", "D023N", "D754I", "Middle", "Lock", ""}},
      {false, 200, {"145.50000", "145.50000", "None", "None", "", "Unlock", "END-199"}},
      {false, 4, {"", "", "", "", "", "", ""}},
      {true, 1, {"446.00625", "446.00625", "67.0", "无", "高", "未锁定", "PRIO"}},
      {true, 3, {"145.50000", "145.50000", "D023N", "D754I", "中", "锁定", ""}},
  };
  MemoryGrid grids[] = {MemoryGrid(kTableRows, kTableCols), MemoryGrid(kTableRows, kTableCols)};
  ImageToTable(image, grids[0], false);
  ImageToTable(image, grids[1], true);
  for (const auto& c : cases) {
    EXPECT_EQ(RowTexts(grids[c.chinese ? 1 : 0], c.row), c.texts) << (c.chinese ? "zh" : "en") << " row " << c.row;
  }

  // Encoding the texts again gives back bytes 0-11 (no tone as FF FF) and
  // bits 5-3 of byte 12: an unprogrammed row stores Low and Unlock, power 3
  // comes back as Low; the other bits of byte 12 stay.
  const std::uint8_t flags[] = {0x20, 0x00, 0x18, 0xC7};
  for (const MemoryGrid& grid : grids) {
    MemoryImage again = image;
    TableToImage(grid, again);
    for (std::size_t i = 0; i < 4; ++i) {
      Bytes expected(records[i].begin(), records[i].begin() + 12);
      if (i == 3) expected[10] = expected[11] = 0xFF;
      const std::uint8_t* r = &again[RecordOf(rows[i])];
      EXPECT_EQ(Bytes(r, r + 12), expected) << rows[i];
      EXPECT_EQ(r[12], flags[i]) << rows[i];
    }
    EXPECT_EQ(Bytes(&again[0x0C90], &again[0x12D0]), Bytes(&image[0x0C90], &image[0x12D0]));
  }
}

// A new document whose table is filled once (taking type and band from the
// registry) and saved at once: 0xFF everywhere but the settings defaults, the
// registry's indexes and 0xC7 in byte 12 of every record.
TEST(ChannelCodec199Test, NewDocumentSavedAtOnceAndTheRegistryDirection) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.File("config"));
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("Varo199V3.ini",
                                 "[Setup]\nAppName=V199\nType1=A\nField1=136 - 174MHz\nType2=B\n"
                                 "Field2=400 - 470MHz|450 - 470MHz\n[English]\nAppName=Varo199V3\n"),
                       false, true, false));
  Registry registry("Software\\V199");
  ASSERT_TRUE(registry.SetDword("Type", 1));
  ASSERT_TRUE(registry.SetDword("Field", 1));

  const RadioModel& model = Model199();
  MemoryImage image = model.newImage();
  MemoryGrid grid(kTableRows, kTableCols);
  SetUpChannelTable(grid, *model.table, false);
  std::string title;
  const BandLimits limits = FillTableFromImage(model, image, grid, ini, "English", false, true,
                                               [&](const std::string& t) { title = t; });
  EXPECT_EQ(limits, (BandLimits{45000000, 47000000}));
  EXPECT_EQ(title, "Varo199V3  [ Type:B  Fre:450 - 470MHz ]");
  model.tableToImage(grid, image);
  ASSERT_EQ(SaveDatFile(dir.File("new.dat"), image.data(), image.size()), DatFileError::kNone);

  std::string expected(8192, '\xFF');
  for (long row = 1; row <= 200; ++row) expected[RecordOf(row) + 12] = '\xC7';
  const std::pair<std::size_t, char> settings[] = {
      {0x1FC1, 1}, {0x1FC3, 1}, {0x1FD6, 1},  {0x1FD7, 1},   {0x1FE0, 4},         {0x1FE1, '\xD4'},
      {0x1FE2, 0x21}, {0x1FE4, 0}, {0x1FE5, 1}, {0x1FE6, 2}, {0x1FE7, 0}};
  for (const auto& [offset, value] : settings) expected[offset] = value;
  EXPECT_EQ(dir.Read("new.dat"), expected);

  // An opened document goes the other way: its indexes become the registry's.
  image[0x1FD6] = 0;
  image[0x1FD7] = 2;
  FillTableFromImage(model, image, grid, ini, "English", false, false, nullptr);
  EXPECT_EQ(registry.QueryDword("Type"), 0u);
  EXPECT_EQ(registry.QueryDword("Field"), 2u);
  EXPECT_EQ(image[0x1FD7], 2);
}

}  // namespace
}  // namespace varo::model199
