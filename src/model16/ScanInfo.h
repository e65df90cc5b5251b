#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model16/MemoryImage.h"
#include "radio/MessageBoxes.h"

namespace varo::model16 {

using radio::MessageAnswer;
using radio::MessageBoxes;
using radio::MessageButtons;
using radio::MessageIcon;
using radio::MessageRequest;

// The Scan Information dialog (template 133) without its window: the
// priority-scan settings of the image at 0x160-0x168, the rules of its
// priority list, spin arrows and focus loss, and OK with its channel check.
//
// A Qt dialog keeps a ScanInfoRules, shows Texts() in its boxes and form()
// in its lists and enabled states, and for each user action:
// - Priority selection change: ChangePriority(position), then shows again;
// - a spin arrow or a box losing the focus: ReadTexts(), the matching
//   arithmetic below on form(), then shows again;
// - OK: ReadTexts(), then Ok(); on kAccepted it closes, on kChannelRejected
//   it deletes the selected text of the Priority Channel box (1003) and stays
//   open.

// Controls (their ids are also help context numbers).
constexpr int kPriorityListId = 1001;
constexpr int kRevertListId = 1002;
constexpr int kPriorityChannelId = 1003;  // edit box, at most 2 characters
constexpr int kLookBackAId = 1004;
constexpr int kLookBackBId = 1005;
constexpr int kDropoutDelayId = 1006;
constexpr int kTxDwellId = 1007;
constexpr int kLookBackASpinId = 1008;
constexpr int kLookBackBSpinId = 1009;
constexpr int kDropoutDelaySpinId = 1010;
constexpr int kTxDwellSpinId = 1011;

// Priority list positions ("None", "Fixed", "Selected": the entries come with
// the form of the language module).
constexpr int kPriorityNone = 0;
constexpr int kPriorityFixed = 1;
constexpr int kPrioritySelected = 2;

// The Revert Channel entries offered with `priority` (a position, -1 for no
// selection): None offers "Selected" and "Selected+Talk back"; Fixed those and
// "Priority", "Priority+Talk back"; Selected (and no selection) the last two.
std::vector<std::string> RevertEntries(int priority, bool chinese);

// Look-back times are 0.5-5.0 s on a 0.05 s raster. The raster position of t
// is t x 20 in exact decimal arithmetic, truncated.
int LookBackPosition(double seconds);
// A spin arrow's proposed change on a look-back time: +1 steps up by 0.05 (past
// 5.0 to 0.5), any other change steps down by 0.05 (past 0.5 to 5.0); the result
// is snapped onto the raster.
double StepLookBack(double seconds, int proposedChange);
// Focus loss: above 5.0 gives 5.0, below 0.5 gives 0.5, else snapped.
double SettleLookBack(double seconds);

// Dropout Delay and Tx Dwell are whole numbers 0-300.
// A spin arrow: +1 adds 1 (past 300 to 0), any other change subtracts 1 (below
// 0 to 300).
int StepWholeNumber(int value, int proposedChange);
// Focus loss: clamped into 0-300.
int ClampWholeNumber(int value);

// The texts of the dialog's boxes, as shown and as typed.
struct ScanInfoTexts {
  std::string priorityChannel;
  std::string lookBackA;
  std::string lookBackB;
  std::string dropoutDelay;
  std::string txDwell;
  bool operator==(const ScanInfoTexts&) const = default;
};

// A number as the boxes show it: up to 15 significant digits without trailing
// zeros ("0.9", "5", "1.55"), with a '.' whatever the process locale.
std::string FormatFormNumber(double value);
// A box's text as a number: the whole text, blanks around it allowed, must be
// one decimal number; anything else (also an empty box) is no number.
std::optional<double> ParseFormNumber(const std::string& text);
// The same for the whole-number boxes (a 32-bit integer).
std::optional<int> ParseFormInteger(const std::string& text);

// What the dialog shows.
struct ScanInfoForm {
  int priority = -1;  // Priority list position, -1 for no selection
  std::vector<std::string> revertEntries;
  int revert = -1;  // Revert Channel list position, -1 for no selection
  std::string priorityChannel;
  // Priority Channel box, both look-back boxes and their spin controls.
  bool fixedFieldsEnabled = false;
  double lookBackA = 0.0;
  double lookBackB = 0.0;
  int dropoutDelay = 0;
  int txDwell = 0;
};

enum class ScanInfoOk {
  kAccepted,         // fields written; the dialog closes
  kChannelRejected,  // fixed priority on a channel without a receive frequency
                     // or outside 1-16: message shown, nothing written
};

class ScanInfoRules {
 public:
  explicit ScanInfoRules(bool chinese) : chinese_(chinese) {}

  // Opening: every value from the image. A stored priority or revert code
  // without an entry leaves its list without a selection.
  void Open(const MemoryImage& image);

  // Priority selection change: the Revert Channel list is refilled for the new
  // priority with entry 0 selected; Fixed enables the Priority Channel and
  // look-back fields, anything else empties the channel box and disables them.
  void ChangePriority(int position);

  // The form's values as box texts.
  ScanInfoTexts Texts() const;
  // Takes the typed texts into the form. A look-back or whole-number box that
  // holds no number is reported with the standard number prompt and keeps its
  // previous value.
  void ReadTexts(const ScanInfoTexts& texts, MessageBoxes& messages);

  // OK: checks a fixed priority's channel (1-16 with a receive frequency in
  // the image) and writes 0x160-0x168. A list without a selection leaves its
  // byte as it was.
  ScanInfoOk Ok(MemoryImage& image, MessageBoxes& messages) const;

  ScanInfoForm& form() { return form_; }
  const ScanInfoForm& form() const { return form_; }

 private:
  bool chinese_;
  ScanInfoForm form_;
};

}  // namespace varo::model16
