#include "radio/ProductBand.h"

#include <gtest/gtest.h>

#include <climits>

#include "ini/IniProfile.h"
#include "ini/Registry.h"
#include "model16/MemoryImage.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

// The 16-channel radio's memory and index bytes stand for any radio's.
using model16::NewImage;
constexpr ProductOffsets kOffsets{0x3D2, 0x3D3};

const char kIni[] =
    "[Setup]\nAppName=VaroTest\n"
    "Type1=ZQ-600\nField1=130 - 160MHz\n"
    "Type2=V16\nField2=136 - 174MHz|400 - 470MHz\n"
    "Type3=Mono\nField3=450MHz\n"
    "[English]\nAppName=Varo16 Programmer\n"
    "[Chinese]\nAppName=Varo16 写频软件\n";

class ProductBandTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ini_.Open(dir_.Write("Varo16.ini", kIni), false, true, false)); }

  Registry Store() const { return Registry("Software\\VaroTest"); }
  std::pair<std::uint32_t, std::uint32_t> Stored() const {
    return {Store().QueryDword("Type").value_or(12345), Store().QueryDword("Field").value_or(12345)};
  }
  static MemoryImage WithChoice(int type, int band) {
    MemoryImage image = NewImage();
    image[kOffsets.type] = static_cast<std::uint8_t>(type);
    image[kOffsets.band] = static_cast<std::uint8_t>(band);
    return image;
  }

  test::TempDir dir_;
  test::ScopedConfigHome home_{dir_.File("config")};
  IniProfile ini_;
};

TEST(BandTextTest, LimitsFromBandTexts) {
  struct { const char* text; std::int32_t lower, upper; } cases[] = {
      {"130 - 160MHz", 13000000, 16000000}, {"400-470MHz", 40000000, 47000000},
      {"450MHz", 45000000, 45000000},          // no '-': both edges from the start
      {"136.5 - 174MHz", 13600000, 17400000},  // whole MHz only
      {"", 0, 0},                              {"UHF", 0, 0},
      {"99999 - 1", INT_MAX, 100000},          // beyond 32 bits: clamped
  };
  for (const auto& c : cases) EXPECT_EQ(BandLimitsFromText(c.text), (BandLimits{c.lower, c.upper})) << c.text;
  EXPECT_EQ(SplitBandList("a||b|"), (std::vector<std::string>{"a", "", "b", ""}));
}

// The type list ends at the first missing or empty "Type%d", and at 19.
TEST(TypeListTest, EndsAtTheFirstGapAndAtNineteen) {
  auto numbered = [](int from, int to) {
    std::string keys;
    for (int n = from; n <= to; ++n) keys += "Type" + std::to_string(n) + "=T" + std::to_string(n) + "\n";
    return keys;
  };
  struct { std::string keys; std::size_t count; } cases[] = {
      {numbered(1, 3) + numbered(5, 6), 3},       // Type4 missing
      {numbered(1, 2) + "Type3=\n" + numbered(4, 5), 2},  // Type3 empty
      {numbered(2, 5), 0},                        // no Type1
      {numbered(1, 25), 19},
      {numbered(1, 19), 19},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    IniProfile ini;
    ASSERT_TRUE(ini.Open(dir.Write("t.ini", "[Setup]\n" + c.keys), false, true, false));
    const std::vector<std::string> types = ReadTypeList(ini);
    ASSERT_EQ(types.size(), c.count) << c.keys;
    for (std::size_t i = 0; i < types.size(); ++i) EXPECT_EQ(types[i], "T" + std::to_string(i + 1));
  }
}

TEST_F(ProductBandTest, BandStepOfAnOpenedFileStoresItsChoice) {
  struct { int type, band; bool chinese; const char* title; std::int32_t lower, upper; } cases[] = {
      {0, 0, false, "Varo16 Programmer  [ Type:ZQ-600  Fre:130 - 160MHz ]", 13000000, 16000000},
      {1, 1, false, "Varo16 Programmer  [ Type:V16  Fre:400 - 470MHz ]", 40000000, 47000000},
      {1, 5, false, "Varo16 Programmer  [ Type:V16  Fre:400 - 470MHz ]", 40000000, 47000000},
      {0xFF, 0xFF, false, "Varo16 Programmer  [ Type:  Fre: ]", 0, 0},  // no such type
      {0, 0, true, "Varo16 写频软件  [ 类型:ZQ-600  频率:130 - 160MHz ]", 13000000, 16000000},
  };
  for (const auto& c : cases) {
    MemoryImage image = WithChoice(c.type, c.band);
    std::string title = "unset";
    const BandLimits limits = RunBandSelectionStep(image, kOffsets, ini_, c.chinese ? "Chinese" : "English", c.chinese,
                                                   false, [&](const std::string& t) { title = t; });
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(limits, (BandLimits{c.lower, c.upper})) << c.title;
    EXPECT_EQ(Stored(), std::make_pair(std::uint32_t(c.type), std::uint32_t(c.band))) << c.title;
    EXPECT_EQ(image, WithChoice(c.type, c.band)) << "an opened file's image must not change";
  }
}

TEST_F(ProductBandTest, NewDocumentTakesTheRegistryChoice) {
  MemoryImage image = NewImage();  // nothing stored yet: 0, 0
  EXPECT_EQ(RunBandSelectionStep(image, kOffsets, ini_, "English", false, true, nullptr), (BandLimits{13000000, 16000000}));
  EXPECT_EQ(image, WithChoice(0, 0));
  EXPECT_FALSE(Store().QueryDword("Type").has_value()) << "a new document must not write the registry";

  MemoryImage opened = WithChoice(1, 1);
  RunBandSelectionStep(opened, kOffsets, ini_, "English", false, false, nullptr);
  MemoryImage fresh = NewImage();
  EXPECT_EQ(RunBandSelectionStep(fresh, kOffsets, ini_, "English", false, true, nullptr), (BandLimits{40000000, 47000000}));
  EXPECT_EQ(fresh, opened);
}

TEST_F(ProductBandTest, DialogRulesSelectChangeAndConfirm) {
  Store().SetDword("Type", 1);
  Store().SetDword("Field", 1);
  ProductInfoRules rules(ini_, "English", false, kOffsets);
  MemoryImage image = WithChoice(0, 0);
  rules.Open(image);
  EXPECT_EQ(rules.Types(), (std::vector<std::string>{"ZQ-600", "V16", "Mono"}));
  EXPECT_EQ(rules.TypeSelection(), 1) << "the registry's choice wins over the image's";
  EXPECT_EQ(rules.Bands(), (std::vector<std::string>{"136 - 174MHz", "400 - 470MHz"}));
  EXPECT_EQ(rules.BandSelection(), 1);

  rules.SelectType(2);
  EXPECT_EQ(rules.Bands(), (std::vector<std::string>{"450MHz"}));
  EXPECT_EQ(rules.BandSelection(), 0);
  const ProductInfoRules::Result result = rules.Ok(image);
  EXPECT_EQ(result.title, "Varo16 Programmer  [ Type:Mono  Fre:450MHz ]");
  EXPECT_EQ(result.limits, (BandLimits{45000000, 45000000}));
  EXPECT_EQ(image, WithChoice(2, 0));
  EXPECT_EQ(Stored(), std::make_pair(2u, 0u));

  // A stored band past the list: no selection; OK stores 0xFF and -1.
  Store().SetDword("Field", 5);
  ProductInfoRules chinese(ini_, "Chinese", true, kOffsets);
  chinese.Open(image);
  EXPECT_EQ(chinese.TypeSelection(), 2);
  EXPECT_EQ(chinese.BandSelection(), -1);
  const ProductInfoRules::Result none = chinese.Ok(image);
  EXPECT_EQ(none.title, "Varo16 写频软件  [ 类型:Mono  频率: ]");
  EXPECT_EQ(none.limits, (BandLimits{0, 0}));
  EXPECT_EQ(image, WithChoice(2, 0xFF));
  EXPECT_EQ(Stored(), std::make_pair(2u, 0xFFFFFFFFu));
}

TEST_F(ProductBandTest, NoTypesConfigured) {
  IniProfile empty;
  ASSERT_TRUE(empty.Open(dir_.Write("Empty.ini", "[Setup]\nAppName=VaroTest\n"), false, true, false));
  MemoryImage image = NewImage();
  std::string title;
  EXPECT_EQ(RunBandSelectionStep(image, kOffsets, empty, "English", false, true, [&](const std::string& t) { title = t; }),
            (BandLimits{0, 0}));
  EXPECT_EQ(title, "  [ Type:  Fre: ]");

  ProductInfoRules rules(empty, "English", false, kOffsets);
  rules.Open(image);
  EXPECT_TRUE(rules.Types().empty());
  EXPECT_EQ(rules.TypeSelection(), -1);
  EXPECT_EQ(rules.Ok(image).limits, (BandLimits{0, 0}));
  EXPECT_EQ(image[kOffsets.type], 0xFF);
  EXPECT_EQ(Stored().first, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace varo::radio
