#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "radio/CloneHost.h"
#include "radio/CloneProtocol.h"
#include "radio/MemoryImage.h"

namespace varo {
class SerialPort;
}

namespace varo::radio {

// The serial clone link: copies a memory image from the radio (Read) or into
// it (Write), frame by frame as the radio's CloneProtocol describes.
//
// Single-threaded: the transfer runs on the caller's thread and keeps the
// interface alive through CloneHost::PumpEvent between blocks; a cancel flag
// seen there ends the transfer after the current block, without a message.
// Every failure shows its message through the host before the call returns
// (but for the quiet tries of WriteIfAnswering and Probe), and every ending
// closes the port.
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
    kNoRadio,          // Probe, WriteIfAnswering: no radio answered; no message
  };

  // `protocol` must outlive the link.
  CloneLink(SerialPort& port, CloneHost& host, const CloneProtocol& protocol)
      : port_(port), host_(host), protocol_(protocol) {}

  // Reads the protocol's read spans from the radio behind `devicePath`. The
  // bytes go into a copy; `image` receives them only when the whole read
  // completed, so a read that fails or is cancelled leaves `image` exactly as
  // it was. Bytes outside the spans are never changed.
  Outcome Read(const std::string& devicePath, MemoryImage& image);

  // Writes the write spans (and the final short frame) of `image` into the
  // radio. The image is taken as it stands when the call starts.
  Outcome Write(const std::string& devicePath, const MemoryImage& image);

  // For a batch of radios, where the next radio may not be there yet: a port
  // that does not open (the device missing while a cable is replugged, or
  // busy) or a radio that does not complete the handshake at its first try
  // gives kNoRadio, without a message; the port's LastOpenError() tells
  // whether it opened. A radio that answered is written as by Write(), with
  // its messages.
  Outcome WriteIfAnswering(const std::string& devicePath, const MemoryImage& image);
  // The handshake alone, as quiet as WriteIfAnswering: kCompleted when a
  // radio answered (the port is then closed without a frame), else kNoRadio
  // or kCancelled.
  Outcome Probe(const std::string& devicePath);

  // The identification the radio sent in the last handshake that completed
  // (up to the protocol's identificationLength bytes); nothing when the last
  // read, write or probe did not get that far. Kept for the batch log only.
  const std::optional<std::vector<std::uint8_t>>& LastIdentification() const {
    return identification_;
  }

 private:
  Outcome WriteImage(const std::string& devicePath, const MemoryImage& image, bool quiet);
  bool OpenPort(const std::string& devicePath);
  Outcome Handshake();
  bool WakeUpAnswered(bool& portFailed);
  bool Pump(int passes, bool pause);
  void ClearBuffers();
  void Send(std::initializer_list<std::uint8_t> bytes);
  void Send(const std::uint8_t* bytes, std::size_t n);
  bool ReceiveAck();
  void SendCommand(std::uint8_t command, std::size_t address, std::size_t length);
  bool ReadFrame(std::size_t address, MemoryImage& into);
  bool AcknowledgeReadFrame();
  bool WriteFrame(std::size_t address, const MemoryImage& from);
  Outcome Interrupted();
  std::vector<std::size_t> FrameAddresses(const std::vector<AddressSpan>& spans) const;

  SerialPort& port_;
  CloneHost& host_;
  const CloneProtocol& protocol_;
  // A failed open or first handshake try gives kNoRadio without a message.
  bool quiet_ = false;
  std::optional<std::vector<std::uint8_t>> identification_;
};

}  // namespace varo::radio
