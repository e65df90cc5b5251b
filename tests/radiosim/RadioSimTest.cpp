#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/SerialPort.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/TempDir.h"

namespace varo::radiosim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ParseFaultTest, AcceptsTheNamedFaultsOnly) {
  using K = Fault::Kind;
  const std::pair<const char*, Fault> valid[] = {
      {"none", {K::kNone, 0}},       {"silent", {K::kSilent, 0}},
      {"garbage", {K::kGarbage, 0}}, {"short:12", {K::kShortReply, 12}},
      {"noack:0", {K::kNoAck, 0}},   {"stall:126", {K::kStall, 126}},
      {"vanish:3", {K::kVanish, 3}}, {"lose:7", {K::kLose, 7}},
  };
  for (const auto& [text, expected] : valid) {
    auto fault = ParseFault(text);
    ASSERT_TRUE(fault.has_value()) << text;
    EXPECT_EQ(fault->kind, expected.kind) << text;
    EXPECT_EQ(fault->frame, expected.frame) << text;
  }
  for (const char* text : {"silent:3", "short", "short:", "short:-1", "short:1x", "loud", ""}) {
    EXPECT_FALSE(ParseFault(text).has_value()) << text;
  }
}

// Feeds `bytes` to the radio and gathers everything it answers.
Bytes Feed(RadioModel& radio, const Bytes& bytes, bool* completed = nullptr) {
  Bytes out;
  for (std::uint8_t b : bytes) {
    Reaction r = radio.Receive(b);
    out.insert(out.end(), r.reply.begin(), r.reply.end());
    if (completed && r.writeCompleted) *completed = true;
  }
  return out;
}

const Bytes kHandshake = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x02, 0x06};

// The wake-up answer, then `id` followed by `last`.
Bytes HandshakeAnswer(Bytes id, std::uint8_t last) {
  id.insert(id.begin(), 0x06);
  id.push_back(last);
  return id;
}

// What the radio answers in clone mode, frame by frame; the memory holds each
// byte's own offset.
TEST(Radio16Test, AnswersFramesWithinItsMemoryOnly) {
  CloneRadio radio(Radio16Config(), {Fault::Kind::kStall, 3});
  Bytes memory(std::size_t{1024});
  for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(radio.SetMemory(memory));
  EXPECT_EQ(Feed(radio, kHandshake).size(), 10u);
  struct Case {
    Bytes sent;
    Bytes answer;
    bool completed;
  };
  const Case cases[] = {
      {{'R', 0x03, 0xF8, 8, 0x06},
       {'W', 3, 0xF8, 8, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF, 6},
       false},
      {{'R', 0x03, 0xFC, 8}, {}, false},  // runs past the end: ignored
      {{0x06}, {}, false},                // no read to acknowledge
      {{'W', 0x03, 0xF0, 1, 0x07}, {0x06}, true},
      {{'R', 0x00, 0x00, 8, 0x06}, {}, false},  // frame 3 stalls the radio
      {kHandshake, {}, false},                  // until the port is closed
  };
  for (const Case& c : cases) {
    bool completed = false;
    EXPECT_EQ(Feed(radio, c.sent, &completed), c.answer);
    EXPECT_EQ(completed, c.completed);
  }
  EXPECT_EQ(radio.Memory()[0x3F0], 0x07);
  radio.EndSession();
  EXPECT_EQ(Feed(radio, kHandshake).size(), 10u);
}

// A lost frame is acknowledged like any other, but the memory keeps its old
// bytes; the frames around it are stored.
TEST(Radio16Test, LostWriteFrameIsAcknowledgedButNotStored) {
  CloneRadio radio(Radio16Config(), {Fault::Kind::kLose, 1});
  const Bytes before = radio.Memory();
  Feed(radio, kHandshake);
  for (std::uint8_t address : Bytes{0x10, 0x18, 0x20}) {
    EXPECT_EQ(Feed(radio, Bytes{'W', 0x00, address, 8, 1, 2, 3, 4, 5, 6, 7, 8}), Bytes{0x06});
  }
  const Bytes& after = radio.Memory();
  EXPECT_EQ(after[0x10], 1);
  EXPECT_EQ(Bytes(after.begin() + 0x18, after.begin() + 0x20),
            Bytes(before.begin() + 0x18, before.begin() + 0x20));
  EXPECT_EQ(after[0x27], 8);
}

// When a dealer programming a fleet unplugs a radio: once it was read back
// after a completed write, or a write failed; a port reopened at once may skip
// the close between two sessions, and a new handshake separates them.
TEST(Radio16Test, ProgrammingEndsWithTheReadBackOrAFailedWrite) {
  const Bytes read = {'R', 0x00, 0x00, 8, 0x06};
  const Bytes lastWrite = {'W', 0x03, 0xF0, 1, 0x07};
  const Bytes firstWrite = {'W', 0x00, 0x00, 8, 1, 2, 3, 4, 5, 6, 7, 8};
  const auto with = [](Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const struct {
    const char* name;
    Fault fault;
    std::vector<Bytes> sessions;  // each ended by closing the port
    bool ended;
  } cases[] = {
      {"read only", {}, {with(kHandshake, read)}, false},
      {"written", {}, {with(kHandshake, lastWrite)}, false},
      {"written, read back", {}, {with(kHandshake, lastWrite), with(kHandshake, read)}, true},
      {"read back without a close", {}, {with(with(kHandshake, lastWrite), with(kHandshake, read))}, true},
      {"write not acknowledged", {Fault::Kind::kNoAck, 0}, {with(kHandshake, firstWrite)}, true},
      {"write cut short", {}, {with(kHandshake, firstWrite)}, true},
      {"handshakes only", {}, {kHandshake, kHandshake}, false},
  };
  for (const auto& c : cases) {
    CloneRadio radio(Radio16Config(), c.fault);
    for (const Bytes& session : c.sessions) {
      Feed(radio, session);
      radio.EndSession();
    }
    EXPECT_EQ(radio.ProgrammingEnded(), c.ended) << c.name;
  }
}

// Each radio of a fleet sends an identification ending in its number; the
// fault strikes the radio named only; the fleet runs out after its size.
TEST(FleetRadioTest, EachRadioItsOwnIdentification) {
  FleetRadio fleet(Radio199Config(), 3, {Fault::Kind::kSilent, 0}, 2);
  const Bytes handshake199 = {0x02, 'P', 'R', 'O', 'G', 'R', 'A', 'M', 0x02};
  std::vector<Bytes> answers;
  do {
    answers.push_back(Feed(fleet, handshake199));
    fleet.EndSession();
  } while (fleet.NextRadio());
  EXPECT_EQ(fleet.Number(), 3);
  const Bytes id = {'V', '1', '9', '9', 'V', '3', 0x00};
  EXPECT_EQ(answers, (std::vector<Bytes>{HandshakeAnswer(id, 1), {}, HandshakeAnswer(id, 3)}));
}

TEST(SimulatedRadioTest, LinkAndSavedMemory) {
  test::TempDir dir;
  const std::string link = dir.File("ttyRADIO");
  const std::string saved = dir.File("radio.dat");
  {
    SimOptions options;
    options.linkPath = link;
    options.savePath = saved;
    SimulatedRadio radio(std::make_unique<CloneRadio>(Radio16Config()), options);
    std::string error;
    ASSERT_TRUE(radio.Open(error)) << error;
    EXPECT_EQ(radio.PortPath(), link);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), radio.DevicePath());
    radio.Start();

    // The whole handshake at once, then the last frame of a write.
    auto port = CreateSerialPort();
    ASSERT_TRUE(port->Open(link));
    port->SetLine9600_8N1();
    port->SetTimeouts({30, 500, 90, 50, 50});
    Bytes frame = kHandshake;
    frame.insert(frame.end(), {'W', 0x03, 0xF0, 0x01, 0x5A});
    ASSERT_TRUE(port->Write(frame.data(), frame.size()));
    // The answer comes in pieces (the radio takes a moment before its ready
    // byte); on a busy machine a piece may wait longer than the interval
    // time-out, so the test reads until all eleven bytes are in.
    Bytes answer(11);
    std::size_t total = 0;
    for (int tries = 0; tries < 20 && total < answer.size(); ++tries) {
      std::size_t got = 0;
      ASSERT_TRUE(port->Read(answer.data() + total, answer.size() - total, got));
      total += got;
    }
    ASSERT_EQ(total, 11u);
    EXPECT_EQ(answer[10], 0x06);
    port->Close();
    // The radio stores its memory once the acknowledge is out.
    for (int i = 0; i < 100 && !std::filesystem::exists(saved); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(radio.CompletedWrites(), 1);
    std::string bytes = dir.Read("radio.dat");
    ASSERT_EQ(bytes.size(), std::size_t{1024});
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0x3F0]), 0x5A);
  }
  EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the radio";

  // A file that is not a symbolic link is never replaced.
  dir.Write("ttyRADIO", "keep");
  SimOptions options;
  options.linkPath = link;
  SimulatedRadio radio(std::make_unique<CloneRadio>(Radio16Config()), options);
  std::string error;
  EXPECT_FALSE(radio.Open(error));
  EXPECT_EQ(dir.Read("ttyRADIO"), "keep");
}

}  // namespace
}  // namespace varo::radiosim
