// varo-cli export, import and diff, as the suite folder's program runs them.
#include <gtest/gtest.h>

#include <string>

#include "model16/Layout.h"
#include "model16/Model16.h"
#include "model199/Model199.h"
#include "radio/MemoryGrid.h"
#include "radio/TableSheet.h"
#include "support/SuiteRun.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

// A folder with documents of both radios: a.dat (four channels), b.dat
// (a.dat with channel 3's power and the squelch level changed), c.dat of the
// 199-channel radio, and a program INI whose first band is 136-174 MHz.
class SheetCommandTest : public ::testing::Test {
 protected:
  SheetCommandTest() {
    MemoryImage a = Document(model16::Model16(), Power::kHigh);
    dir.Write("a.dat", Bytes(a));
    MemoryImage b = Document(model16::Model16(), Power::kLow);
    b[model16::kSquelchLevel] = static_cast<std::uint8_t>((b[model16::kSquelchLevel] & 0xF0) | 7);
    dir.Write("b.dat", Bytes(b));
    dir.Write("c.dat", Bytes(Document(model199::Model199(), Power::kHigh)));
    dir.Write("band.ini", "[Setup]\nType1=V\nField1=136 - 174MHz\n");
  }

  enum class Power { kHigh, kLow };
  static MemoryImage Document(const RadioModel& model, Power power) {
    MemoryImage image = model.newImage();
    image[model.product.type] = 0;
    image[model.product.band] = 0;
    MemoryGrid grid(model.table->Rows(), model.table->Cols());
    model.imageToTable(image, grid, false);
    const Sheet sheet{grid, *model.table, {13600000, 17400000}, false};
    PasteCells(sheet, 1, 1, {{"145.0125"}, {"146.0"}, {"147.0"}, {"150.0", "151.0", "67.0"}});
    PasteCells(sheet, 3, 5, {{power == Power::kHigh ? "High" : "Low"}});
    model.tableToImage(grid, image);
    return image;
  }
  static std::string Bytes(const MemoryImage& image) { return {image.bytes.begin(), image.bytes.end()}; }

  // Runs varo-cli with `args` in the folder; its output in out() and err().
  int Cli(const std::string& args) {
    last_ = test::RunSuite("varo-cli " + args, "cd " + dir.path().string() + " &&");
    return last_.status;
  }
  const std::string& out() const { return last_.out; }
  const std::string& err() const { return last_.err; }

  test::TempDir dir;
  test::Ran last_{};
};

// Export, then import into the other document, gives back the first: diff
// finds nothing, for each radio.
TEST_F(SheetCommandTest, ExportAndImportGiveTheDocumentBack) {
  for (const char* name : {"a", "c"}) {
    const std::string file = name;
    ASSERT_EQ(Cli("export " + file + ".dat -o plan.csv"), 0) << err();
    EXPECT_EQ(Cli("export " + file + ".dat -o -"), 0);
    EXPECT_EQ(out(), dir.Read("plan.csv"));
    const std::string into = file == "a" ? "b.dat" : "c.dat";
    ASSERT_EQ(Cli("import plan.csv --into " + into + " --ini band.ini -o back.dat"), 0) << err();
    EXPECT_EQ(out(), file == "a" ? "Imported 16 channels and the options.\n"
                                 : "Imported 200 channels and the options.\n");
    EXPECT_EQ(Cli("diff " + file + ".dat back.dat"), 0) << out();
    EXPECT_EQ(out(), file + ".dat and back.dat match.\n");
  }
}

// Diff names each difference by channel and field, or option, in either
// language; status 1 when the files differ, 2 when they cannot be compared.
TEST_F(SheetCommandTest, DiffListsDifferencesAndSaysSoByItsStatus) {
  struct {
    std::string args;
    int status;
    std::string out;
  } cases[] = {
      {"diff a.dat b.dat", 1,
       "a.dat and b.dat differ in 2 places:\n"
       "Channel 3, Power: a.dat High, b.dat Low\n"
       "Sequelch Level: a.dat 4, b.dat 7\n"},
      {"diff --lang zh a.dat b.dat", 1,
       "a.dat 与 b.dat 有 2 处不同：\n"
       "信道 3，功率：a.dat 高，b.dat 低\n"
       "静噪电平：a.dat 4，b.dat 7\n"},
      {"diff a.dat a.dat", 0, "a.dat and a.dat match.\n"},
      {"diff a.dat c.dat", 2, ""},
      {"diff a.dat missing.dat", 2, ""},
      {"diff a.dat", 2, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cli(c.args), c.status) << c.args << "\n" << err();
    EXPECT_EQ(out(), c.out) << c.args;
  }
}

// A faulty plan file: every faulty line named on standard error, status 1,
// no output file.
TEST_F(SheetCommandTest, ImportWithProblemsWritesNothing) {
  ASSERT_EQ(Cli("export a.dat -o plan.csv"), 0);
  std::string csv = dir.Read("plan.csv");
  csv.replace(csv.find("147.00000,147.00000"), 19, "147.00300,147.00000");  // line 4
  csv.replace(csv.find("\n5,,"), 4, "\n3,,");                                // line 6
  csv.replace(csv.find("Beep,1"), 6, "Beep,2");
  dir.Write("plan.csv", csv);
  EXPECT_EQ(Cli("import plan.csv --into a.dat --ini band.ini -o out.dat"), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.dat")));
  const std::string e = err();
  for (const char* line : {"Line 4: Rx Frequency 147.00300", "Line 6: channel 3 is listed again",
                           "Beep \"2\" is not a number from 0 to 1."})
    EXPECT_NE(e.find(line), std::string::npos) << line << "\n" << e;
  EXPECT_EQ(Cli("import plan.csv -o out.dat"), 2);  // neither --into nor --model
}

}  // namespace
}  // namespace varo::radio
