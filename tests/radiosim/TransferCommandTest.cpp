// varo-cli read / write against the simulated radio.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "model16/MemoryImage.h"
#include "radiosim/Radio16.h"
#include "radiosim/SimulatedRadio.h"
#include "support/TempDir.h"

namespace varo::radiosim {
namespace {

int RunCli(const std::string& args) {
  const std::string command =
      std::string(VARO_SUITE_DIR) + "/varo-cli " + args + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TransferCommandTest, ExitStatusAndFilesFollowTheOutcome) {
  struct Case {
    const char* name;
    Fault fault;
    std::string args;  // after "--port PORT"; "OUT" is the output file
    int status;
    bool fileReplaced;  // read: OUT holds the radio's bytes
    bool radioWritten;  // write: the radio holds doc.dat
  };
  // clang-format off
  const Case cases[] = {
      {"read",                  {},                           "-o OUT",          0, true,  false},
      {"failed read",           {Fault::Kind::kShortReply, 20}, "-o OUT",        1, false, false},
      {"write",                 {},                           "DOC",             0, false, true},
      {"write of a short file", {},                           "SHORT",           1, false, false},
      {"handshake fails twice", {Fault::Kind::kGarbage, 0},   "--retries 1 DOC", 1, false, false},
  };
  // clang-format on
  test::TempDir dir;
  const std::string previous(1024, '\x11');
  const std::string doc(1024, '\x22');
  dir.Write("doc.dat", doc);
  dir.Write("short.dat", doc.substr(0, 1000));
  for (const Case& c : cases) {
    SimulatedRadio radio(std::make_unique<Radio16>(c.fault), {});
    std::string error;
    ASSERT_TRUE(radio.Open(error)) << error;
    radio.Start();
    const std::vector<std::uint8_t> before = radio.Memory();
    dir.Write("out.dat", previous);

    std::string args = c.args;
    for (auto [word, file] :
         {std::pair{"OUT", "out.dat"}, {"DOC", "doc.dat"}, {"SHORT", "short.dat"}}) {
      const auto at = args.find(word);
      if (at != std::string::npos) args.replace(at, std::string(word).size(), dir.File(file));
    }
    const std::string command = c.args.rfind("-o", 0) == 0 ? "read" : "write";
    EXPECT_EQ(RunCli(command + " --port " + radio.PortPath() + " " + args), c.status) << c.name;

    std::string expected = previous;
    if (c.fileReplaced) {
      auto image = model16::MemoryImage::NewDocument();
      std::copy_n(before.begin(), 0x3F8, image.bytes.begin());
      expected.assign(image.bytes.begin(), image.bytes.end());
    }
    EXPECT_EQ(dir.Read("out.dat"), expected) << c.name;
    radio.Stop();
    const std::vector<std::uint8_t> after = radio.Memory();
    EXPECT_EQ(after[0x100], c.radioWritten ? 0x22 : before[0x100]) << c.name;
    EXPECT_EQ(radio.CompletedWrites(), c.radioWritten ? 1 : 0) << c.name;
  }
}

}  // namespace
}  // namespace varo::radiosim
