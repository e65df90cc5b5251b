#pragma once

#include <cstddef>

namespace varo::model16 {

// Where the 16-channel radio keeps what the program interprets. Every part
// that reads or writes one of these bytes names it from here.

// Channel n (1-16) occupies kRecordSize bytes from kRecordBase + 16 x (n - 1);
// byte 3 of a record is the top BCD pair of its receive frequency.
constexpr std::size_t kRecordBase = 0x010;
constexpr std::size_t kRecordSize = 16;

// Radio-wide options (Optional Features and the report's options page).
constexpr std::size_t kVoiceAnnunciation = 0x12F;
constexpr std::size_t kTimeOutTimer = 0x130;
constexpr std::size_t kTotPreAlert = 0x131;
constexpr std::size_t kSquelchLevel = 0x134;
constexpr std::size_t kBatterySaver = 0x135;
constexpr std::size_t kBeep = 0x136;
constexpr std::size_t kVoxGainLevel = 0x13A;
constexpr std::size_t kVoxDelayTime = 0x13B;
// Bit 0 VOX function, bit 1 scan function: printed, never edited.
constexpr std::size_t kFunctionFlags = 0x3C7;
// The call tone, sent to the radio in a one-byte frame of its own.
constexpr std::size_t kCallTone = 0x3F0;

// Scan information (priority channel, look-back times, revert channel,
// dropout delay and Tx dwell), 0x160-0x168.
constexpr std::size_t kPriority = 0x160;
constexpr std::size_t kPriorityChannel = 0x161;
constexpr std::size_t kLookBackA = 0x162;
constexpr std::size_t kLookBackB = 0x163;
constexpr std::size_t kRevertChannel = 0x164;
constexpr std::size_t kDropoutDelay = 0x165;  // 16 bits, low byte first
constexpr std::size_t kTxDwell = 0x167;       // 16 bits, low byte first

// Scan Add bit maps: bit n-1 of 0x17E for channels 1-8, bit n-9 of 0x17F for
// channels 9-16.
constexpr std::size_t kScanMap = 0x17E;

// The model identifier "K71605" and the two bytes after it.
constexpr std::size_t kModelIdentifier = 0x1B8;

// Product type and band indexes (Product Information).
constexpr std::size_t kTypeIndex = 0x3D2;
constexpr std::size_t kBandIndex = 0x3D3;

}  // namespace varo::model16
