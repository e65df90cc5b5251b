// The plain parts of the programmer's safety net: the undo history, the band
// check of a table, and the comparison of a document with a radio's memory.
// The 16-channel radio stands for any radio.
#include <gtest/gtest.h>

#include <functional>

#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "model16/MemoryImage.h"
#include "model16/Model16.h"
#include "radio/BandCheck.h"
#include "radio/ImageCompare.h"
#include "radio/MemoryGrid.h"
#include "radio/UndoHistory.h"

namespace varo::radio {
namespace {

using Lines = std::vector<std::string>;

DocumentState State(const std::string& text) { return {MemoryImage(1), {text}}; }

// Each step acts on the history, then the current state, Undo/Redo and the
// clean mark must read as given.
TEST(UndoHistoryTest, StepsCleanMarkAndLimit) {
  struct Step {
    const char* act;  // "rX": record X, "u": undo, "r": redo, "c": mark clean
    bool recorded;    // what Record returned
    const char* current;
    bool canUndo, canRedo, clean;
  };
  UndoHistory history(3);
  history.Reset(State("a"));
  const Step steps[] = {
      {"rb", true, "b", true, false, false},   {"rb", false, "b", true, false, false},
      {"c", false, "b", true, false, true},    {"u", false, "a", false, true, false},
      {"r", false, "b", true, false, true},    {"rc", true, "c", true, false, false},
      {"u", false, "b", true, true, true},     {"u", false, "a", false, true, false},
      {"rd", true, "d", true, false, false},   // the branch with the clean state is gone
      {"r", false, "d", true, false, false},   {"re", true, "e", true, false, false},
      {"rf", true, "f", true, false, false},   {"rg", true, "g", true, false, false},
      {"u", false, "f", true, true, false},    {"u", false, "e", true, true, false},
      {"u", false, "d", false, true, false},   // three steps kept: "a" fell off
      {"c", false, "d", false, true, true},    {"rh", true, "h", true, false, false},
      {"ri", true, "i", true, false, false},   {"rj", true, "j", true, false, false},
      {"rk", true, "k", true, false, false},   {"u", false, "j", true, true, false},
      {"u", false, "i", true, true, false},    {"u", false, "h", false, true, false},
      // the clean "d" fell off: no state is clean now
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.act);
    bool recorded = false;
    switch (step.act[0]) {
      case 'r':
        if (step.act[1]) {
          recorded = history.Record(State(step.act + 1));
        } else {
          history.Redo();
        }
        break;
      case 'u': history.Undo(); break;
      case 'c': history.MarkClean(); break;
    }
    EXPECT_EQ(recorded, step.recorded);
    EXPECT_EQ(history.Current().cells, Lines{step.current});
    EXPECT_EQ(history.CanUndo(), step.canUndo);
    EXPECT_EQ(history.CanRedo(), step.canRedo);
    EXPECT_EQ(history.IsClean(), step.clean);
  }
}

// A captured state holds the table and the image as Save would write it; put
// back, it gives the table its texts again and the image those bytes.
TEST(UndoHistoryTest, CaptureAndRestoreKeepTableAndImageTogether) {
  const RadioModel& model = model16::Model16();
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  MemoryImage image = model16::NewImage();
  grid.SetTextMatrix(4, model16::kColRx, "145.01250");
  const DocumentState state = CaptureState(model, image, grid);
  EXPECT_EQ(state.cells[(4 - 1) * 8], "145.01250");
  EXPECT_EQ(state.image[0x040 + 3], 0x14);  // channel 4's receive frequency, top BCD pair
  EXPECT_EQ(image[0x040 + 3], 0xFF) << "the document's image is not touched";

  grid.SetTextMatrix(4, model16::kColRx, "");
  grid.SetTextMatrix(7, model16::kColPower, "Low");
  RestoreState(state, image, grid);
  EXPECT_EQ(CaptureState(model, image, grid), state);
  EXPECT_EQ(image, state.image);
}

TEST(BandCheckTest, ChannelsOutsideTheBandByFrequency) {
  const TableSpec& table = model16::Table16();
  MemoryGrid grid(table.Rows(), table.Cols());
  const std::pair<long, std::pair<const char*, const char*>> rows[] = {
      {1, {"136.00000", "174.00000"}},  // both edges are inside
      {2, {"135.99500", "150.00000"}},  {3, {"150.00000", "174.00500"}},
      {9, {"440.00000", "440.00000"}},  {12, {"", "180.00000"}},
  };
  for (const auto& [row, texts] : rows) {
    grid.SetTextMatrix(row, model16::kColRx, texts.first);
    grid.SetTextMatrix(row, model16::kColTx, texts.second);
  }
  const std::vector<OutOfBandChannel> outside =
      OutOfBandChannels(grid, table, {13600000, 17400000});
  EXPECT_EQ(outside, (std::vector<OutOfBandChannel>{
                         {2, true, false}, {3, false, true}, {9, true, true}, {12, false, true}}));
  EXPECT_EQ(ChannelList(outside, table), "2, 3, 9, 12");
  EXPECT_EQ(BandDescription("136 - 174MHz", {13600000, 17400000}), "136 - 174MHz");
  EXPECT_EQ(BandDescription(" ", {0, 0}), "0.00000 - 0.00000 MHz");
}

TEST(ImageCompareTest, ComparesWhatAWriteSendsAndAReadBringsBack) {
  EXPECT_EQ(ComparedSpans(model16::CloneProtocol16()).size(), 2u);
  const RadioModel& model = model16::Model16();
  // Channels 1 and 2 programmed; the rest as a new radio holds them.
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  const char* const channel[] = {"146.50000", "146.50000", "67.0", "None", "High", "Yes", "Off", "Wide"};
  for (long row = 1; row <= 2; ++row)
    for (long col = 1; col <= 8; ++col) grid.SetTextMatrix(row, col, channel[col - 1]);
  MemoryImage document = model16::NewImage();
  model16::TableToImage(grid, document);

  struct Case {
    const char* name;
    std::function<void(MemoryImage&)> change;
    std::vector<ChannelDifference> channels;
    std::vector<std::string> options;  // labels
    std::vector<AddressSpan> other;
  };
  const Case cases[] = {
      {"same", [](MemoryImage&) {}, {}, {}, {}},
      {"past the write", [](MemoryImage& m) { m[0x3E5] ^= 1; m[0x3F5] ^= 1; }, {}, {}, {}},
      // An unprogrammed channel's settings bits as a new radio holds them.
      {"empty channel", [](MemoryImage& m) { m[0x010 + 16 * 8 + 12] = 0xFF; }, {}, {}, {}},
      {"power", [](MemoryImage& m) { m[0x020 + 13] &= 0xDF; },
       {{2, model16::kColPower, "High", "Low"}}, {}, {}},
      {"squelch and scan", [](MemoryImage& m) { m[model16::kSquelchLevel] = 7; m[0x165] = 9; m[0x166] = 1; },
       {}, {"Sequelch Level:"}, {{0x165, 0x167}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryImage radio = document;
    c.change(radio);
    const ImageComparison found = CompareImages(model, document, radio, false);
    EXPECT_EQ(found.channels, c.channels);
    std::vector<std::string> labels;
    for (const OptionDifference& d : found.options) labels.push_back(d.label);
    EXPECT_EQ(labels, c.options);
    ASSERT_EQ(found.otherBytes.size(), c.other.size());
    for (std::size_t i = 0; i < c.other.size(); ++i) {
      EXPECT_EQ(found.otherBytes[i].begin, c.other[i].begin);
      EXPECT_EQ(found.otherBytes[i].end, c.other[i].end);
    }
    EXPECT_EQ(found.Matches(), c.channels.empty() && c.options.empty() && c.other.empty());
  }

  MemoryImage radio = document;
  radio[0x020 + 13] &= 0xDF;
  radio[0x165] = 9;
  EXPECT_EQ(FormatComparison(CompareImages(model, document, radio, true), *model.table, true),
            (Lines{"电台与文档有 2 处不同：", "信道 2，功率：文档 高，电台 低",
                   "存储地址 0x165：信道表和可选功能中未显示的设置不同"}));
}

}  // namespace
}  // namespace varo::radio
