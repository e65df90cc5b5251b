// varo-cli read / write against the simulated radio.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "model16/MemoryImage.h"
#include "model199/MemoryImage.h"
#include "platform/SerialPort.h"
#include "radio/FleetLog.h"
#include "radio/MemoryGrid.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "support/SuiteRun.h"
#include "support/TempDir.h"

namespace varo::radiosim {
namespace {

using test::Ran;
using test::RunSuite;
using test::ServingRadio;

int RunCli(const std::string& args) { return RunSuite("varo-cli " + args).status; }

// Asked-for help goes to standard output with status 0; a usage error shows
// the usage on standard error with status 2.
TEST(TransferCommandTest, HelpAndUsageErrors) {
  struct {
    const char* command;  // run from the suite folder
    int status;
    bool usageOnStdout;
  } cases[] = {
      {"varo-cli --help", 0, true},      {"varo-cli -h", 0, true},
      {"varo-cli help", 0, true},        {"varo-cli", 2, false},
      {"varo-cli frobnicate", 2, false}, {"varo-radiosim --help", 0, true},
      {"varo-radiosim -h", 0, true},     {"varo-radiosim --bogus", 2, false},
  };
  for (const auto& c : cases) {
    const Ran run = RunSuite(c.command);
    EXPECT_EQ(run.status, c.status) << c.command;
    EXPECT_EQ(run.out.find("usage:") == 0, c.usageOnStdout) << c.command << "\n" << run.out;
    EXPECT_EQ(run.err.find("usage:") != std::string::npos, !c.usageOnStdout) << c.command << "\n"
                                                                               << run.err;
  }
}

TEST(TransferCommandTest, ExitStatusAndFilesFollowTheOutcome) {
  test::TempDir dir;
  const std::string previous(1024, '\x11');
  const std::string doc(1024, '\x22');
  const std::string out = dir.File("out.dat"), docFile = dir.Write("doc.dat", doc);
  const std::string shortFile = dir.Write("short.dat", doc.substr(0, 1000));
  const std::string noFolder = dir.File("no/such/x.dat");
  const std::string fifo = dir.File("out.fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  using K = Fault::Kind;
  struct {
    const char* name;
    Fault fault;
    const char* command;
    std::string args;  // after "--port PORT"
    int status;
    bool fileReplaced;  // read: out.dat holds the radio's bytes
    bool radioWritten;  // write: the radio holds doc.dat
    int outMode = 0644;
    bool radioContacted = true;  // false: refused before a byte went out
  } cases[] = {
      // clang-format off
      {"read",           {},                   "read",  "-o " + out, 0, true,  false},
      {"failed read",    {K::kShortReply, 20}, "read",  "-o " + out, 1, false, false},
      {"write",          {},                   "write", docFile,     0, false, true},
      {"short file",     {},                   "write", shortFile,   1, false, false, 0644, false},
      {"two handshakes", {K::kGarbage, 0},     "write", "--retries 1 " + docFile, 1, false, false},
      {"missing folder", {},                   "read",  "-o " + noFolder, 1, false, false, 0644, false},
      {"read-only file", {},                   "read",  "-o " + out, 1, false, false, 0444, false},
      {"FIFO output",    {},                   "read",  "-o " + fifo, 1, false, false, 0644, false},
      // clang-format on
  };
  for (const auto& c : cases) {
    const auto radio = ServingRadio(std::make_unique<CloneRadio>(Radio16Config(), c.fault));
    ASSERT_TRUE(radio);
    const std::vector<std::uint8_t> before = radio->Memory();
    dir.Write("out.dat", previous);
    ::chmod(out.c_str(), static_cast<mode_t>(c.outMode));
    const std::string port = " --port " + radio->PortPath() + " ";
    EXPECT_EQ(RunCli(c.command + port + c.args), c.status) << c.name;

    std::string expected = previous;
    if (c.fileReplaced) {
      auto image = model16::NewImage();
      std::copy_n(before.begin(), 0x3F8, image.bytes.begin());
      expected.assign(image.bytes.begin(), image.bytes.end());
    }
    EXPECT_EQ(dir.Read("out.dat"), expected) << c.name;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << c.name;
    EXPECT_EQ(!radio->Received().empty(), c.radioContacted) << c.name;
    radio->Stop();
    EXPECT_EQ(radio->Memory()[0x100], c.radioWritten ? 0x22 : before[0x100]) << c.name;
    EXPECT_EQ(radio->CompletedWrites(), c.radioWritten ? 1 : 0) << c.name;
  }
}

// Each radio through the command line: read names it with --model, write
// knows it by the file's size. A read saves a new document's contents with
// the radio's ranges over them; a write changes the radio's ranges only.
TEST(TransferCommandTest, EachRadioByModelNameAndFileSize) {
  using Range = std::pair<std::size_t, std::size_t>;
  struct {
    const char* model;
    RadioConfig (*config)();
    std::vector<std::uint8_t> (*newDocument)();
    std::vector<Range> readRanges;
    std::vector<Range> writeRanges;
  } cases[] = {
      {"16", Radio16Config, [] { return model16::NewImage().bytes; }, {{0x000, 0x3F8}},
       {{0x000, 0x3E0}, {0x3F0, 0x3F1}}},
      {"199", Radio199Config, [] { return model199::NewImage().bytes; },
       {{0x0000, 0x12D0}, {0x1FC0, 0x2000}}, {{0x0000, 0x12D0}, {0x1FC0, 0x2000}}},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    const auto radio = ServingRadio(std::make_unique<CloneRadio>(c.config()));
    ASSERT_TRUE(radio);
    std::vector<std::uint8_t> memory = radio->Memory();
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    ASSERT_TRUE(radio->SetMemory(memory));
    const std::string port = " --port " + radio->PortPath() + " ";

    ASSERT_EQ(RunCli(std::string("read --model ") + c.model + port + "-o " + dir.File("read.dat")), 0);
    std::vector<std::uint8_t> expected = c.newDocument();
    for (const auto& [begin, end] : c.readRanges)
      std::copy(memory.begin() + static_cast<std::ptrdiff_t>(begin), memory.begin() + static_cast<std::ptrdiff_t>(end),
                expected.begin() + static_cast<std::ptrdiff_t>(begin));
    EXPECT_EQ(dir.Read("read.dat"), std::string(expected.begin(), expected.end()));

    const std::string doc(memory.size(), '\x5A');
    ASSERT_EQ(RunCli("write" + port + dir.Write("doc.dat", doc)), 0);
    radio->Stop();
    std::vector<std::uint8_t> written = memory;
    for (const auto& [begin, end] : c.writeRanges)
      std::fill(written.begin() + static_cast<std::ptrdiff_t>(begin), written.begin() + static_cast<std::ptrdiff_t>(end), 0x5A);
    EXPECT_EQ(radio->Memory(), written);
    EXPECT_EQ(radio->CompletedWrites(), 1);
  }
  // No radio of that name; no radio memory of that size.
  EXPECT_EQ(RunCli("read --model 42 --port /dev/null -o " + dir.File("x.dat")), 2);
  EXPECT_EQ(RunCli("write --port /dev/null " + dir.Write("odd.dat", std::string(5000, '\0'))), 1);
}

// A port that cannot be opened: the message, then why and what to do, and
// nothing is written. `ports` shows each COM name's device and state.
TEST(TransferCommandTest, PortThatCannotBeOpenedSaysWhy) {
  test::TempDir dir;
  const auto radio = ServingRadio(std::make_unique<CloneRadio>(Radio16Config()));
  ASSERT_TRUE(radio);
  const std::string path = radio->PortPath();
  auto holder = CreateSerialPort();
  ASSERT_TRUE(holder->Open(path));
  const std::string message =
      "varo-cli: Could not Open the Port,Please check whether the Port are occupied or the device "
      "are ok\nvaro-cli: ";
  struct {
    std::string port;
    std::string why;
  } cases[] = {
      {path, path + " is in use by another program (core_tests (process " +
                             std::to_string(::getpid()) + ")). Close it and try again.\n"},
      {dir.File("ttyUSB9"), "Nothing at " + dir.File("ttyUSB9") +
                                ": the cable is unplugged, or the port map points elsewhere "
                                "(varo-cli ports lists the serial devices).\n"},
  };
  for (const auto& c : cases) {
    const Ran run = RunSuite("varo-cli read --port " + c.port + " -o " + dir.File("x.dat"));
    EXPECT_EQ(run.status, 1) << c.port;
    EXPECT_EQ(run.err, message + c.why);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.dat")));
  }

  const std::string ini = dir.Write("Ports.ini", "[Ports]\nCOM3=" + dir.File("ttyUSB9") + "\n");
  const Ran ports = RunSuite("varo-cli ports --ini " + ini,
                             "VARO_PORT_COM1=" + path + " VARO_PORT_COM2=" + dir.File("x"));
  holder->Close();
  radio->Stop();
  EXPECT_EQ(ports.status, 0);
  const std::string lines[] = {
      "COM1  " + path + "  (VARO_PORT_COM1)  in use\n      " + cases[0].why,
      "COM2  " + dir.File("x") + "  (VARO_PORT_COM2)  not connected\n",
      "COM3  " + dir.File("ttyUSB9") + "  not connected\n",
      "COM4  /dev/ttyS1  ",
      "\nSerial devices:\n"};
  std::size_t at = 0;
  for (const std::string& line : lines) {
    const std::size_t found = ports.out.find(line, at);
    EXPECT_NE(found, std::string::npos) << line << "\nin\n" << ports.out;
    if (found != std::string::npos) at = found + line.size();
  }
}

// A 16-channel memory with channels 1 and 2 programmed, channel 2 decoding
// `tone`, and `squelch` as its squelch level.
std::string Memory16(const char* tone, std::uint8_t squelch) {
  radio::MemoryGrid grid(model16::kTableRows, model16::kTableCols);
  const char* const rows[2][8] = {
      {"145.01250", "145.01250", "None", "None", "High", "No", "Off", "Wide"},
      {"146.50000", "146.50000", tone, "None", "Low", "Yes", "Off", "Narrow"}};
  for (long row = 1; row <= 2; ++row)
    for (long col = 1; col <= 8; ++col) grid.SetTextMatrix(row, col, rows[row - 1][col - 1]);
  auto image = model16::NewImage();
  model16::TableToImage(grid, image);
  image[model16::kSquelchLevel] = squelch;
  return {image.bytes.begin(), image.bytes.end()};
}

// verify and write --verify: the status, and on standard output the summary
// and every difference by channel and field, or option.
TEST(TransferCommandTest, VerifyNamesWhatTheRadioHoldsOtherwise) {
  test::TempDir dir;
  const std::string docFile = dir.Write("doc.dat", Memory16("67.0", 4));
  const std::string changed = Memory16("71.9", 6);
  struct {
    const char* name;
    std::string radioMemory;  // "" keeps a new radio's memory
    Fault fault;
    const char* command;
    int status;
    std::vector<std::string> lines;  // standard output from the summary on
  } cases[] = {
      {"same memory", Memory16("67.0", 4), {}, "verify", 0, {"The radio matches the document."}},
      {"tone and squelch", changed, {}, "verify", 3,
       {"The radio differs from the document in 2 places:",
        "Channel 2, QT/DQT Dec: document 67.0, radio 71.9",
        "Sequelch Level: document 4, radio 6"}},
      {"write then verify", "", {}, "write --verify", 0, {"The radio matches the document."}},
      // Frame 2 carries channel 1's frequencies: acknowledged, never stored.
      {"lost frame", "", {Fault::Kind::kLose, 2}, "write --verify", 3,
       {"The radio differs from the document in 8 places:",
        "Channel 1, Rx Frequency: document 145.01250, radio (empty)",
        "Channel 1, Tx Frequency: document 145.01250, radio (empty)",
        "Channel 1, QT/DQT Dec: document None, radio (empty)",
        "Channel 1, QT/DQT Enc: document None, radio (empty)",
        "Channel 1, Power: document High, radio (empty)",
        "Channel 1, Scan Add: document No, radio (empty)",
        "Channel 1, Busy Lock: document Off, radio (empty)",
        "Channel 1, W/N: document Wide, radio (empty)"}},
  };
  for (const auto& c : cases) {
    const auto radio = ServingRadio(std::make_unique<CloneRadio>(Radio16Config(), c.fault));
    ASSERT_TRUE(radio);
    if (!c.radioMemory.empty()) {
      ASSERT_TRUE(radio->SetMemory({c.radioMemory.begin(), c.radioMemory.end()}));
    }
    const Ran run = RunSuite("varo-cli " + std::string(c.command) + " --port " + radio->PortPath() +
                             " " + docFile);
    EXPECT_EQ(run.status, c.status) << c.name;
    const std::string& out = run.out;
    const std::size_t summary = out.find("The radio ");
    ASSERT_NE(summary, std::string::npos) << c.name << "\n" << out;
    std::vector<std::string> lines;
    for (std::size_t at = summary, end; at < out.size(); at = end + 1) {
      end = out.find('\n', at);
      lines.push_back(out.substr(at, end - at));
    }
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

// fleet: five simulated radios on a cable replugged between them, the third
// losing a write frame; each radio's line on standard output, five lines in
// the log in the user's data folder, the exit status telling that one failed.
// Ctrl+C while waiting ends the batch, with status 4 when --count radios were
// not done.
TEST(TransferCommandTest, FleetWritesEveryRadioAndLogsIt) {
  test::TempDir dir;
  const std::string link = dir.File("ttyFLEET");
  SimOptions options;
  options.linkPath = link;
  options.fleetGapMs = 1000;  // room for a loaded machine under the sanitizers
  const auto radio =
      ServingRadio(std::make_unique<FleetRadio>(Radio16Config(), 5, Fault{Fault::Kind::kLose, 2}, 3), options);
  ASSERT_TRUE(radio);
  const std::string doc = dir.Write("plan.dat", Memory16("67.0", 4));
  const std::string environment = "XDG_DATA_HOME=" + dir.File("data");
  const Ran run = RunSuite("varo-cli fleet --count 5 --port " + link + " " + doc, environment);
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  for (const std::string line :
       {"Radio 1: ok, identification 4B37313630350001\n",
        "Radio 3: FAILED, identification 4B37313630350003: Verify: The radio differs from the "
        "document in 8 places: Channel 1, Rx Frequency: document 145.01250, radio (empty); ",
        "Radio 5: ok, identification 4B37313630350005\n",
        "5 radios: 4 written and verified, 1 failed\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << "\nin\n" << run.out;
  }
  const std::vector<radio::FleetRecord> log =
      radio::ParseFleetLog(dir.Read("data/varo/fleet-log.csv"));
  ASSERT_EQ(log.size(), 5u);
  for (std::size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].ok, i != 2) << i;
    EXPECT_EQ(log[i].identification.back(), i + 1) << i;
    EXPECT_EQ(log[i].file, doc);
  }
  radio->Stop();

  // No radio: Ctrl+C while waiting.
  const struct {
    const char* count;
    int status;
  } stops[] = {{"--count 3 ", 4}, {"", 0}};
  for (const auto& s : stops) {
    const Ran stopped = RunSuite("varo-cli fleet " + std::string(s.count) + "--port " + link +
                                 "x " + doc + " --log " + dir.File("stop.csv"),
                                 "timeout --preserve-status -s INT 1");
    EXPECT_EQ(stopped.status, s.status) << s.count << stopped.out << stopped.err;
    EXPECT_NE(stopped.out.find("Radio 1: waiting for a radio on " + link + "x: not connected\n"),
              std::string::npos)
        << stopped.out;
    EXPECT_NE(stopped.out.find("0 radios: 0 written and verified, 0 failed\n"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("stop.csv")));
  EXPECT_EQ(RunSuite("varo-cli fleet --count 0 --port x " + doc).status, 2);
  EXPECT_EQ(RunSuite("varo-cli fleet " + doc).status, 2);
}

}  // namespace
}  // namespace varo::radiosim
