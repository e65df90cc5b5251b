#include "radiosim/Radio16.h"

#include <algorithm>
#include <cstdlib>

#include "model16/MemoryImage.h"

namespace varo::radiosim {

namespace {

constexpr std::uint8_t kWakeUp[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
constexpr std::uint8_t kIdRequest = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRead = 'R';
constexpr std::uint8_t kWrite = 'W';
constexpr std::size_t kCommandLength = 4;  // command, address high, low, count
// The identification is the model identifier and the two bytes after it, as
// the radio's memory holds them.
constexpr std::size_t kIdentification = 0x1B8;
constexpr std::size_t kIdentificationLength = 8;
// What the garbage fault answers instead: nothing a programmer could take for
// an acknowledge.
constexpr std::uint8_t kGarbage = 0x15;
constexpr std::uint8_t kGarbageId = 0xA5;

Reaction Answer(std::vector<std::uint8_t> reply) {
  Reaction r;
  r.reply = std::move(reply);
  return r;
}

}  // namespace

std::optional<Fault> ParseFault(const std::string& text) {
  struct Name {
    const char* name;
    Fault::Kind kind;
    bool takesFrame;
  };
  static constexpr Name kNames[] = {
      {"none", Fault::Kind::kNone, false},       {"silent", Fault::Kind::kSilent, false},
      {"garbage", Fault::Kind::kGarbage, false}, {"short", Fault::Kind::kShortReply, true},
      {"noack", Fault::Kind::kNoAck, true},      {"stall", Fault::Kind::kStall, true},
      {"vanish", Fault::Kind::kVanish, true},
  };
  std::string name = text.substr(0, text.find(':'));
  for (const Name& n : kNames) {
    if (name != n.name) continue;
    Fault fault;
    fault.kind = n.kind;
    if (!n.takesFrame) {
      if (name != text) return std::nullopt;
      return fault;
    }
    if (name.size() + 1 >= text.size()) return std::nullopt;
    std::string number = text.substr(name.size() + 1);
    if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 6) {
      return std::nullopt;
    }
    fault.frame = std::atoi(number.c_str());
    return fault;
  }
  return std::nullopt;
}

Radio16::Radio16(Fault fault) : fault_(fault) {
  model16::MemoryImage image = model16::MemoryImage::NewDocument();
  memory_.assign(image.bytes.begin(), image.bytes.end());
}

bool Radio16::SetMemory(const std::vector<std::uint8_t>& memory) {
  if (memory.size() != kMemorySize) return false;
  memory_ = memory;
  return true;
}

void Radio16::EndSession() {
  state_ = State::kIdle;
  wakeUpMatched_ = 0;
  frame_.clear();
  frameNumber_ = 0;
  readAckDue_ = false;
}

Reaction Radio16::Receive(std::uint8_t byte) {
  if (fault_.kind == Fault::Kind::kSilent || state_ == State::kStalled) return {};
  if (state_ == State::kClone) return CloneByte(byte);

  const bool garbage = fault_.kind == Fault::Kind::kGarbage;
  if (state_ == State::kAwaitIdRequest && byte == kIdRequest) {
    state_ = State::kAwaitAck;
    wakeUpMatched_ = 1;  // the request may as well open a new wake-up
    if (garbage) return Answer(std::vector<std::uint8_t>(kIdentificationLength, kGarbageId));
    auto id = memory_.begin() + kIdentification;
    return Answer({id, id + kIdentificationLength});
  }
  if (state_ == State::kAwaitAck && byte == kAck) {
    wakeUpMatched_ = 0;
    if (garbage) {
      state_ = State::kIdle;
      return Answer({kGarbage});
    }
    state_ = State::kClone;
    frameNumber_ = 0;
    Reaction r = Answer({kAck});
    r.delayMs = kReadyDelayMs;
    return r;
  }
  return MatchWakeUp(byte);
}

Reaction Radio16::MatchWakeUp(std::uint8_t byte) {
  if (byte == kWakeUp[wakeUpMatched_]) {
    ++wakeUpMatched_;
  } else {
    wakeUpMatched_ = byte == kWakeUp[0] ? 1 : 0;
  }
  if (wakeUpMatched_ < sizeof kWakeUp) return {};
  wakeUpMatched_ = 0;
  state_ = State::kAwaitIdRequest;
  return Answer({fault_.kind == Fault::Kind::kGarbage ? kGarbage : kAck});
}

Reaction Radio16::CloneByte(std::uint8_t byte) {
  if (frame_.empty()) {
    if (byte == kRead || byte == kWrite) {
      frame_.push_back(byte);
      return {};
    }
    if (byte == kAck) {
      const bool answer = readAckDue_ && answerReadAck_;
      readAckDue_ = false;
      return answer ? Answer({kAck}) : Reaction{};
    }
    // Not a command: the programmer has started over.
    state_ = State::kIdle;
    readAckDue_ = false;
    return MatchWakeUp(byte);
  }
  frame_.push_back(byte);
  if (frame_.size() < kCommandLength) return {};
  if (frame_[0] == kWrite && frame_.size() < kCommandLength + frame_[3]) return {};
  return FrameComplete();
}

bool Radio16::FaultAt(Fault::Kind kind, int frame) const {
  return fault_.kind == kind && fault_.frame == frame;
}

Reaction Radio16::FrameComplete() {
  std::vector<std::uint8_t> frame;
  frame.swap(frame_);
  readAckDue_ = false;
  const int number = frameNumber_++;

  if (FaultAt(Fault::Kind::kVanish, number)) {
    Reaction r;
    r.vanish = true;
    return r;
  }
  if (FaultAt(Fault::Kind::kStall, number)) {
    state_ = State::kStalled;
    return {};
  }
  const std::size_t address = std::size_t{frame[1]} << 8 | frame[2];
  const std::size_t count = frame[3];
  if (count == 0 || address + count > memory_.size()) return {};

  if (frame[0] == kRead) {
    std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + kCommandLength);
    reply[0] = kWrite;
    reply.insert(reply.end(), memory_.begin() + address, memory_.begin() + address + count);
    if (FaultAt(Fault::Kind::kShortReply, number)) reply.pop_back();
    readAckDue_ = true;
    answerReadAck_ = !FaultAt(Fault::Kind::kNoAck, number);
    return Answer(std::move(reply));
  }
  // A write frame whose acknowledge the fault takes away is not taken either.
  if (FaultAt(Fault::Kind::kShortReply, number) || FaultAt(Fault::Kind::kNoAck, number)) return {};
  std::copy(frame.begin() + kCommandLength, frame.end(), memory_.begin() + address);
  Reaction r = Answer({kAck});
  r.writeCompleted = address == kFinalWriteAddress && count == 1;
  return r;
}

}  // namespace varo::radiosim
