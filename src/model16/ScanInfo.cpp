#include "model16/ScanInfo.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "platform/Decimal.h"
#include "radio/TextNumbers.h"

namespace varo::model16 {

namespace {


using radio::LeadingDecimal;
using radio::LeadingInteger;

constexpr double kLookBackMin = 0.5;
constexpr double kLookBackMax = 5.0;
constexpr double kLookBackStep = 0.05;
// The stored look-back value n stands for 0.45 + 0.05 n seconds.
constexpr double kLookBackBase = 0.45;

constexpr int kWholeMax = 300;

double Snap(double seconds) { return LookBackPosition(seconds) * kLookBackStep; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text between leading and trailing blanks, without a leading '+'.
std::string_view Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view view(text.data() + begin, end - begin);
  if (view.size() > 1 && view.front() == '+' && view[1] != '-') view.remove_prefix(1);
  return view;
}

double LookBackSeconds(std::uint8_t stored) { return stored * kLookBackStep + kLookBackBase; }

int Word(const MemoryImage& image, std::size_t offset) {
  return image[offset] + 256 * image[offset + 1];
}

void StoreWord(MemoryImage& image, std::size_t offset, int value) {
  image[offset] = static_cast<std::uint8_t>(value % 256);
  image[offset + 1] = static_cast<std::uint8_t>(value / 256);
}

}  // namespace

std::vector<std::string> RevertEntries(int priority, bool chinese) {
  const char* selected = chinese ? "选定" : "Selected";
  const char* selectedTalk = chinese ? "选定+当前通话" : "Selected+Talk back";
  const char* prio = chinese ? "优先" : "Priority";
  const char* prioTalk = chinese ? "优先+当前通话" : "Priority+Talk back";
  if (priority == kPriorityNone) return {selected, selectedTalk};
  if (priority == kPriorityFixed) return {selected, selectedTalk, prio, prioTalk};
  return {prio, prioTalk};
}

int LookBackPosition(double seconds) {
  return static_cast<int>(DecimalMultiplyTruncate(seconds, 20));
}

double StepLookBack(double seconds, int proposedChange) {
  if (proposedChange == 1) {
    double t = seconds + kLookBackStep;
    return (t >= kLookBackMin && t <= kLookBackMax) ? Snap(t) : kLookBackMin;
  }
  double t = seconds - kLookBackStep;
  // The 0.04 keeps a difference that lands just below a raster point (0.85
  // as 0.8499...) from being cut down to the point below.
  return (t >= kLookBackMin && t <= kLookBackMax) ? Snap(t + 0.04) : kLookBackMax;
}

double SettleLookBack(double seconds) {
  if (seconds > kLookBackMax) return kLookBackMax;
  if (seconds < kLookBackMin) return kLookBackMin;
  return Snap(seconds);
}

int StepWholeNumber(int value, int proposedChange) {
  if (proposedChange == 1) return value >= kWholeMax ? 0 : value + 1;
  return value <= 0 ? kWholeMax : value - 1;
}

int ClampWholeNumber(int value) {
  if (value < 0) return 0;
  return value > kWholeMax ? kWholeMax : value;
}

std::string FormatFormNumber(double value) {
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

std::optional<double> ParseFormNumber(const std::string& text) {
  std::string_view view = Trimmed(text);
  if (view.empty()) return std::nullopt;
  double value = 0.0;
  auto [end, ec] =
      std::from_chars(view.data(), view.data() + view.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != view.data() + view.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseFormInteger(const std::string& text) {
  std::string_view view = Trimmed(text);
  if (view.empty()) return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
  if (ec != std::errc() || end != view.data() + view.size()) return std::nullopt;
  return value;
}

void ScanInfoRules::Open(const MemoryImage& image) {
  const int stored = image[kPriority];
  ChangePriority(stored <= kPrioritySelected ? stored : -1);
  form_.priorityChannel = "";
  if (form_.priority == kPriorityFixed) {
    char text[8];
    std::snprintf(text, sizeof text, "%2d", image[kPriorityChannel]);
    form_.priorityChannel = text;
  }
  form_.lookBackA = LookBackSeconds(image[kLookBackA]);
  form_.lookBackB = LookBackSeconds(image[kLookBackB]);
  const int revert = image[kRevertChannel] - (form_.priority == kPrioritySelected ? 2 : 0);
  form_.revert =
      (revert >= 0 && revert < static_cast<int>(form_.revertEntries.size())) ? revert : -1;
  form_.dropoutDelay = Word(image, kDropoutDelay);
  form_.txDwell = Word(image, kTxDwell);
}

void ScanInfoRules::ChangePriority(int position) {
  form_.priority = (position >= 0 && position <= kPrioritySelected) ? position : -1;
  form_.fixedFieldsEnabled = form_.priority == kPriorityFixed;
  if (!form_.fixedFieldsEnabled) form_.priorityChannel = "";
  form_.revertEntries = RevertEntries(form_.priority, chinese_);
  form_.revert = 0;
}

ScanInfoTexts ScanInfoRules::Texts() const {
  ScanInfoTexts texts;
  texts.priorityChannel = form_.priorityChannel;
  texts.lookBackA = FormatFormNumber(form_.lookBackA);
  texts.lookBackB = FormatFormNumber(form_.lookBackB);
  texts.dropoutDelay = std::to_string(form_.dropoutDelay);
  texts.txDwell = std::to_string(form_.txDwell);
  return texts;
}

void ScanInfoRules::ReadTexts(const ScanInfoTexts& texts, MessageBoxes& messages) {
  auto prompt = [&](bool integer) {
    MessageRequest request;
    if (integer) {
      request.text = chinese_ ? "请输入一个整数。" : "Please enter an integer.";
    } else {
      request.text = chinese_ ? "请输入一个数字。" : "Please enter a number.";
    }
    request.icon = MessageIcon::kExclamation;
    messages.Show(request);
  };
  auto readNumber = [&](const std::string& text, double& value) {
    if (auto number = ParseFormNumber(text)) {
      value = *number;
    } else {
      prompt(false);
    }
  };
  auto readInteger = [&](const std::string& text, int& value) {
    if (auto number = ParseFormInteger(text)) {
      value = *number;
    } else {
      prompt(true);
    }
  };
  form_.priorityChannel = texts.priorityChannel;
  readNumber(texts.lookBackA, form_.lookBackA);
  readNumber(texts.lookBackB, form_.lookBackB);
  readInteger(texts.dropoutDelay, form_.dropoutDelay);
  readInteger(texts.txDwell, form_.txDwell);
}

ScanInfoOk ScanInfoRules::Ok(MemoryImage& image, MessageBoxes& messages) const {
  if (form_.priority == kPriorityFixed) {
    const std::int64_t channel = LeadingInteger(form_.priorityChannel);
    bool programmed = false;
    if (channel >= 1 && channel <= kChannels) {
      const std::uint8_t top =
          image[kRecordBase + 16 * static_cast<std::size_t>(channel - 1) + 3];
      programmed = top != 0x00 && top != 0xFF;
    }
    if (!programmed) {
      MessageRequest request;
      request.text = chinese_ ? "请选择已输入的信道" : "Please select channel inputed";
      request.buttons = MessageButtons::kOk;
      messages.Show(request);
      return ScanInfoOk::kChannelRejected;
    }
    image[kPriorityChannel] = static_cast<std::uint8_t>(channel);
  }
  // A list without a selection stands for a stored value the dialog does not
  // offer: its byte is left as it was.
  if (form_.priority >= 0) image[kPriority] = static_cast<std::uint8_t>(form_.priority);
  image[kLookBackA] =
      static_cast<std::uint8_t>(LookBackPosition(form_.lookBackA - kLookBackBase));
  image[kLookBackB] =
      static_cast<std::uint8_t>(LookBackPosition(form_.lookBackB - kLookBackBase));
  if (form_.revert >= 0) {
    image[kRevertChannel] =
        static_cast<std::uint8_t>(form_.revert + (form_.priority == kPrioritySelected ? 2 : 0));
  }
  StoreWord(image, kDropoutDelay, form_.dropoutDelay);
  StoreWord(image, kTxDwell, form_.txDwell);
  return ScanInfoOk::kAccepted;
}

}  // namespace varo::model16
