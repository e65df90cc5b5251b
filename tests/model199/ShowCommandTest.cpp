#include "radio/ShowCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ini/Registry.h"
#include "model199/ChannelCodec.h"
#include "model199/MemoryImage.h"
#include "models/Models.h"
#include "radio/Frequency.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo::model199 {
namespace {

using namespace varo::radio;

class ShowCommand199Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = dir_.Write("Program.ini",
                      "[Setup]\nLanguage=English\nAppName=VaroShow199\nType1=V199-V\nField1=136 - 174MHz\n"
                      "Type2=V199-U\nField2=400 - 470MHz|430 - 440MHz\n[English]\nAppName=Varo199V3\n");
    // The priority channel programmed and named; channel 7 locked at middle
    // power with DCS tones; channel 199 a name on an unprogrammed record.
    image_ = NewImage();
    const std::uint8_t pr[13] = {0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0x70, 0x06, 0xFF, 0xFF, 0x20};
    std::copy(pr, pr + 13, &image_[0x0000]);
    const std::uint8_t ch7[13] = {0, 0, 0x55, 0x14, 0, 0, 0x55, 0x14, 0x23, 0x80, 0x54, 0xC7, 0x18};
    std::copy(ch7, ch7 + 13, &image_[16 * 7]);
    NameToBytes("HOME", &image_[0x0C90]);
    NameToBytes("SPARE", &image_[0x12C8]);
    image_[0x1FD6] = 1;
    image_[0x1FD7] = 1;
    dat_ = dir_.Write("radio.dat", std::string(image_.bytes.begin(), image_.bytes.end()));
  }

  int Show(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunShow(args, models::All(), out_, err_);
  }

  // Header, then the 200 rows: `rows` gives the texts of the rows that have
  // any, every other row is its label and seven empty cells.
  static std::string Table(const std::string& header, const std::vector<std::pair<long, std::string>>& rows) {
    std::string text = header + "\n";
    for (long row = 1; row <= 200; ++row) {
      char label[8];
      std::snprintf(label, sizeof label, "%3ld", row - 1);
      std::string line = (row == 1 ? std::string("Pr") : std::string(label)) + "\t\t\t\t\t\t\t";
      for (const auto& [r, texts] : rows)
        if (r == row) line = texts;
      text += line + "\n";
    }
    return text;
  }

  test::TempDir dir_;
  test::ScopedConfigHome home_{dir_.File("config")};
  MemoryImage image_;
  std::string ini_, dat_;
  std::ostringstream out_, err_;
};

TEST_F(ShowCommand199Test, TsvInBothLanguagesHasTheTableColumns) {
  ASSERT_EQ(Show({"--tsv", "--ini", ini_, dat_}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            Table("CH\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tPower\tCha Lock\tCha Name",
                  {{1, "Pr\t446.00625\t446.00625\t67.0\tNone\tHigh\tUnlock\tHOME"},
                   {8, "  7\t145.50000\t145.50000\tD023N\tD754I\tMiddle\tLock\t"},
                   {200, "199\t\t\t\t\t\t\tSPARE"}}));
  EXPECT_EQ(err_.str(), "");
  // Opening the file made its product choice the stored one.
  const Registry registry("Software\\VaroShow199");
  EXPECT_EQ(registry.QueryDword("Type"), 1u);
  EXPECT_EQ(registry.QueryDword("Field"), 1u);

  ASSERT_EQ(Show({"--lang", "zh", "--ini", ini_, "--tsv", dat_}), 0);
  EXPECT_EQ(out_.str(),
            Table("信道\t接收频率\t发射频率\tQT/DQT解码\tQT/DQT编码\t功率\t信道锁定\t信道名字",
                  {{1, "Pr\t446.00625\t446.00625\t67.0\t无\t高\t未锁定\tHOME"},
                   {8, "  7\t145.50000\t145.50000\tD023N\tD754I\t中\t锁定\t"},
                   {200, "199\t\t\t\t\t\t\tSPARE"}}));
}

// The file's size names the radio; a size between the radios' is a cut
// 199-channel file, one beyond is read as far as the radio's memory goes.
TEST_F(ShowCommand199Test, FileSizes) {
  const std::string bytes(image_.bytes.begin(), image_.bytes.end());
  struct {
    std::string file;
    int status;
    const char* found;
  } cases[] = {
      {dir_.Write("cut.dat", bytes.substr(0, 5000)), 1, "too short"},
      {dir_.Write("long.dat", bytes + std::string(808, '\x00')), 0, "Pr\t446.00625\t"},
      {dir_.Write("sixteen.dat", std::string(1024, '\xFF')), 0, "CH\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tPower\tScan Add"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show({"--tsv", "--ini", ini_, c.file}), c.status) << c.file;
    EXPECT_NE((c.status ? err_ : out_).str().find(c.found), std::string::npos) << out_.str() << err_.str();
  }
}

}  // namespace
}  // namespace varo::model199
