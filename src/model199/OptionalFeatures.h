#pragma once

#include <array>
#include <string>
#include <vector>

#include "model199/MemoryImage.h"

namespace varo::model199 {

// The radio-wide options of the Optional Features dialog (template 132):
// fifteen drop-down lists and the Beep check box, each standing for a field
// of the settings block. The dialog reads them when it opens and writes them
// on OK; bits outside a field are written back as they were. A list's
// position is its stored value, except where noted.

// The drop-down lists, left column of the form from the top, then the right.
enum class OptionList {
  kLed,               // control 1119, 0x1FE1 bits 3-2: Off, Auto, On
  kBatterySaver,      // control 1120, 0x1FE6 (whole byte): Off, 0.2 ... 1.0
  kKeypadLock,        // control 1121, 0x1FE1 bit 1: Manual, Auto
  kTimeOutTimer,      // control 1118, 0x1FC3 (whole byte): Off, 1, 3, 10
  kVoiceSensitivity,  // control 1122, 0x1FE4 (whole byte): Off, 1-16
  kPriorityScan,      // control 1123, 0x1FE2 bit 6: Off, On
  kChannelDisplay,    // control 1124, 0x1FE1 bit 7, set for Off: Off, On
  kPriScanTime,       // control 1125, 0x1FE7 (whole byte): 3s, 5s, 8s, 10s
  kStep,              // control 1117, 0x1FE0 (whole byte): 5k ... 25k
  kCallTone,          // control 1130, 0x1FE5 (whole byte): Off, 1-8, 1750
  kSquelchLevel,      // control 1116, 0x1FC1 (whole byte): 0-9
  kEncoder,           // control 1129, 0x1FE2 bit 5: Off, On
  kMode,              // control 1128, 0x1FE2 bits 1-0: Channel, Frequency, Memory
  kBusy,              // control 1127, 0x1FE1 bit 6, set for Off: Off, On
  kScanMode,          // control 1126, 0x1FE1 bits 5-4: SE, CO, TO
};
constexpr int kOptionListCount = 15;

constexpr int kBeepCheckId = 1016;  // 0x1FC0 bit 0

// Control id of a list (also its help context number for F1).
int OptionListControlId(OptionList list);

// The entries of a list in the interface language ("Off", "On", "Auto",
// "Manual" and the modes have Chinese words; numbers, times, steps and the
// scan modes are the same in both).
std::vector<std::string> OptionListEntries(OptionList list, bool chinese);

// What the dialog's controls show.
struct OptionalFeaturesForm {
  // Selected entry of each list, indexed by OptionList; -1 when the stored
  // value has no entry (the list shows no selection).
  std::array<int, kOptionListCount> selection{};
  bool beep = false;

  int& operator[](OptionList list) { return selection[static_cast<std::size_t>(list)]; }
  int operator[](OptionList list) const { return selection[static_cast<std::size_t>(list)]; }
  bool operator==(const OptionalFeaturesForm&) const = default;
};

// Opening: every list's entry from its field, the check box from bit 0 of
// 0x1FC0. A whole-byte field is read through a mask (0x0F; 0x1F for the
// voice sensitivity; 0x07 for the step, battery saver and priority scanning
// time) and a value beyond the list has no entry. A two-bit field holding 3
// shows the last entry ("TO", "On", "Memory").
OptionalFeaturesForm LoadOptionalFeatures(const MemoryImage& image);

// OK: a whole-byte field becomes its list position, a bit field its value,
// keeping the other bits of the byte; bit 0 of 0x1FC0 follows the check box.
// A list without a selection leaves its field exactly as it was: the value it
// stands for is not one the dialog offers.
void StoreOptionalFeatures(const OptionalFeaturesForm& form, MemoryImage& image);

}  // namespace varo::model199
