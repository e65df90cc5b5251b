// Each radio's clone link, call by call: the exact port calls, pauses, pumps
// and progress of its handshake, first and last blocks (and the 199-channel
// radio's jump from 0x12C8 to 0x1FC0, the 16-channel radio's final frame),
// against the simulated radio over a real pseudo-terminal; then each
// radio's own handshake retries on a scripted port. What every radio shares
// (ranges, faults, cancel, busy port) is in the radio model suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model16/Model16.h"
#include "model199/Model199.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/CloneTestKit.h"

namespace varo::radio {
namespace {

using Outcome = CloneLink::Outcome;
using test::Bytes;
using test::Hex;
using test::Joined;
using test::Trace;

// Open and settings, six pumped pauses, both buffers purged, the seven
// wake-up bytes one by one with purges.
const std::string kWakeUpCalls =
    "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
    "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 ";
// The 199-channel radio, after an accepted answer: "M" and 0x02 as two
// writes, the identification, the acknowledge and the ready byte.
const std::string kAfterAnswer199 = "S1 P12 W4D S1 W02 S1 R8 P12 W06 P12 S1 R1 ";
const std::string kFirstReadBlock =
    "P12 W52000008 R12 S1 P12 W06 R1 S1 P12 W52000808 R12 S1 P12 W06 R1 G1 E E E E E ";

struct TraceCase {
  const char* name;
  const RadioModel& (*model)();
  radiosim::RadioConfig (*config)();
  std::string handshake;
  std::string readInside, readEnd;  // somewhere in a read; its last calls
  unsigned readPausedMs;
  std::string writeEndBefore;  // the last calls of a write: this, the data at
  std::size_t dataAt, dataSize;  // dataAt, then " R1 " and writeEndAfter
  std::string writeEndAfter;
  unsigned writePausedMs;
  std::size_t blocks;
};
void PrintTo(const TraceCase& c, std::ostream* os) { *os << c.name; }

const TraceCase kTraceCases[] = {
    // Handshake 6 + 16 + 3 ms; 1 ms before each acknowledge, 1 ms before each
    // second command of a read block, 1 ms between command and data in a write.
    {"Radio16", model16::Model16, radiosim::Radio16Config,
     kWakeUpCalls + "S2 P12 W4D R1 S1 P12 W02 S1 R8 P12 W06 P12 S1 R1 ",
     "", "G63 E E E E E P12 W5203F008 R12 S1 P12 W06 R1 C ", 25 + 127 + 63,
     "G62 E E E E E W5703F001 W", 0x3F0, 1, "C ", 25 + 124, 63},
    // Handshake 6 + 14 + 4 ms; block 300 ends the channel area, block 301 is
    // the settings block's first.
    {"Radio199", model199::Model199, radiosim::Radio199Config, kWakeUpCalls + "R1 " + kAfterAnswer199,
     "P12 W5212C008 R12 S1 P12 W06 R1 S1 P12 W5212C808 R12 S1 P12 W06 R1 G301 E E E E E "
     "P12 W521FC008 R12 S1 P12 W06 R1 S1 P12 W521FC808 R12 S1 P12 W06 R1 G302 ",
     "G304 E E E E E P12 W521FF008 R12 S1 P12 W06 R1 S1 P12 W521FF808 R12 S1 P12 W06 R1 G305 E E E E E C ",
     24 + 610 + 305, "P12 W571FF808 S1 W", 0x1FF8, 8, "G305 E E E E E C ", 24 + 610, 305},
};

class CloneTraceTest : public ::testing::TestWithParam<TraceCase>, public test::SimulatedLinkRig {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartRadio(std::make_unique<radiosim::CloneRadio>(GetParam().config()), error)) << error;
  }
  CloneLink Link() { return CloneLink(port, host, *GetParam().model().protocol); }
  std::size_t Size() const { return GetParam().model().imageSize; }
  static std::string Tail(const std::string& calls, std::size_t n) {
    return calls.substr(calls.size() - std::min(n, calls.size()));
  }
};

TEST_P(CloneTraceTest, ReadFollowsTheProtocol) {
  const TraceCase& c = GetParam();
  MemoryImage image = test::DistinctImage(Size());
  ASSERT_EQ(Link().Read(radio->PortPath(), image), Outcome::kCompleted);
  const std::string calls = Joined(trace);
  const std::string head = c.handshake + kFirstReadBlock;
  EXPECT_EQ(calls.substr(0, head.size()), head);
  EXPECT_NE(calls.find(c.readInside), std::string::npos);
  EXPECT_EQ(Tail(calls, c.readEnd.size()), c.readEnd);
  EXPECT_EQ(host.progress.size(), c.blocks);
  EXPECT_EQ(host.pausedMs, c.readPausedMs);
}

TEST_P(CloneTraceTest, WriteFollowsTheProtocol) {
  const TraceCase& c = GetParam();
  const MemoryImage doc = test::DistinctImage(Size());
  ASSERT_EQ(Link().Write(radio->PortPath(), doc), Outcome::kCompleted);
  const std::string calls = Joined(trace);
  const std::string head = c.handshake + "P12 W57000008 S1 W" + Hex(&doc.bytes[0], 8) +
                           " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) + " R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = c.writeEndBefore + Hex(&doc.bytes[c.dataAt], c.dataSize) + " R1 " + c.writeEndAfter;
  EXPECT_EQ(Tail(calls, end.size()), end);
  EXPECT_EQ(radio->CompletedWrites(), 1);
  EXPECT_EQ(host.pausedMs, c.writePausedMs);
}

INSTANTIATE_TEST_SUITE_P(Radios, CloneTraceTest, ::testing::ValuesIn(kTraceCases),
                         [](const auto& p) { return std::string(p.param.name); });

// A read on a scripted or failing port: the messages shown, and the trace.
struct ScriptedRead {
  explicit ScriptedRead(const RadioModel& model) : model_(model) { host.realSleep = false; }
  Outcome Run(test::TracingPort& port) {
    MemoryImage image = test::DistinctImage(model_.imageSize);
    const Outcome outcome = CloneLink(port, host, *model_.protocol).Read("scripted", image);
    EXPECT_EQ(image, test::DistinctImage(model_.imageSize)) << "a failed read changed the document";
    EXPECT_FALSE(port.IsOpen());
    return outcome;
  }
  const RadioModel& model_;
  Trace trace;
  test::TestHost host{trace};
};

// The 16-channel radio: port errors during the wake-up are retried quietly up
// to 15 times; a handshake that then fails gives 61454 once more than five
// attempts went by.
TEST(CloneLinkHandshakeTest, PortErrorsCountAttempts16) {
  struct { int failures, message; long reads; } cases[] = {
      // the failed reads, then wake-up answer, identification, ready
      {4, kMsgCommunicationError, 4 + 3}, {5, kMsgProgramInterrupt, 5 + 3}, {15, kMsgCommunicationError, 15}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.failures << " failures");
    ScriptedRead read(model16::Model16());
    test::TracingPort port(read.trace, nullptr, c.failures);
    EXPECT_NE(read.Run(port), Outcome::kCompleted);
    EXPECT_EQ(read.host.messages, std::vector<int>{c.message});
    EXPECT_EQ(std::count_if(read.trace.begin(), read.trace.end(), [](auto& t) { return t[0] == 'R'; }), c.reads);
  }
}

// The 199-channel radio reads the answer to the wake-up once, and once more
// when it was not 0x06 but the port did not fail. Each case ends where the
// handshake is accepted (the link then asks for the first frame, which times
// out: message 61454) or where all 15 tries failed (61451).
TEST(CloneLinkHandshakeTest, TheWakeUpAnswerGetsASecondRead199) {
  const Bytes id(8, 0x41);
  const test::ReadAnswer ack{true, {0x06}}, wrong{true, {0x15}}, nothing{true, {}}, failed{false, {}};
  struct { const char* name; std::deque<test::ReadAnswer> answers; int wakeUps, message; } cases[] = {
      // the answers up to the ready byte; how many times the word went out
      {"first byte 0x06", {ack, {true, id}, ack}, 1, kMsgProgramInterrupt},
      {"stray byte, then 0x06", {wrong, ack, {true, id}, ack}, 1, kMsgProgramInterrupt},
      {"time-out, then 0x06", {nothing, ack, {true, id}, ack}, 1, kMsgProgramInterrupt},
      {"failed read: no second read", {failed, ack, {true, id}, ack}, 2, kMsgProgramInterrupt},
      {"never 0x06", {}, 15, kMsgCommunicationError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedRead read(model199::Model199());
    test::TracingPort port(read.trace, c.answers);
    EXPECT_NE(read.Run(port), Outcome::kCompleted);
    EXPECT_EQ(read.host.messages, std::vector<int>{c.message});
    EXPECT_EQ(std::count(read.trace.begin(), read.trace.end(), "W41"), c.wakeUps);
    const std::string calls = Joined(read.trace);
    if (c.message == kMsgProgramInterrupt) {
      // Accepted: "M" and the request follow, then the first read command.
      EXPECT_NE(calls.find(kAfterAnswer199 + "P12 W52000008 R12 "), std::string::npos) << calls;
    } else {
      EXPECT_EQ(calls.find("W4D"), std::string::npos);
      EXPECT_EQ(std::count(read.trace.begin(), read.trace.end(), "R1"), 30);  // two reads a try
    }
  }
}

}  // namespace
}  // namespace varo::radio
