#include "radiosim/CloneRadio.h"

#include <algorithm>
#include <cstdlib>

#include "model16/MemoryImage.h"
#include "model199/MemoryImage.h"

namespace varo::radiosim {

namespace {

constexpr std::uint8_t kIdRequest = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kRead = 'R';
constexpr std::uint8_t kWrite = 'W';
constexpr std::size_t kCommandLength = 4;  // command, address high, low, count
constexpr std::size_t kIdentificationLength = 8;
// What the garbage fault answers instead: nothing a programmer could take for
// an acknowledge. The wake-up gets two such bytes, so that a programmer that
// reads a second byte when the first was wrong finds no acknowledge either.
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
      {"vanish", Fault::Kind::kVanish, true},    {"lose", Fault::Kind::kLose, true},
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

RadioConfig Radio16Config() {
  RadioConfig c;
  c.name = "16";
  c.memory = model16::NewImage().bytes;
  c.wakeUp = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
  // The model identifier and the two bytes after it, as the memory holds them.
  c.identificationAddress = 0x1B8;
  // The call tone byte goes last, in a frame of its own.
  c.lastWriteAddress = 0x3F0;
  c.lastWriteLength = 1;
  return c;
}

RadioConfig Radio199Config() {
  RadioConfig c;
  c.name = "199";
  c.memory = model199::NewImage().bytes;
  c.wakeUp = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
  c.afterAnswer = {'M'};
  // The memory carries no model identifier; the radio answers with its own.
  c.fixedIdentification = {'V', '1', '9', '9', 'V', '3', 0x00, 0x01};
  // The last frame of the settings block ends a write.
  c.lastWriteAddress = 0x1FF8;
  c.lastWriteLength = 8;
  return c;
}

CloneRadio::CloneRadio(RadioConfig config, Fault fault)
    : config_(std::move(config)), fault_(fault), memory_(config_.memory) {}

bool CloneRadio::SetMemory(const std::vector<std::uint8_t>& memory) {
  if (memory.size() != MemorySize()) return false;
  memory_ = memory;
  return true;
}

std::vector<std::uint8_t> CloneRadio::Identification() const {
  if (!config_.fixedIdentification.empty()) return config_.fixedIdentification;
  const std::size_t at = std::min(config_.identificationAddress, memory_.size());
  const std::size_t end = std::min(at + kIdentificationLength, memory_.size());
  std::vector<std::uint8_t> id(memory_.begin() + static_cast<std::ptrdiff_t>(at),
                               memory_.begin() + static_cast<std::ptrdiff_t>(end));
  id.resize(kIdentificationLength, 0xFF);
  return id;
}

void CloneRadio::EndCloneSession() {
  writeFailed_ = writeFailed_ || (writeFrames_ && !writeCompleted_);
  writeFrames_ = writeCompleted_ = false;
}

void CloneRadio::EndSession() {
  EndCloneSession();
  state_ = State::kIdle;
  wakeUpMatched_ = 0;
  afterAnswerMatched_ = 0;
  frame_.clear();
  frameNumber_ = 0;
  readAckDue_ = false;
}

Reaction CloneRadio::Receive(std::uint8_t byte) {
  if (fault_.kind == Fault::Kind::kSilent || state_ == State::kStalled) return {};
  if (state_ == State::kClone) return CloneByte(byte);

  const bool garbage = fault_.kind == Fault::Kind::kGarbage;
  if (state_ == State::kAwaitAfterAnswer) {
    if (byte == config_.afterAnswer[afterAnswerMatched_]) {
      if (++afterAnswerMatched_ == config_.afterAnswer.size()) state_ = State::kAwaitIdRequest;
      return {};
    }
    state_ = State::kIdle;
    return MatchWakeUp(byte);
  }
  if (state_ == State::kAwaitIdRequest && byte == kIdRequest) {
    state_ = State::kAwaitAck;
    wakeUpMatched_ = 1;  // the request may as well open a new wake-up
    if (garbage) return Answer(std::vector<std::uint8_t>(kIdentificationLength, kGarbageId));
    return Answer(Identification());
  }
  if (state_ == State::kAwaitAck && byte == kAck) {
    wakeUpMatched_ = 0;
    if (garbage) {
      state_ = State::kIdle;
      return Answer({kGarbage});
    }
    // A programmer that reopens the port at once may be back before the
    // radio noticed the close: a new handshake ends a clone session too.
    EndCloneSession();
    state_ = State::kClone;
    frameNumber_ = 0;
    Reaction r = Answer({kAck});
    r.delayMs = kReadyDelayMs;
    return r;
  }
  return MatchWakeUp(byte);
}

Reaction CloneRadio::MatchWakeUp(std::uint8_t byte) {
  const std::vector<std::uint8_t>& word = config_.wakeUp;
  if (byte == word[wakeUpMatched_]) {
    ++wakeUpMatched_;
  } else {
    wakeUpMatched_ = byte == word[0] ? 1 : 0;
  }
  if (wakeUpMatched_ < word.size()) return {};
  wakeUpMatched_ = 0;
  afterAnswerMatched_ = 0;
  state_ = config_.afterAnswer.empty() ? State::kAwaitIdRequest : State::kAwaitAfterAnswer;
  if (fault_.kind == Fault::Kind::kGarbage) return Answer({kGarbage, kGarbage});
  return Answer({kAck});
}

Reaction CloneRadio::CloneByte(std::uint8_t byte) {
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

bool CloneRadio::FaultAt(Fault::Kind kind, int frame) const {
  return fault_.kind == kind && fault_.frame == frame;
}

Reaction CloneRadio::FrameComplete() {
  std::vector<std::uint8_t> frame;
  frame.swap(frame_);
  readAckDue_ = false;
  const int number = frameNumber_++;
  if (frame[0] == kRead) {
    readBack_ = readBack_ || written_;
  } else {
    writeFrames_ = true;
  }

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
  const auto first = memory_.begin() + static_cast<std::ptrdiff_t>(address);

  if (frame[0] == kRead) {
    std::vector<std::uint8_t> reply(frame.begin(), frame.begin() + kCommandLength);
    reply[0] = kWrite;
    reply.insert(reply.end(), first, first + static_cast<std::ptrdiff_t>(count));
    if (FaultAt(Fault::Kind::kShortReply, number)) reply.pop_back();
    readAckDue_ = true;
    answerReadAck_ = !FaultAt(Fault::Kind::kNoAck, number);
    return Answer(std::move(reply));
  }
  // A write frame whose acknowledge the fault takes away is not taken either.
  if (FaultAt(Fault::Kind::kShortReply, number) || FaultAt(Fault::Kind::kNoAck, number)) return {};
  if (!FaultAt(Fault::Kind::kLose, number))
    std::copy(frame.begin() + kCommandLength, frame.end(), first);
  Reaction r = Answer({kAck});
  r.writeCompleted = address == config_.lastWriteAddress && count == config_.lastWriteLength;
  writeCompleted_ = writeCompleted_ || r.writeCompleted;
  written_ = written_ || r.writeCompleted;
  return r;
}

FleetRadio::FleetRadio(RadioConfig config, int size, Fault fault, int faulty)
    : config_(std::move(config)), size_(size), fault_(fault), faulty_(faulty), radio_(MakeRadio()) {}

std::unique_ptr<CloneRadio> FleetRadio::MakeRadio() const {
  RadioConfig config = config_;
  std::vector<std::uint8_t>& id = config.fixedIdentification.empty() ? config.memory
                                                                     : config.fixedIdentification;
  const std::size_t at =
      config.fixedIdentification.empty() ? config.identificationAddress : std::size_t{0};
  if (at + kIdentificationLength <= id.size()) {
    id[at + kIdentificationLength - 2] = static_cast<std::uint8_t>(number_ >> 8);
    id[at + kIdentificationLength - 1] = static_cast<std::uint8_t>(number_);
  }
  const bool faulty = faulty_ == 0 || faulty_ == number_;
  return std::make_unique<CloneRadio>(std::move(config), faulty ? fault_ : Fault{});
}

bool FleetRadio::SetMemory(const std::vector<std::uint8_t>& memory) {
  if (memory.size() != MemorySize()) return false;
  config_.memory = memory;
  radio_ = MakeRadio();
  return true;
}

bool FleetRadio::NextRadio() {
  if (number_ >= size_) return false;
  ++number_;
  radio_ = MakeRadio();
  return true;
}

}  // namespace varo::radiosim
