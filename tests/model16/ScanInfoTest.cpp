#include <gtest/gtest.h>

#include <cstdlib>

#include "model16/ScanInfo.h"
#include "support/EditorFakes.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

using test::RecordingMessages;

TEST(ScanInfoTest, NewDocumentOpensWithItsDefaultsAndOkChangesNothing) {
  const MemoryImage original = NewImage();
  ScanInfoRules rules(false);
  rules.Open(original);
  EXPECT_EQ(rules.form().priority, kPriorityNone);
  EXPECT_FALSE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().revertEntries,
            (std::vector<std::string>{"Selected", "Selected+Talk back"}));
  EXPECT_EQ(rules.form().revert, -1);  // 0x164 is 0xFF
  EXPECT_EQ(rules.Texts(), (ScanInfoTexts{"", "0.9", "1.5", "48", "48"}));
  MemoryImage image = original;
  RecordingMessages messages;
  rules.ReadTexts(rules.Texts(), messages);
  EXPECT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image, original);
  EXPECT_TRUE(messages.shown.empty());
}

// Steps and focus loss off the raster; EveryLookBackPositionIsStored walks it.
TEST(ScanInfoTest, LookBackAndWholeNumberArithmetic) {
  EXPECT_EQ(FormatFormNumber(StepLookBack(1.0, 5)), "0.95");  // accelerated: steps down
  EXPECT_EQ(FormatFormNumber(StepLookBack(0.72, 1)), "0.75");
  EXPECT_EQ(FormatFormNumber(StepLookBack(0.72, -1)), "0.7");
  for (const auto& [typed, shown] : {std::pair{7.0, "5"}, {0.72, "0.7"}, {0.3, "0.5"}})
    EXPECT_EQ(FormatFormNumber(SettleLookBack(typed)), shown);
  EXPECT_EQ(StepWholeNumber(300, 1), 0);
  EXPECT_EQ(StepWholeNumber(0, -1), 300);
  EXPECT_EQ(StepWholeNumber(48, 20), 47);
  EXPECT_EQ(ClampWholeNumber(999), 300);
  EXPECT_EQ(ClampWholeNumber(-4), 0);
}

// Walking the raster with the arrows, the value passing through the box's text
// each time as in the dialog, stores every position 1-91 (0.5 as 1, 5.0 as
// 91) and wraps at both ends.
TEST(ScanInfoTest, EveryLookBackPositionIsStored) {
  RecordingMessages messages;
  ScanInfoRules rules(false);
  MemoryImage image = NewImage();
  image[0x162] = 1;
  rules.Open(image);
  EXPECT_EQ(rules.Texts().lookBackA, "0.5");
  for (int n = 1; n <= 91; ++n) {
    rules.ReadTexts(rules.Texts(), messages);
    rules.Ok(image, messages);
    ASSERT_EQ(image[0x162], n) << rules.Texts().lookBackA;
    rules.form().lookBackA = StepLookBack(rules.form().lookBackA, 1);
  }
  EXPECT_EQ(rules.Texts().lookBackA, "0.5");
  for (int n = 91; n >= 1; --n) {
    rules.form().lookBackA = StepLookBack(rules.form().lookBackA, -1);
    rules.ReadTexts(rules.Texts(), messages);
    rules.Ok(image, messages);
    ASSERT_EQ(image[0x162], n) << rules.Texts().lookBackA;
  }
  image[0x163] = 91;
  rules.Open(image);
  EXPECT_EQ(rules.Texts().lookBackB, "5");
  rules.form().dropoutDelay = 300;
  rules.Ok(image, messages);
  EXPECT_EQ(image[0x165], 0x2C);
  EXPECT_EQ(image[0x166], 0x01);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ScanInfoTest, PriorityChangeAndRevertCodes) {
  ScanInfoRules rules(true);
  rules.Open(NewImage());
  rules.ChangePriority(kPriorityFixed);
  EXPECT_TRUE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().revertEntries,
            (std::vector<std::string>{"选定", "选定+当前通话", "优先", "优先+当前通话"}));
  rules.form().priorityChannel = " 5";
  rules.ChangePriority(kPrioritySelected);
  EXPECT_FALSE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().priorityChannel, "");
  EXPECT_EQ(rules.form().revertEntries.size(), 2u);

  // Selected with "Priority+Talk back" stores 3 and opens with it again.
  RecordingMessages messages;
  MemoryImage image = NewImage();
  image[0x161] = 9;
  rules.form().revert = 1;
  ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image[0x160], 2);
  EXPECT_EQ(image[0x161], 9);  // written only for a fixed priority
  EXPECT_EQ(image[0x164], 3);
  rules.Open(image);
  EXPECT_EQ(rules.form().revert, 1);
}

// `programmed` marks the top receive byte where channel n's record would be:
// channels 0 and 17 (a header byte and the byte after the last record) look
// programmed, yet are no channels.
TEST(ScanInfoTest, FixedPriorityNeedsAProgrammedChannel) {
  // clang-format off
  struct { const char* channel; int programmed; bool chinese, accepted; } cases[] = {
      {" 3", -1, false, false}, {" 3", -1, true, false}, {" 3", 3, false, true},
      {"16", 16, false, true},  {"17", 16, false, false}, {"17", 17, false, false},
      {" 1", 1, false, true},   {" 0", 0, false, false}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.channel) + " programmed " + std::to_string(c.programmed));
    MemoryImage image = NewImage();
    if (c.programmed >= 0) image[static_cast<std::size_t>(0x010 + 16 * (c.programmed - 1) + 3)] = 0x14;
    const MemoryImage before = image;
    RecordingMessages messages;
    ScanInfoRules rules(c.chinese);
    rules.Open(image);
    rules.ChangePriority(kPriorityFixed);
    rules.form().priorityChannel = c.channel;
    if (c.accepted) {
      EXPECT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
      EXPECT_EQ(image[0x161], std::atoi(c.channel));
      EXPECT_EQ(image[0x160], kPriorityFixed);
    } else {
      EXPECT_EQ(rules.Ok(image, messages), ScanInfoOk::kChannelRejected);
      EXPECT_EQ(image, before);
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].text,
                c.chinese ? "请选择已输入的信道" : "Please select channel inputed");
    }
  }
}

// A fixed priority opens with its channel as "%2d"; any other priority with
// an empty box.
TEST(ScanInfoTest, PriorityChannelText) {
  const struct { std::uint8_t priority, channel; const char* text; } cases[] = {
      {kPriorityFixed, 5, " 5"}, {kPriorityFixed, 12, "12"}, {kPriorityFixed, 1, " 1"},
      {kPrioritySelected, 5, ""}, {kPriorityNone, 12, ""}};
  for (const auto& c : cases) {
    MemoryImage image = NewImage();
    image[0x160] = c.priority;
    image[0x161] = c.channel;
    ScanInfoRules rules(false);
    rules.Open(image);
    EXPECT_EQ(rules.Texts().priorityChannel, c.text) << int(c.priority) << "/" << int(c.channel);
  }
}

TEST(ScanInfoTest, StoredValuesWithoutAnEntryAreKept) {
  RecordingMessages messages;
  MemoryImage image = NewImage();
  image[0x160] = 7;
  image[0x164] = 1;
  ScanInfoRules rules(false);
  rules.Open(image);
  EXPECT_EQ(rules.form().priority, -1);
  EXPECT_FALSE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().revertEntries,
            (std::vector<std::string>{"Priority", "Priority+Talk back"}));
  EXPECT_EQ(rules.form().revert, 1);  // without the offset of Selected
  rules.form().revert = 0;
  rules.Ok(image, messages);
  EXPECT_EQ(image[0x160], 7);
  EXPECT_EQ(image[0x164], 0);
  // Selected with a revert code it does not offer keeps the code.
  image[0x160] = kPrioritySelected;
  image[0x164] = 1;
  rules.Open(image);
  EXPECT_EQ(rules.form().revert, -1);
  rules.Ok(image, messages);
  EXPECT_EQ(image[0x164], 1);
}

TEST(ScanInfoTest, TextsThatAreNoNumbersKeepThePreviousValue) {
  RecordingMessages messages;
  ScanInfoRules rules(false);
  rules.Open(NewImage());
  rules.ReadTexts({"", "1,5", " +2.5 ", "", "12"}, messages);
  EXPECT_EQ(rules.Texts(), (ScanInfoTexts{"", "0.9", "2.5", "48", "12"}));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "Please enter a number.");
  EXPECT_EQ(messages.shown[1].text, "Please enter an integer.");
}

}  // namespace
}  // namespace varo::model16
