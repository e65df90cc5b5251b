#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "radiosim/RadioModel.h"

namespace varo::radiosim {

// What tells one simulated radio from another. The protocol constants are
// written here on their own, from the radio's side, and not taken from the
// programmer's protocol description, so that the simulator stays an
// independent check on the clone link.
struct RadioConfig {
  std::string name;  // what --model names
  std::vector<std::uint8_t> memory;  // a new radio's contents; its size is the memory size
  // The wake-up word the radio listens for; it answers 0x06.
  std::vector<std::uint8_t> wakeUp;
  // Bytes the programmer must send after that answer, before the
  // identification request (none, or "M" completing the word).
  std::vector<std::uint8_t> afterAnswer;
  // The 8 identification bytes: from memory at this address, or, when
  // `fixedIdentification` is not empty, those bytes.
  std::size_t identificationAddress = 0;
  std::vector<std::uint8_t> fixedIdentification;
  // The write frame whose acknowledge completes a write (the memory is saved
  // then).
  std::uint16_t lastWriteAddress = 0;
  std::uint8_t lastWriteLength = 8;
};

// A radio on the clone link, as the configuration describes it:
//
//   wake-up word                  -> 0x06 (then the bytes of afterAnswer)
//   0x02 (identification request) -> the 8 identification bytes
//   0x06                          -> 0x06 once in clone mode
//   "R" hi lo n                   -> 4 header bytes ("W" hi lo n), n data bytes;
//                                    then 0x06 from the programmer -> 0x06
//   "W" hi lo n, n data bytes     -> stored, 0x06
//
// A frame outside the memory is ignored (no answer). Any byte that is not a
// command in clone mode leaves clone mode and counts as the start of a
// wake-up, so a new session works without closing the port.
class CloneRadio : public RadioModel {
 public:
  // The radio switches into clone mode before it answers the programmer's
  // acknowledge of the identification. The programmer clears its receive
  // buffer right after sending that acknowledge, so an answer quicker than a
  // real radio's could be lost on a pseudo-terminal.
  static constexpr unsigned kReadyDelayMs = 20;

  CloneRadio(RadioConfig config, Fault fault = {});

  std::string Name() const override { return config_.name; }
  std::size_t MemorySize() const override { return config_.memory.size(); }
  const std::vector<std::uint8_t>& Memory() const override { return memory_; }
  bool SetMemory(const std::vector<std::uint8_t>& memory) override;
  Reaction Receive(std::uint8_t byte) override;
  void EndSession() override;

  // Whether the radio's programming is over: its memory was read after a
  // write completed, or a clone session wrote frames but not the last one
  // (a failed write).
  bool ProgrammingEnded() const { return readBack_ || writeFailed_; }

 private:
  enum class State { kIdle, kAwaitAfterAnswer, kAwaitIdRequest, kAwaitAck, kClone, kStalled };

  Reaction MatchWakeUp(std::uint8_t byte);
  Reaction CloneByte(std::uint8_t byte);
  Reaction FrameComplete();
  void EndCloneSession();
  bool FaultAt(Fault::Kind kind, int frame) const;
  std::vector<std::uint8_t> Identification() const;

  RadioConfig config_;
  Fault fault_;
  std::vector<std::uint8_t> memory_;
  State state_ = State::kIdle;
  std::size_t wakeUpMatched_ = 0;
  std::size_t afterAnswerMatched_ = 0;
  std::vector<std::uint8_t> frame_;  // the clone command being received
  int frameNumber_ = 0;              // of the next frame
  bool readAckDue_ = false;          // a read reply awaits the programmer's 0x06
  bool answerReadAck_ = true;
  // The clone session's write frames, and what the radio went through.
  bool writeFrames_ = false;
  bool writeCompleted_ = false;
  bool written_ = false;
  bool readBack_ = false;
  bool writeFailed_ = false;
};

// Radios of one configuration standing in for each other behind one cable:
// radio n (1, 2, ... `size`) starts with the fleet's contents and sends an
// identification of its own, its last two bytes being n (high byte first;
// from the memory where the radio takes it from there). The fault strikes
// radio `faulty` only (0: every radio). Once a session has finished a
// radio's programming (CloneRadio::ProgrammingEnded) it is Unplugged(), and
// NextRadio() brings the next one.
class FleetRadio : public RadioModel {
 public:
  FleetRadio(RadioConfig config, int size, Fault fault = {}, int faulty = 0);

  std::string Name() const override { return config_.name; }
  std::size_t MemorySize() const override { return config_.memory.size(); }
  const std::vector<std::uint8_t>& Memory() const override { return radio_->Memory(); }
  // The contents every radio of the fleet starts with; the current radio
  // takes them too (with its identification).
  bool SetMemory(const std::vector<std::uint8_t>& memory) override;
  Reaction Receive(std::uint8_t byte) override { return radio_->Receive(byte); }
  void EndSession() override { radio_->EndSession(); }
  bool Unplugged() const override { return radio_->ProgrammingEnded(); }
  bool NextRadio() override;

  // The current radio's number, 1 for the first.
  int Number() const { return number_; }

 private:
  std::unique_ptr<CloneRadio> MakeRadio() const;

  RadioConfig config_;
  int size_;
  Fault fault_;
  int faulty_;
  int number_ = 1;
  std::unique_ptr<CloneRadio> radio_;
};

// The 16-channel radio (1024 bytes): wake-up 0x02 "PROGRAM", identification
// from memory 0x1B8, a write completed by the one-byte frame at 0x3F0; a new
// radio holds a new document's contents.
RadioConfig Radio16Config();

// The 199-channel radio (8192 bytes): wake-up 0x02 "PROGRA" completed by "M"
// after the answer, an identification of its own, a write completed by the
// last frame of the settings block at 0x1FF8; a new radio holds a new
// document's contents.
RadioConfig Radio199Config();

}  // namespace varo::radiosim
