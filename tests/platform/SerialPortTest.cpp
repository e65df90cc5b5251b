#include "platform/PosixSerialPort.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "ini/IniProfile.h"
#include "support/TempDir.h"

namespace varo {
namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A pseudo-terminal pair: the port under test opens the slave by its path;
// the test plays the radio on the master side.
class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
  }
  ~PtyPair() { CloseMaster(); }

  const std::string& SlavePath() const { return slave_; }
  void Send(const std::string& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Up to `n` bytes that reach the master within `ms`.
  std::string Receive(std::size_t n, int ms) const {
    std::string got;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < n && Clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) continue;
      char buffer[4096];
      ssize_t k = ::read(master_, buffer, std::min(sizeof buffer, n - got.size()));
      if (k <= 0) break;
      got.append(buffer, static_cast<std::size_t>(k));
    }
    return got;
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

class SerialPortTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(pty_.SlavePath().empty());
    ASSERT_TRUE(port_.Open(pty_.SlavePath()));
    ASSERT_TRUE(port_.SetLine9600_8N1());
    ASSERT_TRUE(port_.SetupComm(1024, 512));
  }

  std::string Read(std::size_t n, const SerialPort::Timeouts& t, bool* ok = nullptr) {
    EXPECT_TRUE(port_.SetTimeouts(t));
    std::string buffer(n, '\0');
    std::size_t got = 99;
    bool result = port_.Read(reinterpret_cast<std::uint8_t*>(buffer.data()), n, got);
    if (ok) *ok = result;
    EXPECT_LE(got, n);
    buffer.resize(std::min(got, n));
    return buffer;
  }

  PtyPair pty_;
  PosixSerialPort port_;
};

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

TEST_F(SerialPortTest, EveryByteValueIntactBothWays) {
  const std::string bytes = AllByteValues();
  ASSERT_TRUE(port_.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_EQ(pty_.Receive(bytes.size(), 2000), bytes);

  pty_.Send(bytes);
  bool ok = false;
  EXPECT_EQ(Read(bytes.size(), {30, 0, 2000, 0, 0}, &ok), bytes);
  EXPECT_TRUE(ok);
}

struct TimeoutCase {
  const char* name;
  std::string arriving;  // sent by the other side before the read
  std::size_t asked;
  SerialPort::Timeouts timeouts;
  long minMs, maxMs;
};

class SerialTimeouts : public SerialPortTest, public testing::WithParamInterface<TimeoutCase> {};

TEST_P(SerialTimeouts, ReadReturnsWhatArrived) {
  const TimeoutCase& c = GetParam();
  if (!c.arriving.empty()) pty_.Send(c.arriving);
  const auto start = Clock::now();
  bool ok = false;
  EXPECT_EQ(Read(c.asked, c.timeouts, &ok), c.arriving);
  const long ms = MsSince(start);
  EXPECT_TRUE(ok);  // a time-out is not an error
  EXPECT_GE(ms, c.minMs);
  EXPECT_LE(ms, c.maxMs);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SerialTimeouts,
    testing::Values(
        // 10 ms x 12 + 100 ms total, nothing comes.
        TimeoutCase{"NothingComesTotalPasses", "", 12, {30, 10, 100, 0, 0}, 200, 1500},
        // The link's own values: the interval ends a short reply long before
        // the 6090 ms total.
        TimeoutCase{"ReplyStopsEarlyIntervalPasses", "\x01\x02\x03\x04\x05", 12, {30, 500, 90, 0, 0}, 25, 2000},
        TimeoutCase{"AllBytesReturnAtOnce", "\x06", 1, {30, 500, 90, 0, 0}, 0, 400}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, PurgeDropsPendingInput) {
  pty_.Send("stale bytes");
  // Wait until the bytes have reached the port's input queue.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(port_.Purge(SerialPort::kTxClear | SerialPort::kRxClear));
  EXPECT_EQ(Read(16, {0, 0, 100, 0, 0}), "");
  pty_.Send("fresh");
  EXPECT_EQ(Read(5, {0, 0, 1000, 0, 0}), "fresh");
}

TEST_F(SerialPortTest, OpenIsExclusive) {
  PosixSerialPort second;
  EXPECT_FALSE(second.Open(pty_.SlavePath()));
  port_.Close();
  EXPECT_TRUE(second.Open(pty_.SlavePath()));
}

TEST_F(SerialPortTest, OtherSideGoneIsAnErrorNotAHang) {
  pty_.CloseMaster();
  const auto start = Clock::now();
  bool ok = true;
  EXPECT_EQ(Read(12, {30, 500, 90, 0, 0}, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_LT(MsSince(start), 2000);
}

TEST_F(SerialPortTest, WriteNobodyReadsEndsAtWriteTimeout) {
  // Nobody reads the master, so the pseudo-terminal's buffer fills.
  ASSERT_TRUE(port_.SetTimeouts({0, 0, 0, 0, 200}));
  const std::string bytes(1 << 20, 'x');
  const auto start = Clock::now();
  EXPECT_FALSE(port_.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_LT(MsSince(start), 3000);
}

TEST(PosixSerialPort, LineSettingsKeepHardwareFlowControl) {
  PtyPair pty;
  // Another handle on the slave, opened first, to look at its settings.
  int probe = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(probe, 0);
  termios t{};
  ASSERT_EQ(::tcgetattr(probe, &t), 0);
  t.c_cflag |= CRTSCTS | PARENB | CSTOPB;
  t.c_iflag |= IXON | ICRNL;
  ASSERT_EQ(::tcsetattr(probe, TCSANOW, &t), 0);

  PosixSerialPort port;
  ASSERT_TRUE(port.Open(pty.SlavePath()));
  ASSERT_TRUE(port.SetLine9600_8N1());
  ASSERT_EQ(::tcgetattr(probe, &t), 0);
  ::close(probe);
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8 | CRTSCTS));
  EXPECT_EQ(t.c_iflag & (IXON | ICRNL), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
}

TEST(PosixSerialPort, OnlyExistingTerminalsOpen) {
  test::TempDir dir;
  PosixSerialPort port;
  EXPECT_FALSE(port.Open(dir.File("missing")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
  EXPECT_FALSE(port.Open(dir.Write("plain", "")));
  EXPECT_FALSE(port.Open(""));
  EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPortNames, ResolvePortName) {
  test::TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("Varo16.ini", "[Ports]\nCOM2=/dev/ttyACM0\nCOM4 = /dev/rfcomm0\n"), false, true,
                       false));
  ::setenv("VARO_PORT_COM3", "/tmp/sim-pty", 1);
  struct Case {
    std::string name;
    const IniProfile* ini;
    std::string path;
  };
  for (const Case& c : {Case{"COM1", &ini, "/dev/ttyUSB0"}, Case{"com2", &ini, "/dev/ttyACM0"},
                        Case{"Com2", nullptr, "/dev/ttyUSB1"}, Case{"COM3", &ini, "/tmp/sim-pty"},
                        Case{"COM4", &ini, "/dev/rfcomm0"}, Case{"COM4", nullptr, "/dev/ttyS1"},
                        Case{"com0", &ini, "com0"}, Case{"COM5", &ini, "COM5"}, Case{"COM12", &ini, "COM12"},
                        Case{"/dev/ttyUSB3", &ini, "/dev/ttyUSB3"}}) {
    EXPECT_EQ(ResolvePortName(c.name, c.ini), c.path) << c.name;
  }
  ::unsetenv("VARO_PORT_COM3");
  EXPECT_EQ(ResolvePortName("COM3", &ini), "/dev/ttyS0");
}

}  // namespace
}  // namespace varo
