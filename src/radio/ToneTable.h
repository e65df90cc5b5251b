#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "radio/DisplayText.h"

namespace varo::radio {

// The tones both radios offer, as data: the 50 CTCSS (QT) tones and the DCS
// (DQT) code numbers. Each radio builds its own choice list and stored code
// from these.

// A channel's decode or encode tone as the two bytes its record stores, low
// byte first; what they mean is the radio's own.
struct ToneCode {
  std::uint8_t low = 0xFF;
  std::uint8_t high = 0xFF;
  bool operator==(const ToneCode&) const = default;
};

// "None" / "无": no tone.
extern const Texts kNoTone;

// The 50 CTCSS tones in tenths of a hertz, from 67.0 to 254.1 Hz, in list
// order.
const std::vector<int>& CtcssTenths();

// The 107 DCS codes as they are written, three octal digits read as the
// decimal number they look like (17, 23, ... 754), in list order.
const std::vector<int>& DcsCodes();

// A CTCSS tone's text, "%3.1f" of tenths x 0.1 ("67.0", "254.1"), made in
// integers so that the locale plays no part. `tenths` must not be negative.
std::string CtcssText(int tenths);

// A DCS code's text: "D", three digits, "N" for normal or "I" for inverted
// ("D023N", "D754I").
std::string DcsText(int writtenCode, bool normal);

}  // namespace varo::radio
