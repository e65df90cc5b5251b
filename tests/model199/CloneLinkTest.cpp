// The 199-channel radio's clone link, call by call: the wake-up with its
// second read, "M" and the identification request as two writes, the first
// and last blocks, the jump from 0x12C8 to 0x1FC0, and no final frame. What
// every radio shares (ranges, faults, cancel, busy port) is in the radio
// model suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model199/MemoryImage.h"
#include "model199/Model199.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/CloneTestKit.h"

namespace varo::model199 {
namespace {

using radio::CloneLink;
using Outcome = CloneLink::Outcome;
using test::Bytes;
using test::Hex;
using test::Joined;
using test::Trace;

MemoryImage DocumentContents() {
  MemoryImage image(kImageSize);
  for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(0xC3 ^ i);
  return image;
}

// Open and settings, six pumped pauses, both buffers purged, the seven
// wake-up bytes one by one with purges, the answer.
const std::string kWakeUpCalls =
    "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
    "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 ";
// After an accepted answer: "M" and 0x02 as two writes, the identification,
// the acknowledge and the ready byte.
const std::string kAfterAnswerCalls = "S1 P12 W4D S1 W02 S1 R8 P12 W06 P12 S1 R1 ";

class CloneLink199Test : public ::testing::Test {
 protected:
  void SetUp() override {
    radio_ = std::make_unique<radiosim::SimulatedRadio>(
        std::make_unique<radiosim::CloneRadio>(radiosim::Radio199Config()), radiosim::SimOptions{});
    std::string error;
    ASSERT_TRUE(radio_->Open(error)) << error;
    radio_->Start();
  }
  CloneLink Link() { return CloneLink(port_, host_, CloneProtocol199()); }

  Trace trace_;
  test::TestHost host_{trace_};
  std::unique_ptr<SerialPort> real_ = CreateSerialPort();
  test::TracingPort port_{trace_, real_.get()};
  std::unique_ptr<radiosim::SimulatedRadio> radio_;
};

std::string Tail(const std::string& calls, std::size_t n) { return calls.substr(calls.size() - std::min(n, calls.size())); }

TEST_F(CloneLink199Test, ReadFollowsTheProtocol) {
  MemoryImage image = DocumentContents();
  ASSERT_EQ(Link().Read(radio_->PortPath(), image), Outcome::kCompleted);
  const std::string calls = Joined(trace_);
  const std::string head =
      kWakeUpCalls + "R1 " + kAfterAnswerCalls +
      "P12 W52000008 R12 S1 P12 W06 R1 S1 P12 W52000808 R12 S1 P12 W06 R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  // Block 300 ends the channel area; block 301 is the settings block's first.
  const std::string jump =
      "P12 W5212C008 R12 S1 P12 W06 R1 S1 P12 W5212C808 R12 S1 P12 W06 R1 G301 E E E E E "
      "P12 W521FC008 R12 S1 P12 W06 R1 S1 P12 W521FC808 R12 S1 P12 W06 R1 G302 ";
  EXPECT_NE(calls.find(jump), std::string::npos);
  const std::string end = "G304 E E E E E P12 W521FF008 R12 S1 P12 W06 R1 S1 P12 W521FF808 R12 S1 P12 W06 R1 "
                          "G305 E E E E E C ";
  EXPECT_EQ(Tail(calls, end.size()), end);
  EXPECT_EQ(host_.progress.size(), 305u);
  // Handshake 6 + 14 + 4 ms; 1 ms before each acknowledge, 1 ms before each
  // second command of a block.
  EXPECT_EQ(host_.pausedMs, 24u + 610u + 305u);
}

TEST_F(CloneLink199Test, WriteSendsTheTwoRangesAndNothingElse) {
  const MemoryImage doc = DocumentContents();
  ASSERT_EQ(Link().Write(radio_->PortPath(), doc), Outcome::kCompleted);
  const std::string calls = Joined(trace_);
  const std::string head = kWakeUpCalls + "R1 " + kAfterAnswerCalls + "P12 W57000008 S1 W" +
                           Hex(&doc.bytes[0], 8) + " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) +
                           " R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "P12 W571FF808 S1 W" + Hex(&doc.bytes[0x1FF8], 8) + " R1 G305 E E E E E C ";
  EXPECT_EQ(Tail(calls, end.size()), end);

  // The frames, in order: 0x0000 ... 0x12C8, then 0x1FC0 ... 0x1FF8.
  std::vector<std::size_t> frames;
  for (const std::string& call : trace_) {
    if (call.size() == 9 && call.rfind("W57", 0) == 0) frames.push_back(std::stoul(call.substr(3, 4), nullptr, 16));
  }
  std::vector<std::size_t> expected;
  for (std::size_t a = 0x0000; a <= 0x12C8; a += 8) expected.push_back(a);
  for (std::size_t a = 0x1FC0; a <= 0x1FF8; a += 8) expected.push_back(a);
  EXPECT_EQ(frames, expected);
  EXPECT_EQ(radio_->CompletedWrites(), 1);
  EXPECT_EQ(host_.pausedMs, 24u + 610u);  // handshake, 1 ms between command and data
}

// A port that answers each read from a script: a failed read, a time-out
// (nothing), or bytes. Once the script is used up every read times out.
class ScriptedPort : public SerialPort {
 public:
  struct Answer {
    bool ok;
    Bytes bytes;
  };
  explicit ScriptedPort(std::deque<Answer> script) : script_(std::move(script)) {}
  bool Open(const std::string&) override { return open_ = true; }
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  bool SetupComm(std::size_t, std::size_t) override { return true; }
  bool SetTimeouts(const Timeouts&) override { return true; }
  bool SetLine9600_8N1() override { return true; }
  bool Purge(unsigned) override { return true; }
  bool Write(const std::uint8_t*, std::size_t) override { return true; }
  bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    got = 0;
    if (script_.empty()) return true;
    Answer a = std::move(script_.front());
    script_.pop_front();
    got = std::min(n, a.bytes.size());
    std::copy_n(a.bytes.begin(), got, buffer);
    return a.ok;
  }

 private:
  std::deque<Answer> script_;
  bool open_ = false;
};

// The radio's answer to the wake-up is read once, and once more when it was
// not 0x06 but the port did not fail. Each case ends where the handshake is
// accepted (the link then asks for the first frame, which times out:
// message 61454) or where all 15 tries failed (61451).
TEST(CloneLink199HandshakeTest, TheWakeUpAnswerGetsASecondRead) {
  const Bytes id(8, 0x41);
  const ScriptedPort::Answer ack{true, {0x06}}, wrong{true, {0x15}}, nothing{true, {}}, failed{false, {}};
  struct Case {
    const char* name;
    std::deque<ScriptedPort::Answer> answers;  // up to the ready byte
    int wakeUps;                               // how many times the word went out
    int message;
  };
  const Case cases[] = {
      {"first byte 0x06", {ack, {true, id}, ack}, 1, radio::kMsgProgramInterrupt},
      {"stray byte, then 0x06", {wrong, ack, {true, id}, ack}, 1, radio::kMsgProgramInterrupt},
      {"time-out, then 0x06", {nothing, ack, {true, id}, ack}, 1, radio::kMsgProgramInterrupt},
      {"failed read: no second read", {failed, ack, {true, id}, ack}, 2, radio::kMsgProgramInterrupt},
      {"never 0x06", {}, 15, radio::kMsgCommunicationError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Trace trace;
    test::TestHost host(trace);
    host.realSleep = false;
    ScriptedPort scripted(c.answers);
    test::TracingPort port(trace, &scripted);
    MemoryImage image = DocumentContents();
    EXPECT_NE(CloneLink(port, host, CloneProtocol199()).Read("scripted", image), Outcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<int>{c.message});
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "W41"), c.wakeUps);
    EXPECT_EQ(image, DocumentContents());
    const std::string calls = Joined(trace);
    if (c.message == radio::kMsgProgramInterrupt) {
      // Accepted: "M" and the request follow, then the first read command.
      EXPECT_NE(calls.find(kAfterAnswerCalls + "P12 W52000008 R12 "), std::string::npos) << calls;
    } else {
      EXPECT_EQ(calls.find("W4D"), std::string::npos);
      EXPECT_EQ(std::count(trace.begin(), trace.end(), "R1"), 30);  // two reads a try
    }
  }
}

}  // namespace
}  // namespace varo::model199
