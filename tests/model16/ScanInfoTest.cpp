#include "model16/ScanInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace varo::model16 {
namespace {

class RecordingMessages : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    shown.push_back(request);
    return MessageAnswer::kOk;
  }
  std::vector<MessageRequest> shown;
};

// Gives channel n a receive frequency in the image (top BCD pair 0x14).
void ProgramChannel(MemoryImage& image, int n) { image[0x010 + 16 * (n - 1) + 3] = 0x14; }

TEST(ScanInfoTest, NewDocumentOpensWithItsDefaultsAndOkChangesNothing) {
  const MemoryImage original = MemoryImage::NewDocument();
  ScanInfoRules rules(false);
  rules.Open(original);
  const ScanInfoForm& form = rules.form();
  EXPECT_EQ(form.priority, kPriorityNone);
  EXPECT_FALSE(form.fixedFieldsEnabled);
  EXPECT_EQ(form.revertEntries, (std::vector<std::string>{"Selected", "Selected+Talk back"}));
  EXPECT_EQ(form.revert, -1);  // 0x164 is 0xFF
  EXPECT_EQ(rules.Texts(), (ScanInfoTexts{"", "0.9", "1.5", "48", "48"}));

  MemoryImage image = original;
  RecordingMessages messages;
  rules.ReadTexts(rules.Texts(), messages);
  EXPECT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image, original);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ScanInfoTest, LookBackSpinWrapsAndSnaps) {
  struct {
    double from;
    int change;
    const char* to;
  } cases[] = {
      {5.0, 1, "0.5"},   {0.5, -1, "5"},   {0.9, 1, "0.95"}, {0.95, -1, "0.9"},
      {4.95, 1, "5"},    {0.55, -1, "0.5"}, {1.0, 5, "0.95"},  // accelerated: down
      {0.72, 1, "0.75"}, {0.72, -1, "0.7"}, {1.23, -20, "1.2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFormNumber(StepLookBack(c.from, c.change)), c.to) << c.from << " " << c.change;
  }
}

TEST(ScanInfoTest, LookBackFocusLossClampsAndSnaps) {
  struct {
    double typed;
    const char* shown;
  } cases[] = {{7, "5"}, {0.72, "0.7"}, {0.3, "0.5"}, {-2, "0.5"}, {5.0, "5"}, {2.349, "2.3"}};
  for (const auto& c : cases) EXPECT_EQ(FormatFormNumber(SettleLookBack(c.typed)), c.shown);
}

// Walking the whole raster with the up arrow, as the dialog does it (the value
// goes through the box's text each time), stores every position 1-91 in
// turn; the down arrow walks it back.
TEST(ScanInfoTest, EveryLookBackPositionIsReachedAndStored) {
  RecordingMessages messages;
  ScanInfoRules rules(false);
  MemoryImage image = MemoryImage::NewDocument();
  image[0x162] = 1;
  rules.Open(image);
  EXPECT_EQ(rules.Texts().lookBackA, "0.5");
  for (int n = 1; n <= 91; ++n) {
    rules.ReadTexts(rules.Texts(), messages);
    ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
    ASSERT_EQ(image[0x162], n) << rules.Texts().lookBackA;
    rules.form().lookBackA = StepLookBack(rules.form().lookBackA, 1);
  }
  EXPECT_EQ(rules.Texts().lookBackA, "0.5");  // wrapped
  for (int n = 91; n >= 1; --n) {
    rules.form().lookBackA = StepLookBack(rules.form().lookBackA, -1);
    rules.ReadTexts(rules.Texts(), messages);
    ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
    ASSERT_EQ(image[0x162], n) << rules.Texts().lookBackA;
  }
  EXPECT_TRUE(messages.shown.empty());
  // And the ends open as they were stored.
  image[0x163] = 91;
  rules.Open(image);
  EXPECT_EQ(rules.Texts().lookBackB, "5");
}

TEST(ScanInfoTest, WholeNumbers) {
  EXPECT_EQ(StepWholeNumber(300, 1), 0);
  EXPECT_EQ(StepWholeNumber(0, -1), 300);
  EXPECT_EQ(StepWholeNumber(48, 20), 47);  // any change but +1 steps down
  EXPECT_EQ(ClampWholeNumber(999), 300);
  EXPECT_EQ(ClampWholeNumber(-4), 0);

  RecordingMessages messages;
  ScanInfoRules rules(false);
  MemoryImage image = MemoryImage::NewDocument();
  rules.Open(image);
  rules.form().dropoutDelay = 300;
  rules.form().txDwell = 0;
  rules.Ok(image, messages);
  EXPECT_EQ(image[0x165], 0x2C);
  EXPECT_EQ(image[0x166], 0x01);
  EXPECT_EQ(image[0x167], 0x00);
  EXPECT_EQ(image[0x168], 0x00);
}

TEST(ScanInfoTest, PriorityChangeRefillsRevertAndEnablesFixedFields) {
  struct {
    int priority;
    std::size_t entries;
    bool enabled;
  } cases[] = {{kPriorityFixed, 4, true}, {kPriorityNone, 2, false},
               {kPrioritySelected, 2, false}, {kPriorityFixed, 4, true}};
  ScanInfoRules rules(true);
  rules.Open(MemoryImage::NewDocument());
  for (const auto& c : cases) {
    rules.form().priorityChannel = " 5";
    rules.ChangePriority(c.priority);
    EXPECT_EQ(rules.form().revertEntries.size(), c.entries);
    EXPECT_EQ(rules.form().revert, 0);
    EXPECT_EQ(rules.form().fixedFieldsEnabled, c.enabled);
    EXPECT_EQ(rules.form().priorityChannel, c.enabled ? " 5" : "");
  }
  EXPECT_EQ(rules.form().revertEntries,
            (std::vector<std::string>{"选定", "选定+当前通话", "优先", "优先+当前通话"}));
}

TEST(ScanInfoTest, RevertCodeOfSelectedPriority) {
  RecordingMessages messages;
  MemoryImage image = MemoryImage::NewDocument();
  ScanInfoRules rules(false);
  rules.Open(image);
  rules.ChangePriority(kPrioritySelected);
  rules.form().revert = 1;  // "Priority+Talk back"
  ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image[0x160], 2);
  EXPECT_EQ(image[0x164], 3);
  ScanInfoRules reopened(false);
  reopened.Open(image);
  EXPECT_EQ(reopened.form().revert, 1);
  EXPECT_EQ(reopened.form().revertEntries[1], "Priority+Talk back");
}

TEST(ScanInfoTest, FixedPriorityNeedsAProgrammedChannel) {
  struct {
    const char* channel;
    bool programmed;  // whether that channel has a receive frequency
    bool chinese;
    bool accepted;
  } cases[] = {
      {" 3", false, false, false}, {" 3", false, true, false}, {" 3", true, false, true},
      {"16", true, false, true},   {"17", true, false, false}, {"0", true, false, false},
      {"", true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channel);
    MemoryImage image = MemoryImage::NewDocument();
    const int n = std::atoi(c.channel);
    if (c.programmed && n >= 1 && n <= 16) ProgramChannel(image, n);
    const MemoryImage before = image;
    RecordingMessages messages;
    ScanInfoRules rules(c.chinese);
    rules.Open(image);
    rules.ChangePriority(kPriorityFixed);
    rules.form().priorityChannel = c.channel;
    const ScanInfoOk result = rules.Ok(image, messages);
    if (c.accepted) {
      EXPECT_EQ(result, ScanInfoOk::kAccepted);
      EXPECT_EQ(image[0x161], n);
      EXPECT_EQ(image[0x160], kPriorityFixed);
      EXPECT_TRUE(messages.shown.empty());
    } else {
      EXPECT_EQ(result, ScanInfoOk::kChannelRejected);
      EXPECT_EQ(image, before);
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].text,
                c.chinese ? "请选择已输入的信道" : "Please select channel inputed");
      EXPECT_EQ(messages.shown[0].captionId, 0);  // the application name
    }
  }
}

TEST(ScanInfoTest, OpeningFixedShowsTheChannelAndLeavingFixedKeepsIt) {
  RecordingMessages messages;
  MemoryImage image = MemoryImage::NewDocument();
  image[0x160] = kPriorityFixed;
  image[0x161] = 5;
  image[0x164] = 2;
  ScanInfoRules rules(false);
  rules.Open(image);
  EXPECT_EQ(rules.form().priorityChannel, " 5");
  EXPECT_TRUE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().revert, 2);
  rules.ChangePriority(kPriorityNone);
  EXPECT_EQ(rules.form().priorityChannel, "");
  ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image[0x160], kPriorityNone);
  EXPECT_EQ(image[0x161], 5);
}

TEST(ScanInfoTest, StoredValuesWithoutAnEntryAreKept) {
  RecordingMessages messages;
  MemoryImage image = MemoryImage::NewDocument();
  image[0x160] = 7;  // no Priority entry
  image[0x164] = 1;
  ScanInfoRules rules(false);
  rules.Open(image);
  EXPECT_EQ(rules.form().priority, -1);
  EXPECT_FALSE(rules.form().fixedFieldsEnabled);
  EXPECT_EQ(rules.form().revertEntries, (std::vector<std::string>{"Priority", "Priority+Talk back"}));
  EXPECT_EQ(rules.form().revert, 1);  // taken without the offset of Selected
  rules.form().revert = 0;
  ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image[0x160], 7);
  EXPECT_EQ(image[0x164], 0);

  // Selected priority with a revert code it does not offer keeps the code.
  image[0x160] = kPrioritySelected;
  image[0x164] = 1;
  rules.Open(image);
  EXPECT_EQ(rules.form().revert, -1);
  ASSERT_EQ(rules.Ok(image, messages), ScanInfoOk::kAccepted);
  EXPECT_EQ(image[0x164], 1);
}

TEST(ScanInfoTest, TextsThatAreNoNumbersKeepThePreviousValue) {
  struct {
    const char* text;
    std::optional<double> number;
  } numbers[] = {{"0.9", 0.9}, {" 1.5 ", 1.5}, {"+2", 2.0}, {"", std::nullopt},
                 {"1,5", std::nullopt}, {"abc", std::nullopt}, {"1.5s", std::nullopt}};
  for (const auto& c : numbers) EXPECT_EQ(ParseFormNumber(c.text), c.number) << c.text;
  EXPECT_EQ(ParseFormInteger(" 300"), 300);
  EXPECT_EQ(ParseFormInteger("3.5"), std::nullopt);

  RecordingMessages messages;
  ScanInfoRules rules(false);
  rules.Open(MemoryImage::NewDocument());
  rules.ReadTexts({"", "x", "2.5", "", "12"}, messages);
  EXPECT_EQ(rules.Texts(), (ScanInfoTexts{"", "0.9", "2.5", "48", "12"}));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "Please enter a number.");
  EXPECT_EQ(messages.shown[1].text, "Please enter an integer.");
}

}  // namespace
}  // namespace varo::model16
