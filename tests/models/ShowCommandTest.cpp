// varo-cli show on each radio's documents: the table as tab-separated text
// or lined up with the product and options, file sizes and bad arguments.
#include "radio/ShowCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ini/Registry.h"
#include "model16/MemoryImage.h"
#include "model199/ChannelCodec.h"
#include "model199/MemoryImage.h"
#include "models/Models.h"
#include "radio/Frequency.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

// A 16-channel document: channel 1 programmed by hand; channel 16 receives
// only but is in the scan list; product type 2, band 2.
MemoryImage Image16() {
  MemoryImage image = model16::NewImage();
  const std::uint8_t ch1[14] = {0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0x9E, 0x02, 0x13, 0x28, 0x08, 0x30};
  std::copy(ch1, ch1 + 14, &image[0x010]);
  CountToBcd(14550000, &image[0x100]);
  image[0x17E] = 0x01;
  image[0x17F] = 0x80;
  image[0x3D2] = 1;
  image[0x3D3] = 1;
  return image;
}

// A 199-channel document: the priority channel programmed and named; channel
// 7 locked at middle power with DCS tones; channel 199 a name on an
// unprogrammed record; product type 2, band 2.
MemoryImage Image199() {
  MemoryImage image = model199::NewImage();
  const std::uint8_t pr[13] = {0x25, 0x06, 0x60, 0x44, 0x25, 0x06, 0x60, 0x44, 0x70, 0x06, 0xFF, 0xFF, 0x20};
  std::copy(pr, pr + 13, &image[0x0000]);
  const std::uint8_t ch7[13] = {0, 0, 0x55, 0x14, 0, 0, 0x55, 0x14, 0x23, 0x80, 0x54, 0xC7, 0x18};
  std::copy(ch7, ch7 + 13, &image[16 * 7]);
  model199::NameToBytes("HOME", &image[0x0C90]);
  model199::NameToBytes("SPARE", &image[0x12C8]);
  image[0x1FD6] = 1;
  image[0x1FD7] = 1;
  return image;
}

std::string Text(const MemoryImage& image) { return std::string(image.bytes.begin(), image.bytes.end()); }

class ShowCommandTest : public ::testing::Test {
 protected:
  int Show(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunShow(args, models::All(), out_, err_);
  }

  test::TempDir dir_;
  test::ScopedConfigHome home_{dir_.File("config")};
  std::string ini_ = dir_.Write("Program.ini",
                                "[Setup]\nLanguage=English\nAppName=VaroShow\nType1=ZQ-600\nField1=130 - 160MHz\n"
                                "Type2=V16\nField2=136 - 174MHz|400 - 470MHz\n[English]\nAppName=Varo16 Programmer\n");
  std::string dat_ = dir_.Write("radio.dat", Text(Image16()));
  std::string ini199_ = dir_.Write("Program199.ini",
                                   "[Setup]\nLanguage=English\nAppName=VaroShow199\nType1=V199-V\nField1=136 - 174MHz\n"
                                   "Type2=V199-U\nField2=400 - 470MHz|430 - 440MHz\n[English]\nAppName=Varo199V3\n");
  std::string dat199_ = dir_.Write("radio199.dat", Text(Image199()));
  std::ostringstream out_, err_;
};

TEST_F(ShowCommandTest, TsvPrintsTheTableAndNothingElse) {
  ASSERT_EQ(Show({"--tsv", "--ini", ini_, dat_}), 0) << err_.str();
  std::string expected =
      "CH\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tPower\tScan Add\tBusy Lock\tW/N\n"
      " 1\t446.00625\t446.00625\t67.0\tD023N\tHigh\tYes\tCarrier\tWide\n";
  for (int n = 2; n <= 15; ++n) expected += (n < 10 ? " " : "") + std::to_string(n) + "\t\t\t\t\t\t\t\t\n";
  expected += "16\t145.50000\t\t\t\t\tYes\t\t\n";
  EXPECT_EQ(out_.str(), expected);
  EXPECT_EQ(err_.str(), "");
  // Opening the file made its product choice the stored one.
  const Registry registry("Software\\VaroShow");
  EXPECT_EQ(registry.QueryDword("Type"), 1u);
  EXPECT_EQ(registry.QueryDword("Field"), 1u);

  ASSERT_EQ(Show({"--lang", "zh", "--ini", ini_, "--tsv", dat_}), 0);
  const std::string zh = "信道\t接收频率\t发射频率\tQT/DQT解码\tQT/DQT编码\t功率\t扫描添加\t繁忙锁定\t宽/窄\n"
                         " 1\t446.00625\t446.00625\t67.0\tD023N\t高\t有\t载波\t宽\n";
  EXPECT_EQ(out_.str().substr(0, zh.size()), zh);
}

TEST_F(ShowCommandTest, PlainOutputAddsTheProductAndTheOptions) {
  ASSERT_EQ(Show({"--ini", ini_, dat_}), 0) << err_.str();
  const std::string text = out_.str();
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "CH  Rx Frequency  Tx Frequency  QT/DQT Dec  QT/DQT Enc  Power  Scan Add  Busy Lock  W/N");
  EXPECT_NE(text.find("\n 1  446.00625     446.00625     67.0        D023N       High   Yes       Carrier    Wide\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("\nType: V16\nBand: 400 - 470MHz\nBand limits: 400.00000 - 470.00000 MHz\n"
                      "\nOption\nFunction\n  Time Out Timer:      60s\n"),
            std::string::npos) << text;
}

TEST_F(ShowCommandTest, BadFilesAndWordsFailCleanly) {
  dir_.Write("short.dat", std::string(1023, '\xFF'));
  struct { std::vector<std::string> args; int status; const char* message; } cases[] = {
      {{"--ini", ini_, dir_.File("short.dat")}, 1, "too short"},
      {{"--ini", ini_, dir_.File("missing.dat")}, 1, "Cannot open"},
      {{"--ini", ini_}, 2, "no FILE.dat"},
      {{"--lang", "fr", dat_}, 2, "--lang takes en or zh"},
      {{"--colour", dat_}, 2, "unknown option"},
      {{dat_, dat_}, 2, "only one"},
      {{dat_, "--ini"}, 2, "needs a value"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(c.args), c.status) << c.message;
    EXPECT_EQ(out_.str(), "") << c.message;
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
  }
  EXPECT_FALSE(Registry("Software\\VaroShow").QueryDword("Type").has_value())
      << "a file that failed to open must not touch the stored choice";

  // Without a program INI the table still shows; no registry key is named.
  EXPECT_EQ(Show({"--tsv", "--ini", dir_.File("none.ini"), dat_}), 0);
  EXPECT_NE(out_.str().find("\n 1\t446.00625\t"), std::string::npos);
  EXPECT_NE(err_.str().find("cannot read the program INI"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("none.ini")));
  EXPECT_FALSE(Registry("Software\\").QueryDword("Type").has_value());
}

// The 199-channel table as text: header, then the 200 rows: `rows` gives the texts of the rows that have
// any, every other row is its label and seven empty cells.
std::string Table199(const std::string& header, const std::vector<std::pair<long, std::string>>& rows) {
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

TEST_F(ShowCommandTest, TsvOf199ChannelsInBothLanguages) {
  ASSERT_EQ(Show({"--tsv", "--ini", ini199_, dat199_}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            Table199("CH\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tPower\tCha Lock\tCha Name",
                  {{1, "Pr\t446.00625\t446.00625\t67.0\tNone\tHigh\tUnlock\tHOME"},
                   {8, "  7\t145.50000\t145.50000\tD023N\tD754I\tMiddle\tLock\t"},
                   {200, "199\t\t\t\t\t\t\tSPARE"}}));
  EXPECT_EQ(err_.str(), "");
  // Opening the file made its product choice the stored one.
  const Registry registry("Software\\VaroShow199");
  EXPECT_EQ(registry.QueryDword("Type"), 1u);
  EXPECT_EQ(registry.QueryDword("Field"), 1u);

  ASSERT_EQ(Show({"--lang", "zh", "--ini", ini199_, "--tsv", dat199_}), 0);
  EXPECT_EQ(out_.str(),
            Table199("信道\t接收频率\t发射频率\tQT/DQT解码\tQT/DQT编码\t功率\t信道锁定\t信道名字",
                  {{1, "Pr\t446.00625\t446.00625\t67.0\t无\t高\t未锁定\tHOME"},
                   {8, "  7\t145.50000\t145.50000\tD023N\tD754I\t中\t锁定\t"},
                   {200, "199\t\t\t\t\t\t\tSPARE"}}));
}

// The file's size names the radio; a size between the radios' is a cut
// 199-channel file, one beyond is read as far as the radio's memory goes.
TEST_F(ShowCommandTest, FileSizesOf199Channels) {
  const std::string bytes = Text(Image199());
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
    EXPECT_EQ(Show({"--tsv", "--ini", ini199_, c.file}), c.status) << c.file;
    EXPECT_NE((c.status ? err_ : out_).str().find(c.found), std::string::npos) << out_.str() << err_.str();
  }
}

}  // namespace
}  // namespace varo::radio
