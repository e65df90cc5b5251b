#include "model16/CloneLink.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/SerialPort.h"

namespace varo::model16 {

namespace {

// Line and queue settings of the link: reads wait 30 ms between bytes and at
// most 500 ms per byte asked plus 90 ms; writes at most 50 ms per byte plus
// 50 ms.
constexpr SerialPort::Timeouts kTimeouts{30, 500, 90, 50, 50};
constexpr std::size_t kInQueue = 1024;
constexpr std::size_t kOutQueue = 512;

constexpr unsigned kClearBoth = SerialPort::kTxClear | SerialPort::kRxClear;
constexpr unsigned kAbortAndClearBoth =
    SerialPort::kTxAbort | SerialPort::kRxAbort | SerialPort::kTxClear | SerialPort::kRxClear;

constexpr std::uint8_t kWakeUp[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
constexpr std::uint8_t kIdRequest = 0x02;
constexpr std::size_t kIdLength = 8;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kReadCommand = 'R';
constexpr std::uint8_t kWriteCommand = 'W';
constexpr std::uint8_t kFrameLength = 8;
constexpr std::size_t kReplyHeader = 4;

// Handshake attempts: a first read that fails with a port error is retried up
// to this count before the Retry/Cancel message; a failed handshake after more
// than kAttemptsBeforeInterrupt such failures gives the Program Interrupt
// message instead.
constexpr int kMaxAttempts = 15;
constexpr int kAttemptsBeforeInterrupt = 5;
constexpr int kHandshakePumpPasses = 6;
constexpr int kBlockPumpPasses = 5;

// A read fetches blocks 0-62 whole and the first half of block 63; a write
// sends blocks 0-61 whole, then the Call Tone byte on its own.
constexpr int kReadBlockCount = 64;
constexpr std::uint16_t kFinalWriteAddress = 0x3F0;

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

void CloneHost::Sleep(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool CloneLink::OpenPort(const std::string& devicePath) {
  if (!port_.Open(devicePath)) {
    host_.ShowMessage(kMsgPortOpenFailed, CloneHost::Buttons::kOk);
    return false;
  }
  // As with the original driver calls, a port that refuses a setting is used
  // as it is; a dead line shows up as a failed handshake.
  port_.SetupComm(kInQueue, kOutQueue);
  port_.SetTimeouts(kTimeouts);
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

CloneLink::Outcome CloneLink::Handshake() {
  int attempt = 1;
  for (;;) {
    if (!Pump(kHandshakePumpPasses, true)) return Outcome::kCancelled;
    port_.Purge(kAbortAndClearBoth);
    for (std::uint8_t byte : kWakeUp) {
      host_.Sleep(2);
      ClearBuffers();
      Send({byte});
    }
    std::uint8_t answer = 0;  // its value does not matter
    std::size_t got = 0;
    if (!port_.Read(&answer, 1, got)) {
      host_.Sleep(2);
      if (++attempt <= kMaxAttempts) continue;
    } else {
      host_.Sleep(1);
      ClearBuffers();
      Send({kIdRequest});
      host_.Sleep(1);
      std::uint8_t id[kIdLength];  // neither kept nor examined
      port_.Read(id, kIdLength, got);
      ClearBuffers();
      Send({kAck});
      ClearBuffers();
      host_.Sleep(1);
      if (ReceiveAck()) return Outcome::kCompleted;
      if (attempt > kAttemptsBeforeInterrupt) return Interrupted();
    }
    if (host_.ShowMessage(kMsgCommunicationError, CloneHost::Buttons::kRetryCancel) !=
        CloneHost::Answer::kRetry) {
      return Outcome::kHandshakeFailed;
    }
    attempt = 1;
  }
}

bool CloneLink::ReadFrame(std::size_t address, MemoryImage& into) {
  Send({kReadCommand, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
        kFrameLength});
  std::uint8_t reply[kReplyHeader + kFrameLength];
  std::size_t got = 0;
  if (!port_.Read(reply, sizeof reply, got) || got < sizeof reply) return false;
  std::copy(reply + kReplyHeader, reply + sizeof reply, into.bytes.begin() + address);
  return true;
}

bool CloneLink::AcknowledgeReadFrame() {
  host_.Sleep(1);
  ClearBuffers();
  Send({kAck});
  return ReceiveAck();
}

CloneLink::Outcome CloneLink::Read(const std::string& devicePath, MemoryImage& image) {
  if (!OpenPort(devicePath)) return Outcome::kPortNotOpened;
  PortCloser closer(port_);
  if (Outcome o = Handshake(); o != Outcome::kCompleted) return o;

  MemoryImage received = image;
  std::size_t address = 0;
  int progress = 0;
  for (int block = 0; block < kReadBlockCount; ++block) {
    ClearBuffers();
    if (!ReadFrame(address, received) || !AcknowledgeReadFrame()) return Interrupted();
    if (block == kReadBlockCount - 1) break;  // only the first half of the last block
    address += kFrameLength;
    host_.Sleep(1);
    ClearBuffers();
    if (!ReadFrame(address, received) || !AcknowledgeReadFrame()) return Interrupted();
    address += kFrameLength;
    host_.StepProgress(++progress);
    if (!Pump(kBlockPumpPasses, false)) return Outcome::kCancelled;
  }
  std::copy(received.bytes.begin(), received.bytes.begin() + kReadEnd, image.bytes.begin());
  return Outcome::kCompleted;
}

bool CloneLink::WriteFrame(std::size_t address, const MemoryImage& from) {
  ClearBuffers();
  Send({kWriteCommand, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
        kFrameLength});
  host_.Sleep(1);
  Send(from.bytes.data() + address, kFrameLength);
  return ReceiveAck();
}

CloneLink::Outcome CloneLink::Write(const std::string& devicePath, const MemoryImage& image) {
  const MemoryImage sent = image;
  if (!OpenPort(devicePath)) return Outcome::kPortNotOpened;
  PortCloser closer(port_);
  if (Outcome o = Handshake(); o != Outcome::kCompleted) return o;

  std::size_t address = 0;
  for (int block = 0; block < kWriteBlocks; ++block) {
    if (!WriteFrame(address, sent)) return Interrupted();
    address += kFrameLength;
    if (!WriteFrame(address, sent)) return Interrupted();
    address += kFrameLength;
    host_.StepProgress(block + 1);
    if (!Pump(kBlockPumpPasses, false)) return Outcome::kCancelled;
  }
  // The Call Tone byte goes on its own, straight after its command.
  Send({kWriteCommand, kFinalWriteAddress >> 8, kFinalWriteAddress & 0xFF, 1});
  Send(&sent.bytes[kFinalWriteAddress], 1);
  if (!ReceiveAck()) return Interrupted();
  return Outcome::kCompleted;
}

}  // namespace varo::model16
