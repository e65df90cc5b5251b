#pragma once

#include <cstdint>
#include <vector>

#include "radiosim/RadioModel.h"

namespace varo::radiosim {

// The 16-channel radio (1024 bytes of memory) on the clone link:
//
//   wake-up   0x02 "PROGRAM"      -> one answer byte
//   0x02 (identification request) -> the 8 identification bytes
//   0x06                          -> 0x06 once in clone mode
//   "R" hi lo n                   -> 4 header bytes ("W" hi lo n), n data bytes;
//                                    then 0x06 from the programmer -> 0x06
//   "W" hi lo n, n data bytes     -> stored, 0x06
//
// The one-byte write at 0x3F0 is the last frame of a write; taking it makes a
// completed write. A frame outside the memory is ignored (no answer). Any byte
// that is not a command in clone mode leaves clone mode and counts as the
// start of a wake-up, so a new session works without closing the port.
class Radio16 : public RadioModel {
 public:
  static constexpr std::size_t kMemorySize = 1024;
  // Address and length of the frame that ends a write.
  static constexpr std::uint16_t kFinalWriteAddress = 0x3F0;
  // The radio switches into clone mode before it answers the programmer's
  // acknowledge of the identification. The programmer clears its receive
  // buffer right after sending that acknowledge, so an answer quicker than a
  // real radio's could be lost on a pseudo-terminal.
  static constexpr unsigned kReadyDelayMs = 20;

  // Starts with the contents of a new radio (a new document's memory).
  explicit Radio16(Fault fault = {});

  std::string Name() const override { return "16"; }
  std::size_t MemorySize() const override { return kMemorySize; }
  const std::vector<std::uint8_t>& Memory() const override { return memory_; }
  bool SetMemory(const std::vector<std::uint8_t>& memory) override;
  Reaction Receive(std::uint8_t byte) override;
  void EndSession() override;

 private:
  enum class State { kIdle, kAwaitIdRequest, kAwaitAck, kClone, kStalled };

  Reaction MatchWakeUp(std::uint8_t byte);
  Reaction CloneByte(std::uint8_t byte);
  Reaction FrameComplete();
  bool FaultAt(Fault::Kind kind, int frame) const;

  Fault fault_;
  std::vector<std::uint8_t> memory_;
  State state_ = State::kIdle;
  std::size_t wakeUpMatched_ = 0;
  std::vector<std::uint8_t> frame_;  // the clone command being received
  int frameNumber_ = 0;              // of the next frame
  bool readAckDue_ = false;          // a read reply awaits the programmer's 0x06
  bool answerReadAck_ = true;
};

}  // namespace varo::radiosim
