#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/PosixSerialPort.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace varo {
namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A pseudo-terminal pair: the port under test opens the slave by its path; the
// test plays the radio on the master side.
class SerialPortTest : public testing::Test {
 protected:
  void SetUp() override {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(::grantpt(master_), 0);
    ASSERT_EQ(::unlockpt(master_), 0);
    slave_ = ::ptsname(master_);
    ASSERT_TRUE(port_.Open(slave_));
    ASSERT_TRUE(port_.SetLine9600_8N1());
    ASSERT_TRUE(port_.SetupComm(1024, 512));
  }
  void TearDown() override { CloseMaster(); }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  void Send(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  // What reaches the master within two seconds, up to `n` bytes.
  std::string Receive(std::size_t n) {
    std::string got;
    const auto end = Clock::now() + std::chrono::seconds(2);
    while (got.size() < n && Clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      char buffer[512];
      ssize_t k = ::poll(&p, 1, 10) > 0 ? ::read(master_, buffer, sizeof buffer) : 0;
      if (k > 0) got.append(buffer, std::size_t(k));
    }
    return got;
  }
  std::string Read(std::size_t n, const SerialPort::Timeouts& t, bool* ok = nullptr) {
    EXPECT_TRUE(port_.SetTimeouts(t));
    std::string buffer(n, '\0');
    std::size_t got = n + 1;
    bool result = port_.Read(reinterpret_cast<std::uint8_t*>(buffer.data()), n, got);
    if (ok) *ok = result;
    EXPECT_LE(got, n);
    buffer.resize(std::min(got, n));
    return buffer;
  }
  bool Write(const std::string& bytes) {
    return port_.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }

  int master_ = -1;
  std::string slave_;
  PosixSerialPort port_;
};

TEST_F(SerialPortTest, EveryByteValueIntactBothWays) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += char(i);
  ASSERT_TRUE(Write(bytes));
  EXPECT_EQ(Receive(bytes.size()), bytes);
  Send(bytes);
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

// Names the case in the test log instead of dumping its bytes.
void PrintTo(const TimeoutCase& c, std::ostream* os) { *os << c.name; }

class SerialTimeouts : public SerialPortTest, public testing::WithParamInterface<TimeoutCase> {};

TEST_P(SerialTimeouts, ReadReturnsWhatArrived) {
  const TimeoutCase& c = GetParam();
  if (!c.arriving.empty()) Send(c.arriving);
  const auto start = Clock::now();
  bool ok = false;
  EXPECT_EQ(Read(c.asked, c.timeouts, &ok), c.arriving);
  EXPECT_TRUE(ok);  // a time-out is not an error
  EXPECT_GE(MsSince(start), c.minMs);
  EXPECT_LE(MsSince(start), c.maxMs);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SerialTimeouts,
    testing::Values(
        // Nothing comes: 10 ms x 12 + 100 ms total.
        TimeoutCase{"NothingComesTotalPasses", "", 12, {30, 10, 100, 0, 0}, 200, 1500},
        // The clone link's values: the interval ends a short reply long before
        // the 6090 ms total.
        TimeoutCase{"ReplyStopsEarly", "\x01\x02\x03\x04\x05", 12, {30, 500, 90, 0, 0}, 25, 2000},
        TimeoutCase{"AllBytesReturnAtOnce", "\x06", 1, {30, 500, 90, 0, 0}, 0, 400}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(SerialPortTest, PurgeDropsPendingInput) {
  Send("stale bytes");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let them reach the port
  ASSERT_TRUE(port_.Purge(SerialPort::kTxClear | SerialPort::kRxClear));
  EXPECT_EQ(Read(16, {0, 0, 100, 0, 0}), "");
  Send("fresh");
  EXPECT_EQ(Read(5, {0, 0, 1000, 0, 0}), "fresh");
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc) &&
         cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

// A second open of a port in use (as root, too) is refused without touching
// the first user: its line settings, the bytes on their way to it and the
// rest of its exchange stay as they were. The first user is this program in
// the middle of a transfer, then another program holding the device's lock
// with line settings of its own (line mode, 4800 baud) that opening the port
// here would change.
TEST_F(SerialPortTest, RefusedOpenLeavesThePortInUseAlone) {
  // The master side reports the slave's settings.
  const auto settings = [this] {
    termios t{};
    EXPECT_EQ(::tcgetattr(master_, &t), 0);
    return t;
  };
  const auto letArrive = [] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); };
  PosixSerialPort second;

  ASSERT_TRUE(port_.SetTimeouts({30, 0, 2000, 0, 0}));
  ASSERT_TRUE(Write("request"));
  EXPECT_EQ(Receive(7), "request");
  Send("reply-1");
  letArrive();  // waiting in the port's input queue
  termios before = settings();
  EXPECT_FALSE(second.Open(slave_));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(SameSettings(settings(), before));
  Send("reply-2");
  EXPECT_EQ(Read(14, {30, 0, 2000, 0, 0}), "reply-1reply-2");
  ASSERT_TRUE(Write("ack"));
  EXPECT_EQ(Receive(3), "ack");

  port_.Close();
  const int other = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  termios own = settings();
  own.c_lflag = (own.c_lflag | ICANON) & ~static_cast<tcflag_t>(ECHO);
  own.c_iflag |= IXON;
  ASSERT_EQ(cfsetspeed(&own, B4800), 0);
  ASSERT_EQ(::tcsetattr(other, TCSANOW, &own), 0);
  Send("line\n");
  letArrive();
  before = settings();
  EXPECT_FALSE(second.Open(slave_));
  EXPECT_TRUE(SameSettings(settings(), before));
  EXPECT_EQ(cfgetospeed(&before), speed_t(B4800));
  char line[16] = {};
  EXPECT_EQ(::read(other, line, sizeof line), 5);
  EXPECT_STREQ(line, "line\n");
  ::close(other);
}

TEST_F(SerialPortTest, FailuresEndPromptly) {
  // Nobody reads the master, so the pseudo-terminal fills up: the write time-out ends it.
  ASSERT_TRUE(port_.SetTimeouts({0, 0, 0, 0, 200}));
  auto start = Clock::now();
  EXPECT_FALSE(Write(std::string(1 << 20, 'x')));
  EXPECT_LT(MsSince(start), 3000);

  // The other side goes away: an error, not a wait for the 6 s total.
  CloseMaster();
  start = Clock::now();
  bool ok = true;
  EXPECT_EQ(Read(12, {30, 500, 90, 0, 0}, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_LT(MsSince(start), 2000);
}

TEST_F(SerialPortTest, LineSettingsKeepHardwareFlowControl) {
  port_.Close();
  // A second handle on the slave, opened first, to set and look at its settings.
  int probe = ::open(slave_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(probe, 0);
  termios t{};
  ::tcgetattr(probe, &t);
  t.c_cflag |= CRTSCTS | PARENB | CSTOPB;
  t.c_iflag |= IXON | ICRNL;
  ::tcsetattr(probe, TCSANOW, &t);
  ASSERT_TRUE(port_.Open(slave_));
  ASSERT_TRUE(port_.SetLine9600_8N1());
  ::tcgetattr(probe, &t);
  ::close(probe);
  EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
  EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8 | CRTSCTS));
  EXPECT_EQ(t.c_iflag & (IXON | ICRNL), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
}

using Reason = PortOpenError::Reason;

// Paths where no serial port can be opened, each with the reason a message
// gives: nothing there (a missing node, a by-id name whose adapter is
// unplugged, a path through a plain file, no path at all), something that is
// no serial port. A successful open clears the reason.
TEST_F(SerialPortTest, OpenFailureReasonsOfPaths) {
  test::TempDir dir;
  const std::string plain = dir.Write("plain", "");
  std::filesystem::create_symlink(dir.File("ttyUSB9"), dir.path() / "usb-Adapter-if00-port0");
  port_.Close();
  struct Case {
    std::string path;
    Reason reason;
    int error;
  };
  for (const Case& c : {Case{dir.File("missing"), Reason::kMissing, ENOENT},
                        Case{dir.File("usb-Adapter-if00-port0"), Reason::kMissing, ENOENT},
                        Case{plain + "/tty", Reason::kMissing, ENOTDIR},
                        Case{"", Reason::kMissing, ENOENT},
                        Case{plain, Reason::kNotSerial, ENOTTY},
                        Case{dir.path().string(), Reason::kOther, EISDIR}}) {
    PosixSerialPort port;
    EXPECT_FALSE(port.Open(c.path)) << c.path;
    const PortOpenError e = port.LastOpenError();
    EXPECT_EQ(e.reason, c.reason) << c.path;
    EXPECT_EQ(e.error, c.error) << c.path;
    EXPECT_EQ(e.device, c.path);
    EXPECT_TRUE(port.Open(slave_));
    EXPECT_EQ(port.LastOpenError().reason, Reason::kNone);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));  // an open creates nothing
}

// A port another program holds is busy, and that program is named; one this
// program holds itself is busy without a name (it is no other program), and
// free again once closed.
TEST_F(SerialPortTest, OpenFailureNamesTheProgramHoldingThePort) {
  PosixSerialPort second;
  EXPECT_FALSE(second.Open(slave_));
  EXPECT_EQ(second.LastOpenError().reason, Reason::kBusy);
  EXPECT_EQ(second.LastOpenError().holder, "");
  port_.Close();
  EXPECT_TRUE(second.Open(slave_));
  second.Close();

  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    ::close(done[1]);  // so that the parent's close ends the wait below
    PosixSerialPort port;
    const char opened = port.Open(slave_) ? 'y' : 'n';
    ssize_t ignored = ::write(ready[1], &opened, 1);
    ignored = ::read(done[0], const_cast<char*>(&opened), 1);  // until the parent is done
    (void)ignored;
    ::_exit(0);
  }
  char opened = 0;
  ASSERT_EQ(::read(ready[0], &opened, 1), 1);
  EXPECT_EQ(opened, 'y');
  EXPECT_FALSE(second.Open(slave_));
  const PortOpenError e = second.LastOpenError();
  ::close(done[1]);
  ::waitpid(holder, nullptr, 0);
  for (int fd : {ready[0], ready[1], done[0]}) ::close(fd);
  EXPECT_EQ(e.reason, Reason::kBusy);
  EXPECT_EQ(e.holder, "core_tests (process " + std::to_string(holder) + ")");
  EXPECT_TRUE(second.Open(slave_));  // the holder has gone
}

// An ordinary user meets a device of another owner: with the device's group
// allowed to read and write it, the reason names that group (the user is to
// join it); with only the owner allowed, no group helps. The owner's reading
// and writing for all opens it.
TEST_F(SerialPortTest, OpenFailureNamesTheGroupOwningTheDevice) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root to meet the device as another user (uid 65534)";
  }
  port_.Close();
  const group* dialout = ::getgrnam("dialout");
  struct stat st {};
  ASSERT_EQ(::stat(slave_.c_str(), &st), 0);
  const gid_t gid = dialout ? dialout->gr_gid : st.st_gid;
  const group* owning = ::getgrgid(gid);
  ASSERT_NE(owning, nullptr);
  const std::string groupName = owning->gr_name;
  ASSERT_EQ(::chown(slave_.c_str(), 0, gid), 0);
  const passwd* nobody = ::getpwuid(65534);
  const std::string user = nobody ? nobody->pw_name : "";
  struct Case {
    mode_t mode;
    std::string seen;  // reason, group, whether the group may use it, user
  };
  for (const Case& c : {Case{0660, "permission " + groupName + " 1 " + user},
                        Case{0600, "permission " + groupName + " 0 " + user},
                        Case{0666, "none  0 "}}) {
    ASSERT_EQ(::chmod(slave_.c_str(), c.mode), 0);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const int status = test::RunUnprivileged([&] {
      PosixSerialPort port;
      port.Open(slave_);
      const PortOpenError e = port.LastOpenError();
      const std::string seen =
          std::string(e.reason == Reason::kPermission ? "permission"
                      : e.reason == Reason::kNone     ? "none"
                                                      : "other") +
          " " + e.group + " " + (e.groupMayUse ? "1" : "0") + " " + e.user;
      return ::write(out[1], seen.data(), seen.size()) == ssize_t(seen.size()) ? 0 : 1;
    });
    ::close(out[1]);
    char buffer[256] = {};
    const ssize_t n = ::read(out[0], buffer, sizeof buffer - 1);
    ::close(out[0]);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(std::string(buffer, n > 0 ? std::size_t(n) : 0), c.seen) << std::oct << c.mode;
  }
}

}  // namespace
}  // namespace varo
