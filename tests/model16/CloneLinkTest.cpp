// The 16-channel radio's clone link, call by call: the exact port calls,
// pauses, pumps and progress of its handshake, blocks and final frame, against
// the simulated radio over a real pseudo-terminal. What every radio shares
// (ranges, faults, cancel, busy port) is in the radio model suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model16/MemoryImage.h"
#include "model16/Model16.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/CloneTestKit.h"

namespace varo::model16 {
namespace {

using radio::CloneLink;
using Outcome = CloneLink::Outcome;
using test::Hex;
using test::Joined;
using test::Trace;

class CloneLinkTest : public ::testing::Test, public test::SimulatedLinkRig {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartRadio(std::make_unique<radiosim::CloneRadio>(radiosim::Radio16Config()), error)) << error;
  }
  CloneLink Link() { return CloneLink(port, host, CloneProtocol16()); }
};

// The port calls and pauses of the handshake, in order: open and settings,
// six pumped pauses, both buffers purged, the wake-up bytes one by one with
// purges, then the answer, the identification and the ready byte.
const std::string kHandshakeCalls =
    "O Q1024/512 T30/500/90/50/50/ L E S1 E S1 E S1 E S1 E S1 E S1 P15 "
    "S2 P12 W02 S2 P12 W50 S2 P12 W52 S2 P12 W4F S2 P12 W47 S2 P12 W52 S2 P12 W41 S2 P12 W4D "
    "R1 S1 P12 W02 S1 R8 P12 W06 P12 S1 R1 ";

// A complete transfer: the exact calls of the handshake and the first block,
// the last block and the close, and the sum of the pauses.
TEST_F(CloneLinkTest, ReadFollowsTheProtocol) {
  MemoryImage image = test::DistinctImage(kImageSize);
  ASSERT_EQ(Link().Read(radio->PortPath(), image), Outcome::kCompleted);
  const std::string calls = Joined(trace);
  const std::string head =
      kHandshakeCalls +
      "P12 W52000008 R12 S1 P12 W06 R1 S1 P12 W52000808 R12 S1 P12 W06 R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "G63 E E E E E P12 W5203F008 R12 S1 P12 W06 R1 C ";
  EXPECT_EQ(calls.substr(calls.size() - std::min(end.size(), calls.size())), end);
  // Handshake 6 + 16 + 3 ms; 1 ms before each acknowledge, 1 ms before each
  // second command of a block.
  EXPECT_EQ(host.pausedMs, 25u + 127u + 63u);
}

TEST_F(CloneLinkTest, WriteFollowsTheProtocol) {
  const MemoryImage doc = test::DistinctImage(kImageSize);
  ASSERT_EQ(Link().Write(radio->PortPath(), doc), Outcome::kCompleted);
  const std::string calls = Joined(trace);
  const std::string head = kHandshakeCalls + "P12 W57000008 S1 W" + Hex(&doc.bytes[0], 8) +
                           " R1 P12 W57000808 S1 W" + Hex(&doc.bytes[8], 8) + " R1 G1 E E E E E ";
  EXPECT_EQ(calls.substr(0, head.size()), head);
  const std::string end = "G62 E E E E E W5703F001 W" + Hex(&doc.bytes[0x3F0], 1) + " R1 C ";
  EXPECT_EQ(calls.substr(calls.size() - std::min(end.size(), calls.size())), end);
  EXPECT_EQ(host.pausedMs, 25u + 124u);  // handshake, 1 ms between command and data
}

// Port errors during the wake-up are retried quietly up to 15 times; a
// handshake that then fails gives 61454 once more than five attempts went by.
TEST(CloneLinkHandshakeTest, PortErrorsCountAttempts) {
  struct {
    int failures;
    int message;
    long reads;  // the failed ones, then wake-up answer, identification, ready
  } cases[] = {
      {4, radio::kMsgCommunicationError, 4 + 3},
      {5, radio::kMsgProgramInterrupt, 5 + 3},
      {15, radio::kMsgCommunicationError, 15},
  };
  for (const auto& c : cases) {
    Trace trace;
    test::TestHost host(trace);
    host.realSleep = false;
    test::TracingPort port(trace, nullptr, c.failures);
    MemoryImage image = test::DistinctImage(kImageSize);
    EXPECT_NE(CloneLink(port, host, CloneProtocol16()).Read("failing", image), Outcome::kCompleted);
    EXPECT_EQ(host.messages, std::vector<int>{c.message}) << c.failures << " failures";
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](auto& t) { return t[0] == 'R'; }),
              c.reads)
        << c.failures << " failures";
    EXPECT_FALSE(port.IsOpen());
  }
}

}  // namespace
}  // namespace varo::model16
