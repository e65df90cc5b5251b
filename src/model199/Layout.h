#pragma once

#include <cstddef>

namespace varo::model199 {

// Where the 199-channel radio keeps what the program interprets. Every part
// that reads or writes one of these bytes names it from here.

// 200 channel records of kRecordSize bytes: record 0 is the priority channel,
// record n channel n (1-199); record k starts at kRecordBase + 16 x k.
constexpr std::size_t kRecordBase = 0x0000;
constexpr std::size_t kRecordSize = 16;
constexpr long kRecords = 200;

// Record bytes: receive and transmit frequency (BCD), decode and encode tone
// (low byte first), flags (power in bits 5-4, channel lock in bit 3). Bytes
// 13-15 are not interpreted.
constexpr std::size_t kRecordRx = 0;
constexpr std::size_t kRecordTx = 4;
constexpr std::size_t kRecordDecode = 8;
constexpr std::size_t kRecordEncode = 10;
constexpr std::size_t kRecordFlags = 12;

// Channel names: 200 names of kNameSize bytes in record order.
constexpr std::size_t kNameBase = 0x0C90;
constexpr std::size_t kNameSize = 8;

// The settings block (Optional Features and the report's options page).
constexpr std::size_t kBeep = 0x1FC0;          // bit 0
constexpr std::size_t kSquelchLevel = 0x1FC1;  // whole byte
constexpr std::size_t kTimeOutTimer = 0x1FC3;  // whole byte
constexpr std::size_t kStep = 0x1FE0;          // whole byte
// Bit 7 channel display, bit 6 busy, bits 5-4 scan mode, bits 3-2 LED,
// bit 1 keypad lock; bit 0 is not interpreted.
constexpr std::size_t kDisplayFlags = 0x1FE1;
// Bit 6 priority scan, bit 5 encoder, bits 1-0 mode; bits 7, 4-2 are not
// interpreted.
constexpr std::size_t kScanFlags = 0x1FE2;
constexpr std::size_t kVoiceSensitivity = 0x1FE4;  // whole byte
constexpr std::size_t kCallTone = 0x1FE5;          // whole byte
constexpr std::size_t kBatterySaver = 0x1FE6;      // whole byte
constexpr std::size_t kPriScanTime = 0x1FE7;       // whole byte

// Product type and band indexes (Product Information).
constexpr std::size_t kTypeIndex = 0x1FD6;
constexpr std::size_t kBandIndex = 0x1FD7;

// The two stretches of memory the clone link moves: the records, 16 bytes
// the program does not interpret and the names; and the settings block.
// 0x12D0-0x1FBF stays in the file and never goes over the link.
constexpr std::size_t kChannelAreaEnd = 0x12D0;
constexpr std::size_t kSettingsBase = 0x1FC0;
constexpr std::size_t kSettingsEnd = 0x2000;

}  // namespace varo::model199
