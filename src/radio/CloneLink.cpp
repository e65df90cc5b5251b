#include "radio/CloneLink.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/SerialPort.h"

namespace varo::radio {

namespace {

constexpr unsigned kClearBoth = SerialPort::kTxClear | SerialPort::kRxClear;
constexpr unsigned kAbortAndClearBoth =
    SerialPort::kTxAbort | SerialPort::kRxAbort | SerialPort::kTxClear | SerialPort::kRxClear;

constexpr std::uint8_t kIdRequest = 0x02;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kReadCommand = 'R';
constexpr std::uint8_t kWriteCommand = 'W';
constexpr std::size_t kReplyHeader = 4;
constexpr std::size_t kFramesPerBlock = 2;

class PortCloser {
 public:
  explicit PortCloser(SerialPort& port) : port_(port) {}
  ~PortCloser() { port_.Close(); }
  PortCloser(const PortCloser&) = delete;
  PortCloser& operator=(const PortCloser&) = delete;

 private:
  SerialPort& port_;
};

}  // namespace

const char* CloneMessageText(int id) {
  switch (id) {
    case kMsgCommunicationError:
      return "Communication Error,Please check all the connections and the radio power";
    case kMsgPortOpenFailed:
      return "Could not Open the Port,Please check whether the Port are occupied or the device "
             "are ok";
    case kMsgProgramInterrupt:
      return "Program Interrupt, Please reset the radio and try again";
    default:
      return "";
  }
}

void CloneHost::ShowPortOpenFailed(const PortOpenError&) {
  ShowMessage(kMsgPortOpenFailed, Buttons::kOk);
}

void CloneHost::Sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool CloneLink::OpenPort(const std::string& devicePath) {
  if (!port_.Open(devicePath)) {
    if (!quiet_) host_.ShowPortOpenFailed(port_.LastOpenError());
    return false;
  }
  // As with the original driver calls, a port that refuses a setting is used
  // as it is; a dead line shows up as a failed handshake.
  port_.SetupComm(protocol_.inQueue, protocol_.outQueue);
  port_.SetTimeouts(protocol_.timeouts);
  port_.SetLine9600_8N1();
  return true;
}

bool CloneLink::Pump(int passes, bool pause) {
  for (int i = 0; i < passes; ++i) {
    host_.PumpEvent();
    if (host_.CancelRequested()) return false;
    if (pause) host_.Sleep(1);
  }
  return true;
}

void CloneLink::ClearBuffers() { port_.Purge(kClearBoth); }

// Write results are not checked: a radio that did not get a frame fails to
// answer it, and that is what the link reacts to.
void CloneLink::Send(const std::uint8_t* bytes, std::size_t n) { port_.Write(bytes, n); }

void CloneLink::Send(std::initializer_list<std::uint8_t> bytes) {
  Send(bytes.begin(), bytes.size());
}

bool CloneLink::ReceiveAck() {
  std::uint8_t byte = 0;
  std::size_t got = 0;
  return port_.Read(&byte, 1, got) && got == 1 && byte == kAck;
}

CloneLink::Outcome CloneLink::Interrupted() {
  host_.ShowMessage(kMsgProgramInterrupt, CloneHost::Buttons::kOk);
  return Outcome::kInterrupted;
}

bool CloneLink::WakeUpAnswered(bool& portFailed) {
  std::uint8_t answer = 0;
  std::size_t got = 0;
  portFailed = !port_.Read(&answer, 1, got);
  if (protocol_.wakeUpAnswer == CloneProtocol::WakeUpAnswer::kAnyByte) return !portFailed;
  if (!portFailed && got == 1 && answer == kAck) return true;
  if (portFailed) return false;
  // A second chance: the radio may have sent a stray byte before its answer.
  got = 0;
  return port_.Read(&answer, 1, got) && got == 1 && answer == kAck;
}

CloneLink::Outcome CloneLink::Handshake() {
  identification_.reset();
  int attempt = 1;
  for (;;) {
    if (!Pump(protocol_.handshakePumpPasses, true)) return Outcome::kCancelled;
    port_.Purge(kAbortAndClearBoth);
    for (std::uint8_t byte : protocol_.wakeUp) {
      host_.Sleep(2);
      ClearBuffers();
      Send({byte});
    }
    bool portFailed = false;
    if (!WakeUpAnswered(portFailed)) {
      if (quiet_) return Outcome::kNoRadio;
      host_.Sleep(2);
      if (++attempt <= protocol_.maxAttempts) continue;
    } else {
      host_.Sleep(1);
      ClearBuffers();
      for (std::uint8_t byte : protocol_.afterWakeUp) {
        Send({byte});
        host_.Sleep(1);
      }
      Send({kIdRequest});
      host_.Sleep(1);
      // The identification is not examined; it is kept for the batch log.
      std::vector<std::uint8_t> id(protocol_.identificationLength);
      std::size_t got = 0;
      port_.Read(id.data(), id.size(), got);
      id.resize(got);
      ClearBuffers();
      Send({kAck});
      ClearBuffers();
      host_.Sleep(1);
      if (ReceiveAck()) {
        identification_ = std::move(id);
        return Outcome::kCompleted;
      }
      if (quiet_) return Outcome::kNoRadio;
      if (attempt > protocol_.attemptsBeforeInterrupt) return Interrupted();
    }
    if (host_.ShowMessage(kMsgCommunicationError, CloneHost::Buttons::kRetryCancel) !=
        CloneHost::Answer::kRetry) {
      return Outcome::kHandshakeFailed;
    }
    attempt = 1;
  }
}

std::vector<std::size_t> CloneLink::FrameAddresses(const std::vector<AddressSpan>& spans) const {
  std::vector<std::size_t> addresses;
  for (const AddressSpan& span : spans) {
    for (std::size_t a = span.begin; a + protocol_.frameLength <= span.end;
         a += protocol_.frameLength) {
      addresses.push_back(a);
    }
  }
  return addresses;
}

void CloneLink::SendCommand(std::uint8_t command, std::size_t address, std::size_t length) {
  Send({command, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
        static_cast<std::uint8_t>(length)});
}

bool CloneLink::ReadFrame(std::size_t address, MemoryImage& into) {
  SendCommand(kReadCommand, address, protocol_.frameLength);
  std::vector<std::uint8_t> reply(kReplyHeader + protocol_.frameLength);
  std::size_t got = 0;
  if (!port_.Read(reply.data(), reply.size(), got) || got < reply.size()) return false;
  std::copy(reply.begin() + kReplyHeader, reply.end(),
            into.bytes.begin() + static_cast<std::ptrdiff_t>(address));
  return true;
}

bool CloneLink::AcknowledgeReadFrame() {
  host_.Sleep(1);
  ClearBuffers();
  Send({kAck});
  return ReceiveAck();
}

CloneLink::Outcome CloneLink::Read(const std::string& devicePath, MemoryImage& image) {
  quiet_ = false;
  identification_.reset();
  if (!OpenPort(devicePath)) return Outcome::kPortNotOpened;
  PortCloser closer(port_);
  if (Outcome o = Handshake(); o != Outcome::kCompleted) return o;

  MemoryImage received = image;
  received.bytes.resize(protocol_.imageSize, 0xFF);
  const std::vector<std::size_t> frames = FrameAddresses(protocol_.readSpans);
  int progress = 0;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const bool secondOfBlock = i % kFramesPerBlock == kFramesPerBlock - 1;
    // The second frame of a block follows its first after a 1 ms pause.
    if (secondOfBlock) host_.Sleep(1);
    ClearBuffers();
    if (!ReadFrame(frames[i], received) || !AcknowledgeReadFrame()) return Interrupted();
    if (!secondOfBlock) continue;
    host_.StepProgress(++progress);
    if (!Pump(protocol_.blockPumpPasses, false)) return Outcome::kCancelled;
  }
  image.bytes.resize(protocol_.imageSize, 0xFF);
  for (const AddressSpan& span : protocol_.readSpans) {
    std::copy(received.bytes.begin() + static_cast<std::ptrdiff_t>(span.begin),
              received.bytes.begin() + static_cast<std::ptrdiff_t>(span.end),
              image.bytes.begin() + static_cast<std::ptrdiff_t>(span.begin));
  }
  return Outcome::kCompleted;
}

bool CloneLink::WriteFrame(std::size_t address, const MemoryImage& from) {
  ClearBuffers();
  SendCommand(kWriteCommand, address, protocol_.frameLength);
  host_.Sleep(1);
  Send(from.data() + address, protocol_.frameLength);
  return ReceiveAck();
}

CloneLink::Outcome CloneLink::Write(const std::string& devicePath, const MemoryImage& image) {
  return WriteImage(devicePath, image, false);
}

CloneLink::Outcome CloneLink::WriteIfAnswering(const std::string& devicePath,
                                               const MemoryImage& image) {
  return WriteImage(devicePath, image, true);
}

CloneLink::Outcome CloneLink::Probe(const std::string& devicePath) {
  quiet_ = true;
  identification_.reset();
  if (!OpenPort(devicePath)) return Outcome::kNoRadio;
  PortCloser closer(port_);
  return Handshake();
}

CloneLink::Outcome CloneLink::WriteImage(const std::string& devicePath, const MemoryImage& image,
                                         bool quiet) {
  MemoryImage sent = image;
  sent.bytes.resize(protocol_.imageSize, 0xFF);
  quiet_ = quiet;
  identification_.reset();
  if (!OpenPort(devicePath)) return quiet ? Outcome::kNoRadio : Outcome::kPortNotOpened;
  PortCloser closer(port_);
  const Outcome handshake = Handshake();
  // Once a radio has answered, its failures are messages as in any write.
  quiet_ = false;
  if (handshake != Outcome::kCompleted) return handshake;

  const std::vector<std::size_t> frames = FrameAddresses(protocol_.writeSpans);
  int progress = 0;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (!WriteFrame(frames[i], sent)) return Interrupted();
    if (i % kFramesPerBlock != kFramesPerBlock - 1) continue;
    host_.StepProgress(++progress);
    if (!Pump(protocol_.blockPumpPasses, false)) return Outcome::kCancelled;
  }
  if (const auto& last = protocol_.finalWrite) {
    // The final frame goes straight after its command.
    SendCommand(kWriteCommand, last->begin, last->size());
    Send(sent.data() + last->begin, last->size());
    if (!ReceiveAck()) return Interrupted();
  }
  return Outcome::kCompleted;
}

}  // namespace varo::radio
