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
    if (retries > 0) {
      --retries;
      return Answer::kRetry;
    }
    return Answer::kCancel;
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

// Passes every call to the real port and notes it in the trace.
class RecordingPort : public SerialPort {
 public:
  RecordingPort(SerialPort& port, Trace& trace) : port_(port), trace_(trace) {}
  bool Open(const std::string& path) override { return Note("O"), port_.Open(path); }
  bool IsOpen() const override { return port_.IsOpen(); }
  void Close() override { Note("C"), port_.Close(); }
  bool SetupComm(std::size_t in, std::size_t out) override {
    return Note("Q" + std::to_string(in) + "/" + std::to_string(out)), port_.SetupComm(in, out);
  }
  bool SetTimeouts(const Timeouts& t) override {
    std::string s = "T";
    for (unsigned v : {t.readInterval, t.readTotalMultiplier, t.readTotalConstant,
                       t.writeTotalMultiplier, t.writeTotalConstant}) {
      s += std::to_string(v) + "/";
    }
    return Note(s), port_.SetTimeouts(t);
  }
  bool SetLine9600_8N1() override { return Note("L"), port_.SetLine9600_8N1(); }
  bool Purge(unsigned flags) override {
    return Note("P" + std::to_string(flags)), port_.Purge(flags);
  }
  bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    return Note("R" + std::to_string(n)), port_.Read(buffer, n, got);
  }
  bool Write(const std::uint8_t* data, std::size_t n) override {
    return Note("W" + Hex(data, n)), port_.Write(data, n);
  }

 private:
  void Note(std::string call) { trace_.push_back(std::move(call)); }
  SerialPort& port_;
  Trace& trace_;
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
  Outcome Read(MemoryImage& image) {
    CloneLink link(*port_, host_);
    return link.Read(radio_->PortPath(), image);
  }
  Outcome Write(const MemoryImage& image) {
    CloneLink link(*port_, host_);
    return link.Write(radio_->PortPath(), image);
  }

  Trace trace_;
  TestHost host_{trace_};
  std::unique_ptr<SerialPort> port_ = CreateSerialPort();
  std::unique_ptr<radiosim::SimulatedRadio> radio_;
};

TEST_F(CloneLinkTest, ReadReplacesTheReceivedRangeOnly) {
  StartRadio();
  MemoryImage image = DocumentContents();
  ASSERT_EQ(Read(image), Outcome::kCompleted);

  MemoryImage expected = DocumentContents();
  std::copy_n(RadioContents().begin(), 0x3F8, expected.bytes.begin());
  EXPECT_EQ(image, expected);
  EXPECT_EQ(radio_->Received(), ReadStream(127));
  ASSERT_EQ(host_.progress.size(), static_cast<std::size_t>(CloneLink::kReadBlocks));
  EXPECT_EQ(host_.progress.back(), CloneLink::kReadBlocks);
  EXPECT_TRUE(host_.messages.empty());
  // Handshake 6 + 16 + 3 ms; 1 ms before each acknowledge, 1 ms before each
  // second command of a block.
  EXPECT_EQ(host_.pausedMs, 25u + 127u + 63u);
  EXPECT_FALSE(port_->IsOpen());
}

TEST_F(CloneLinkTest, WriteSendsBlocksAndCallToneOnly) {
  StartRadio();
  const MemoryImage doc = DocumentContents();
  ASSERT_EQ(Write(doc), Outcome::kCompleted);

  EXPECT_EQ(radio_->Received(), WriteStream(doc));
  EXPECT_EQ(radio_->Memory(), RadioAfterWrite(doc, 125));
  EXPECT_EQ(radio_->CompletedWrites(), 1);
  ASSERT_EQ(host_.progress.size(), static_cast<std::size_t>(CloneLink::kWriteBlocks));
  EXPECT_EQ(host_.progress.back(), CloneLink::kWriteBlocks);
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(host_.pausedMs, 25u + 124u);  // handshake, 1 ms between command and data
}

// The exact sequence of port calls and pauses: purges, pauses and frames in
// their order, for the handshake, the first block and the end of a transfer.
TEST_F(CloneLinkTest, PortCallsFollowTheProtocol) {
  StartRadio();
  auto real = CreateSerialPort();
  RecordingPort recording(*real, trace_);
  port_.reset();

  // The calls of the trace from `from` on, as many as `expected` holds.
  auto at = [this](std::size_t from, const std::string& expected) {
    const auto count = static_cast<std::size_t>(std::count(expected.begin(), expected.end(), ' '));
    std::string s;
    for (std::size_t i = from; i < from + count && i < trace_.size(); ++i) s += trace_[i] + " ";
    return s;
  };
  auto tail = [&](const std::string& expected) {
    const auto count = static_cast<std::size_t>(std::count(expected.begin(), expected.end(), ' '));
    return at(trace_.size() - std::min(count, trace_.size()), expected);
  };
  const std::string kHandshake =
      "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
      "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 S2 P12 W4D "
      "R1 S1 P12 W02 S1 R8 P12 W06 P12 S1 R1 ";
  const std::size_t afterHandshake =
      static_cast<std::size_t>(std::count(kHandshake.begin(), kHandshake.end(), ' '));

  MemoryImage image = DocumentContents();
  {
    CloneLink link(recording, host_);
    ASSERT_EQ(link.Read(radio_->PortPath(), image), Outcome::kCompleted);
  }
  EXPECT_EQ(at(0, kHandshake), kHandshake);
  const std::string firstReadBlock =
      "P12 W52000008 R12 S1 P12 W06 R1 S1 P12 W52000808 R12 S1 P12 W06 R1 G1 E E E E E ";
  EXPECT_EQ(at(afterHandshake, firstReadBlock), firstReadBlock);
  const std::string readEnd = "G63 E E E E E P12 W5203F008 R12 S1 P12 W06 R1 C ";
  EXPECT_EQ(tail(readEnd), readEnd);

  trace_.clear();
  const MemoryImage doc = DocumentContents();
  {
    CloneLink link(recording, host_);
    ASSERT_EQ(link.Write(radio_->PortPath(), doc), Outcome::kCompleted);
  }
  EXPECT_EQ(at(0, kHandshake), kHandshake);
  const std::string firstWriteBlock = "P12 W57000008 S1 W" + Hex(&doc.bytes[0], 8) +
                                      " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) +
                                      " R1 G1 E E E E E ";
  EXPECT_EQ(at(afterHandshake, firstWriteBlock), firstWriteBlock);
  const std::string writeEnd = "G62 E E E E E W5703F001 W" + Hex(&doc.bytes[0x3F0], 1) + " R1 C ";
  EXPECT_EQ(tail(writeEnd), writeEnd);
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
  EXPECT_FALSE(port_->IsOpen());
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

  radio_->ClearReceived();
  host_.progress.clear();
  host_.cancel = false;
  const MemoryImage doc = DocumentContents();
  EXPECT_EQ(Write(doc), Outcome::kCancelled);
  EXPECT_EQ(radio_->Memory(), RadioAfterWrite(doc, 10));
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_FALSE(port_->IsOpen());
}

TEST_F(CloneLinkTest, BusyOrMissingPortGivesOpenMessageOnly) {
  StartRadio();
  auto holder = CreateSerialPort();
  ASSERT_TRUE(holder->Open(radio_->PortPath()));

  for (const std::string& path : {radio_->PortPath(), std::string("/nonexistent/ttyVARO")}) {
    host_.messages.clear();
    trace_.clear();
    MemoryImage image = DocumentContents();
    EXPECT_EQ(Read(image), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(Write(image), Outcome::kPortNotOpened) << path;
    EXPECT_EQ(host_.messages, (std::vector<int>{kMsgPortOpenFailed, kMsgPortOpenFailed})) << path;
    EXPECT_EQ(image, DocumentContents());
    EXPECT_TRUE(trace_.empty()) << "no pump, pause or progress before the port is open";
  }
  EXPECT_TRUE(radio_->Received().empty());
}

// Port errors during the wake-up are retried quietly up to 15 times; a
// handshake that then fails gives 61454 once more than five attempts went by.
// The port's reads fail `failures` times, then time out with nothing.
class FailingPort : public SerialPort {
 public:
  explicit FailingPort(int failures) : failures_(failures) {}
  bool Open(const std::string&) override { return open_ = true; }
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  bool SetupComm(std::size_t, std::size_t) override { return true; }
  bool SetTimeouts(const Timeouts&) override { return true; }
  bool SetLine9600_8N1() override { return true; }
  bool Purge(unsigned) override { return true; }
  bool Write(const std::uint8_t*, std::size_t) override { return true; }
  bool Read(std::uint8_t*, std::size_t, std::size_t& got) override {
    got = 0;
    ++reads;
    return failures_-- <= 0;
  }
  int reads = 0;

 private:
  bool open_ = false;
  int failures_;
};

TEST(CloneLinkHandshakeTest, PortErrorsCountAttempts) {
  struct Case {
    int failures;
    int message;
    int reads;  // the failed ones, then wake-up answer, identification, ready
  };
  const Case cases[] = {
      {4, kMsgCommunicationError, 4 + 3},
      {5, kMsgProgramInterrupt, 5 + 3},
      {15, kMsgCommunicationError, 15},
  };
  for (const Case& c : cases) {
    Trace trace;
    TestHost host(trace);
    host.realSleep = false;
    FailingPort port(c.failures);
    MemoryImage image = DocumentContents();
    EXPECT_NE(CloneLink(port, host).Read("failing", image), Outcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<int>{c.message}) << c.failures << " failures";
    EXPECT_EQ(port.reads, c.reads) << c.failures << " failures";
    EXPECT_FALSE(port.IsOpen());
  }
}

}  // namespace
}  // namespace varo::model16
