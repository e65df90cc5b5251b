#pragma once

#include <array>
#include <string>
#include <vector>

#include "model16/MemoryImage.h"

namespace varo::model16 {

// The radio-wide options of the Optional Features dialog (template 132): seven
// drop-down lists and two check boxes, each standing for a bit field of the
// memory image. The dialog reads them when it opens and writes them on OK;
// bits outside a field are always written back as they were.

// The drop-down lists in the order of the form.
enum class OptionList {
  kTimeOutTimer,       // control 1118, byte 0x130 bits 0-6: entry + 1
  kTotPreAlert,        // control 1130, byte 0x131 bits 0-3: entry + 1
  kSquelchLevel,       // control 1116, byte 0x134 bits 0-3
  kVoiceAnnunciation,  // control 1117, byte 0x12F bits 0-1
  kCallTone,           // control 1119, byte 0x3F0 (whole byte)
  kVoxGainLevel,       // control 1121, byte 0x13A bits 0-4
  kVoxDelayTime,       // control 1123, byte 0x13B bits 0-2
};
constexpr int kOptionListCount = 7;

constexpr int kBeepCheckId = 1016;          // byte 0x136 bit 0
constexpr int kBatterySaverCheckId = 1005;  // byte 0x135 bit 0

// Control id of a list (also its help context number for F1).
int OptionListControlId(OptionList list);

// The entries of a list in the interface language ("Off", "Chinese" and
// "English" have Chinese words; numbers and times are the same in both).
std::vector<std::string> OptionListEntries(OptionList list, bool chinese);

// What the dialog's controls show.
struct OptionalFeaturesForm {
  // Selected entry of each list, indexed by OptionList; -1 when the stored
  // value has no entry (the list shows no selection).
  std::array<int, kOptionListCount> selection{};
  bool beep = false;
  bool batterySaver = false;

  int& operator[](OptionList list) { return selection[static_cast<std::size_t>(list)]; }
  int operator[](OptionList list) const { return selection[static_cast<std::size_t>(list)]; }
  bool operator==(const OptionalFeaturesForm&) const = default;
};

// Opening: every list's entry from its bit field, the check boxes from bit 0.
OptionalFeaturesForm LoadOptionalFeatures(const MemoryImage& image);

// OK: writes each field from its list position, keeping the other bits of its
// byte, and bit 0 of 0x136 / 0x135 from the check boxes. A list without a
// selection leaves its byte exactly as it was: the value it stands for is not
// one the dialog offers, and writing it would overwrite the kept bits.
void StoreOptionalFeatures(const OptionalFeaturesForm& form, MemoryImage& image);

// Key codes the dialog's keyboard filter distinguishes (the platform's
// virtual-key numbers; a Qt dialog maps Qt::Key values, with the keypad
// modifier telling the numeric keypad's digits apart).
namespace vk {
constexpr int kBack = 0x08;
constexpr int kTab = 0x09;
constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kDelete = 0x2E;
constexpr int k0 = 0x30;  // '0'..'9' are 0x30..0x39
constexpr int k9 = 0x39;
constexpr int kNumpad0 = 0x60;  // keypad digits are 0x60..0x69
constexpr int kNumpad9 = 0x69;
constexpr int kF1 = 0x70;
}  // namespace vk

enum class KeyAction {
  kPass,     // the key goes on to the focused control
  kHelp,     // open the help at the focused control's id, then pass the key on
  kDiscard,  // the key is dropped
};

// The dialog's filter for key-down events: digits (main keyboard and keypad),
// Backspace, Delete and the arrow keys pass while Shift is not held; F1 asks
// for help; everything else, Enter, Escape, Tab and Space among them, is
// dropped (the dialog closes through its buttons only).
KeyAction FilterOptionalFeaturesKey(int virtualKey, bool shiftHeld);

}  // namespace varo::model16
