// The clone link against the simulated radio over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model16/CloneLink.h"
#include "platform/SerialPort.h"
#include "radiosim/Radio16.h"
#include "radiosim/SimulatedRadio.h"

namespace varo::model16 {
namespace {

using Outcome = CloneLink::Outcome;
using Bytes = std::vector<std::uint8_t>;
using radiosim::Fault;

// Everything the link did, in order: port calls, pauses, pumps, progress.
using Trace = std::vector<std::string>;

std::string Hex(const std::uint8_t* data, std::size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigits[data[i] >> 4];
    s += kDigits[data[i] & 15];
  }
  return s;
}

class TestHost : public CloneHost {
 public:
  explicit TestHost(Trace& trace) : trace_(trace) {}
  void StepProgress(int position) override {
    progress.push_back(position);
    trace_.push_back("G" + std::to_string(position));
  }
  void PumpEvent() override {
    trace_.push_back("E");
    if (cancelAtProgress && !progress.empty() && progress.back() == cancelAtProgress) cancel = true;
  }
  bool CancelRequested() override { return cancel; }
  Answer ShowMessage(int id, Buttons buttons) override {
    messages.push_back(id);
    if (buttons == Buttons::kOk) return Answer::kOk;
    return retries-- > 0 ? Answer::kRetry : Answer::kCancel;
  }
  void Sleep(unsigned ms) override {
    pausedMs += ms;
    trace_.push_back("S" + std::to_string(ms));
    if (realSleep) CloneHost::Sleep(ms);
  }

  std::vector<int> progress;
  std::vector<int> messages;
  unsigned pausedMs = 0;
  int cancelAtProgress = 0;
  bool cancel = false;
  int retries = 0;
  bool realSleep = true;

 private:
  Trace& trace_;
};

// Notes every port call in the trace and passes it on to `real`. Without a
// real port it stands alone: every call succeeds, except that the first
// `failingReads` reads fail, and reads bring nothing.
class TracingPort : public SerialPort {
 public:
  TracingPort(Trace& trace, SerialPort* real, int failingReads = 0)
      : trace_(trace), real_(real), failingReads_(failingReads) {}
  bool Open(const std::string& path) override {
    return Note("O"), real_ ? real_->Open(path) : (open_ = true);
  }
  bool IsOpen() const override { return real_ ? real_->IsOpen() : open_; }
  void Close() override { Note("C"), real_ ? real_->Close() : void(open_ = false); }
  bool SetupComm(std::size_t in, std::size_t out) override {
    Note("Q" + std::to_string(in) + "/" + std::to_string(out));
    return !real_ || real_->SetupComm(in, out);
  }
  bool SetTimeouts(const Timeouts& t) override {
    std::string s = "T";
    for (unsigned v : {t.readInterval, t.readTotalMultiplier, t.readTotalConstant,
                       t.writeTotalMultiplier, t.writeTotalConstant}) {
      s += std::to_string(v) + "/";
    }
    return Note(s), !real_ || real_->SetTimeouts(t);
  }
  bool SetLine9600_8N1() override { return Note("L"), !real_ || real_->SetLine9600_8N1(); }
  bool Purge(unsigned flags) override {
    return Note("P" + std::to_string(flags)), !real_ || real_->Purge(flags);
  }
  bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    Note("R" + std::to_string(n));
    if (real_) return real_->Read(buffer, n, got);
    got = 0;
    return failingReads_-- <= 0;
  }
  bool Write(const std::uint8_t* data, std::size_t n) override {
    return Note("W" + Hex(data, n)), !real_ || real_->Write(data, n);
  }

 private:
  void Note(std::string call) { trace_.push_back(std::move(call)); }
  Trace& trace_;
  SerialPort* real_;
  int failingReads_;
  bool open_ = false;
};

// Distinct contents for the radio and the document, so that every byte shows
// where it came from.
Bytes RadioContents() {
  Bytes b(MemoryImage::kSize);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

MemoryImage DocumentContents() {
  MemoryImage image;
  for (std::size_t i = 0; i < MemoryImage::kSize; ++i)
    image[i] = static_cast<std::uint8_t>(0xC3 ^ i);
  return image;
}

Bytes HandshakeBytes() { return {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x02, 0x06}; }

// What the programmer sends during a read that fetches `frames` frames.
Bytes ReadStream(int frames) {
  Bytes s = HandshakeBytes();
  for (int f = 0; f < frames; ++f) {
    const unsigned a = 8u * static_cast<unsigned>(f);
    s.insert(s.end(),
             {'R', static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a), 8, 0x06});
  }
  return s;
}

// What the programmer sends during a complete write of `doc`.
Bytes WriteStream(const MemoryImage& doc) {
  Bytes s = HandshakeBytes();
  for (unsigned a = 0; a <= 0x3D8; a += 8) {
    s.insert(s.end(), {'W', static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a), 8});
    s.insert(s.end(), doc.bytes.begin() + a, doc.bytes.begin() + a + 8);
  }
  s.insert(s.end(), {'W', 0x03, 0xF0, 0x01, doc[0x3F0]});
  return s;
}

// The radio's memory after it took the first `frames` write frames of `doc`
// (frame 124 is the one byte at 0x3F0); every other byte is as it was.
Bytes RadioAfterWrite(const MemoryImage& doc, std::size_t frames) {
  Bytes radio = RadioContents();
  for (std::size_t i = 0; i < radio.size(); ++i) {
    const std::size_t frame = i == 0x3F0 ? 124 : i / 8;
    if ((i < 0x3E0 || i == 0x3F0) && frame < frames) radio[i] = doc[i];
  }
  return radio;
}

class CloneLinkTest : public ::testing::Test {
 protected:
  void StartRadio(Fault fault = {}) {
    radio_ = std::make_unique<radiosim::SimulatedRadio>(std::make_unique<radiosim::Radio16>(fault),
                                                        radiosim::SimOptions{});
    std::string error;
    ASSERT_TRUE(radio_->Open(error)) << error;
    ASSERT_TRUE(radio_->SetMemory(RadioContents()));
    radio_->Start();
  }
  // A read or write through the radio's port, or through `path` when given.
  Outcome Read(MemoryImage& image, const std::string& path = "") {
    return CloneLink(port_, host_).Read(path.empty() ? radio_->PortPath() : path, image);
  }
  Outcome Write(const MemoryImage& image, const std::string& path = "") {
    return CloneLink(port_, host_).Write(path.empty() ? radio_->PortPath() : path, image);
  }

  Trace trace_;
  TestHost host_{trace_};
  std::unique_ptr<SerialPort> real_ = CreateSerialPort();
  TracingPort port_{trace_, real_.get()};
  std::unique_ptr<radiosim::SimulatedRadio> radio_;
};

// The port calls and pauses of the handshake, in order: open and settings,
// six pumped pauses, both buffers purged, the wake-up bytes one by one with
// purges, then the answer, the identification and the ready byte.
const std::string kHandshakeCalls =
    "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
    "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 S2 P12 W4D "
    "R1 S1 P12 W02 S1 R8 P12 W06 P12 S1 R1 ";

std::string Joined(const Trace& trace) {
  std::string s;
  for (const std::string& call : trace) s += call + " ";
  return s;
}

// A complete transfer: the exact calls of the handshake and the first block,
// the last block and the close; then the bytes the radio got, the progress
// and the sum of the pauses.
TEST_F(CloneLinkTest, ReadFollowsTheProtocolAndReplacesTheReceivedRangeOnly) {
  StartRadio();
  MemoryImage image = DocumentContents();
  ASSERT_EQ(Read(image), Outcome::kCompleted);
  const std::string calls = Joined(trace_);
  const std::string head =
      kHandshakeCalls +
      "P12 W52000008 R12 S1 P12 W06 R1 S1 P12 W52000808 R12 S1 P12 W06 R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "G63 E E E E E P12 W5203F008 R12 S1 P12 W06 R1 C ";
  EXPECT_EQ(calls.substr(calls.size() - std::min(end.size(), calls.size())), end);

  MemoryImage expected = DocumentContents();
  std::copy_n(RadioContents().begin(), 0x3F8, expected.bytes.begin());
  EXPECT_EQ(image, expected);
  EXPECT_EQ(radio_->Received(), ReadStream(127));
  EXPECT_EQ(host_.progress.size(), static_cast<std::size_t>(CloneLink::kReadBlocks));
  EXPECT_TRUE(host_.messages.empty());
  // Handshake 6 + 16 + 3 ms; 1 ms before each acknowledge, 1 ms before each
  // second command of a block.
  EXPECT_EQ(host_.pausedMs, 25u + 127u + 63u);
}

TEST_F(CloneLinkTest, WriteFollowsTheProtocolAndSendsBlocksAndCallToneOnly) {
  StartRadio();
  const MemoryImage doc = DocumentContents();
  ASSERT_EQ(Write(doc), Outcome::kCompleted);
  const std::string calls = Joined(trace_);
  const std::string head = kHandshakeCalls + "P12 W57000008 S1 W" + Hex(&doc.bytes[0], 8) +
                           " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) + " R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "G62 E E E E E W5703F001 W" + Hex(&doc.bytes[0x3F0], 1) + " R1 C ";
  EXPECT_EQ(calls.substr(calls.size() - std::min(end.size(), calls.size())), end);

  EXPECT_EQ(radio_->Received(), WriteStream(doc));
  EXPECT_EQ(radio_->Memory(), RadioAfterWrite(doc, 125));
  EXPECT_EQ(radio_->CompletedWrites(), 1);
  EXPECT_EQ(host_.progress.size(), static_cast<std::size_t>(CloneLink::kWriteBlocks));
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(host_.pausedMs, 25u + 124u);  // handshake, 1 ms between command and data
}

struct FaultCase {
  const char* name;
  bool write;
  Fault fault;
  int message;
  Outcome outcome;
  // Write: frames the radio holds afterwards (those before the fault).
  std::size_t framesTaken;
  int retries = 0;  // Retry answers to 61451; each starts the handshake again
};

// Keeps the test listing readable: the case's name stands for its bytes.
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class CloneLinkFaultTest : public CloneLinkTest, public ::testing::WithParamInterface<FaultCase> {};

// Every fault gives its message. A read leaves the document as it was; a write
// leaves the radio holding exactly the frames it acknowledged before the
// fault. Faults are chosen where their time-outs stay short.
TEST_P(CloneLinkFaultTest, GivesItsMessageAndKeepsData) {
  const FaultCase& c = GetParam();
  StartRadio(c.fault);
  host_.retries = c.retries;
  const MemoryImage doc = DocumentContents();
  MemoryImage image = doc;
  const Outcome outcome = c.write ? Write(doc) : Read(image);

  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(host_.messages, std::vector<int>(static_cast<std::size_t>(c.retries + 1), c.message));
  EXPECT_FALSE(port_.IsOpen());
  if (!c.write) {
    EXPECT_EQ(image, doc);
    return;
  }
  EXPECT_EQ(radio_->Memory(), RadioAfterWrite(doc, c.framesTaken));
  EXPECT_EQ(radio_->CompletedWrites(), 0);
}

// clang-format off
constexpr bool kRead = false, kWrite = true;
constexpr int k61451 = kMsgCommunicationError, k61454 = kMsgProgramInterrupt;
constexpr Outcome kNoHandshake = Outcome::kHandshakeFailed, kBroken = Outcome::kInterrupted;
using K = Fault::Kind;
const FaultCase kFaultCases[] = {
  // name                      direction fault                 message outcome     taken retries
  {"ReadSilent",               kRead,  {K::kSilent, 0},        k61451, kNoHandshake, 0},
  {"ReadGarbageRetried",       kRead,  {K::kGarbage, 0},       k61451, kNoHandshake, 0,   2},
  {"ReadShortReply",           kRead,  {K::kShortReply, 40},   k61454, kBroken,      0},
  {"ReadNoAck",                kRead,  {K::kNoAck, 126},       k61454, kBroken,      0},
  {"ReadVanish",               kRead,  {K::kVanish, 7},        k61454, kBroken,      0},
  {"WriteGarbage",             kWrite, {K::kGarbage, 0},       k61451, kNoHandshake, 0},
  {"WriteNoAck",               kWrite, {K::kNoAck, 33},        k61454, kBroken,      33},
  {"WriteStall",               kWrite, {K::kStall, 50},        k61454, kBroken,      50},
  {"WriteVanish",              kWrite, {K::kVanish, 0},        k61454, kBroken,      0},
  {"WriteFinalFrameNotTaken",  kWrite, {K::kShortReply, 124},  k61454, kBroken,      124},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Faults, CloneLinkFaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.name);
                         });

// A cancel seen by the pump after block 5 ends the transfer there: the radio
// got whole blocks only, the document is untouched, no message is shown.
TEST_F(CloneLinkTest, CancelEndsAfterTheCurrentBlock) {
  StartRadio();
  host_.cancelAtProgress = 5;
  MemoryImage image = DocumentContents();
  EXPECT_EQ(Read(image), Outcome::kCancelled);
  EXPECT_EQ(image, DocumentContents());
  EXPECT_EQ(radio_->Received(), ReadStream(10));

  host_.progress.clear();
  host_.cancel = false;
  const MemoryImage doc = DocumentContents();
  EXPECT_EQ(Write(doc), Outcome::kCancelled);
  EXPECT_EQ(radio_->Memory(), RadioAfterWrite(doc, 10));
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_FALSE(port_.IsOpen());
}

TEST_F(CloneLinkTest, BusyOrMissingPortGivesOpenMessageOnly) {
  StartRadio();
  auto holder = CreateSerialPort();
  ASSERT_TRUE(holder->Open(radio_->PortPath()));

  for (const std::string& path : {radio_->PortPath(), std::string("/nonexistent/ttyVARO")}) {
    host_.messages.clear();
    trace_.clear();
    MemoryImage image = DocumentContents();
    EXPECT_EQ(Read(image, path), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(Write(image, path), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(host_.messages, (std::vector<int>{kMsgPortOpenFailed, kMsgPortOpenFailed})) << path;
    EXPECT_EQ(image, DocumentContents());
    // Nothing but the attempts to open: no setting, pump, pause or progress.
    EXPECT_EQ(trace_, (Trace{"O", "O"})) << path;
  }
  EXPECT_TRUE(radio_->Received().empty());
}

// Port errors during the wake-up are retried quietly up to 15 times; a
// handshake that then fails gives 61454 once more than five attempts went by.
TEST(CloneLinkHandshakeTest, PortErrorsCountAttempts) {
  struct {
    int failures;
    int message;
    long reads;  // the failed ones, then wake-up answer, identification, ready
  } cases[] = {
      {4, kMsgCommunicationError, 4 + 3},
      {5, kMsgProgramInterrupt, 5 + 3},
      {15, kMsgCommunicationError, 15},
  };
  for (const auto& c : cases) {
    Trace trace;
    TestHost host(trace);
    host.realSleep = false;
    TracingPort port(trace, nullptr, c.failures);
    MemoryImage image = DocumentContents();
    EXPECT_NE(CloneLink(port, host).Read("failing", image), Outcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<int>{c.message}) << c.failures << " failures";
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](auto& t) { return t[0] == 'R'; }),
              c.reads)
        << c.failures << " failures";
    EXPECT_FALSE(port.IsOpen());
  }
}

}  // namespace
}  // namespace varo::model16
