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

// Open and settings, six pumped pauses, both buffers purged, the seven
// wake-up bytes one by one with purges, the answer.
const std::string kWakeUpCalls =
    "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
    "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 ";
// After an accepted answer: "M" and 0x02 as two writes, the identification,
// the acknowledge and the ready byte.
const std::string kAfterAnswerCalls = "S1 P12 W4D S1 W02 S1 R8 P12 W06 P12 S1 R1 ";

class CloneLink199Test : public ::testing::Test, public test::SimulatedLinkRig {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartRadio(std::make_unique<radiosim::CloneRadio>(radiosim::Radio199Config()), error)) << error;
  }
  CloneLink Link() { return CloneLink(port, host, CloneProtocol199()); }
};

std::string Tail(const std::string& calls, std::size_t n) { return calls.substr(calls.size() - std::min(n, calls.size())); }

TEST_F(CloneLink199Test, ReadFollowsTheProtocol) {
  MemoryImage image = test::DistinctImage(kImageSize);
  ASSERT_EQ(Link().Read(radio->PortPath(), image), Outcome::kCompleted);
  const std::string calls = Joined(trace);
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
  EXPECT_EQ(host.progress.size(), 305u);
  // Handshake 6 + 14 + 4 ms; 1 ms before each acknowledge, 1 ms before each
  // second command of a block.
  EXPECT_EQ(host.pausedMs, 24u + 610u + 305u);
}

TEST_F(CloneLink199Test, WriteFollowsTheProtocol) {
  const MemoryImage doc = test::DistinctImage(kImageSize);
  ASSERT_EQ(Link().Write(radio->PortPath(), doc), Outcome::kCompleted);
  const std::string calls = Joined(trace);
  const std::string head = kWakeUpCalls + "R1 " + kAfterAnswerCalls + "P12 W57000008 S1 W" +
                           Hex(&doc.bytes[0], 8) + " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) +
                           " R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "P12 W571FF808 S1 W" + Hex(&doc.bytes[0x1FF8], 8) + " R1 G305 E E E E E C ";
  EXPECT_EQ(Tail(calls, end.size()), end);
  EXPECT_EQ(radio->CompletedWrites(), 1);
  EXPECT_EQ(host.pausedMs, 24u + 610u);  // handshake, 1 ms between command and data
}

// The radio's answer to the wake-up is read once, and once more when it was
// not 0x06 but the port did not fail. Each case ends where the handshake is
// accepted (the link then asks for the first frame, which times out:
// message 61454) or where all 15 tries failed (61451).
TEST(CloneLink199HandshakeTest, TheWakeUpAnswerGetsASecondRead) {
  const Bytes id(8, 0x41);
  const test::ReadAnswer ack{true, {0x06}}, wrong{true, {0x15}}, nothing{true, {}}, failed{false, {}};
  struct Case {
    const char* name;
    std::deque<test::ReadAnswer> answers;  // up to the ready byte
    int wakeUps;                           // how many times the word went out
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
    test::TracingPort port(trace, c.answers);
    MemoryImage image = test::DistinctImage(kImageSize);
    EXPECT_NE(CloneLink(port, host, CloneProtocol199()).Read("scripted", image), Outcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<int>{c.message});
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "W41"), c.wakeUps);
    EXPECT_EQ(image, test::DistinctImage(kImageSize));
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
