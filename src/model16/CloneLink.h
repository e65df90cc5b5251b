#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "model16/CloneHost.h"
#include "model16/MemoryImage.h"

namespace varo {
class SerialPort;
}

namespace varo::model16 {

// The serial clone link of the 16-channel radio: copies the memory image from
// the radio (Read) or into it (Write) in frames of 8 bytes, 9600 baud 8N1.
//
// Single-threaded: the transfer runs on the caller's thread and keeps the
// interface alive through CloneHost::PumpEvent between blocks; a cancel flag
// seen there ends the transfer after the current block, without a message.
// Every failure shows its message through the host before the call returns,
// and every ending closes the port.
//
// The link moves bytes only; the caller commits the channel table into the
// image before a write and rebuilds the table after a completed read.
class CloneLink {
 public:
  enum class Outcome {
    kCompleted,
    kCancelled,        // the cancel flag was seen; no message
    kPortNotOpened,    // message 61453
    kHandshakeFailed,  // message 61451 answered with Cancel
    kInterrupted,      // message 61454
  };

  // Progress positions reached by a complete transfer, one per block: the
  // Process dialog's range is 0 to these.
  static constexpr int kReadBlocks = 63;
  static constexpr int kWriteBlocks = 62;
  // Image bytes a read replaces: 0x000-0x3F7. The rest stay as they were.
  static constexpr std::size_t kReadEnd = 0x3F8;

  CloneLink(SerialPort& port, CloneHost& host) : port_(port), host_(host) {}

  // Reads 0x000-0x3F7 from the radio behind `devicePath`. The bytes go into a
  // copy; `image` receives them only when the whole read completed, so a read
  // that fails or is cancelled leaves `image` exactly as it was.
  Outcome Read(const std::string& devicePath, MemoryImage& image);

  // Writes 0x000-0x3DF and the one byte at 0x3F0 of `image` into the radio.
  // The image is taken as it stands when the call starts.
  Outcome Write(const std::string& devicePath, const MemoryImage& image);

 private:
  bool OpenPort(const std::string& devicePath);
  Outcome Handshake();
  bool Pump(int passes, bool pause);
  void ClearBuffers();
  void Send(std::initializer_list<std::uint8_t> bytes);
  void Send(const std::uint8_t* bytes, std::size_t n);
  bool ReceiveAck();
  bool ReadFrame(std::size_t address, MemoryImage& into);
  bool AcknowledgeReadFrame();
  bool WriteFrame(std::size_t address, const MemoryImage& from);
  Outcome Interrupted();

  SerialPort& port_;
  CloneHost& host_;
};

}  // namespace varo::model16
