#include "platform/PosixSerialPort.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace varo {
namespace {

// Raw binary line: the port delivers and sends bytes exactly as they are.
// Hardware flow control (CRTSCTS), HUPCL and the speed are left alone.
void MakeRaw(termios& t) {
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                      INPCK | IXON | IXOFF | IXANY);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  t.c_cflag |= CS8 | CREAD;
  // Reads never block in the driver; poll() does the waiting.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

bool SetAttributes(int fd, const termios& t) {
  while (::tcsetattr(fd, TCSANOW, &t) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Total time-out of a transfer of `n` bytes; 0 when both fields are 0.
std::uint64_t TotalMilliseconds(unsigned multiplier, unsigned constant, std::size_t n) {
  return static_cast<std::uint64_t>(multiplier) * n + constant;
}

// "name (process N)" of another process that has `device` open, or "".
// Processes of other users whose descriptors we may not see are passed over.
std::string FindHolder(const std::string& device) {
  struct stat target {};
  if (::stat(device.c_str(), &target) != 0) return {};
  const std::string self = std::to_string(::getpid());
  DIR* proc = ::opendir("/proc");
  if (!proc) return {};
  std::string found;
  while (const dirent* entry = ::readdir(proc)) {
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == self)
      continue;
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* fds = ::opendir(fdDir.c_str());
    if (!fds) continue;
    while (const dirent* fd = ::readdir(fds)) {
      struct stat st {};
      if (fd->d_name[0] == '.' || ::stat((fdDir + "/" + fd->d_name).c_str(), &st) != 0) continue;
      if (st.st_dev == target.st_dev && st.st_ino == target.st_ino) {
        std::string name;
        std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
        found = (name.empty() ? std::string("?") : name) + " (process " + pid + ")";
        break;
      }
    }
    ::closedir(fds);
    if (!found.empty()) break;
  }
  ::closedir(proc);
  return found;
}

PortOpenError Failure(const std::string& device, int error) {
  PortOpenError e;
  e.device = device;
  e.error = error;
  switch (error) {
    case EACCES:
    case EPERM: {
      e.reason = PortOpenError::Reason::kPermission;
      if (const passwd* pw = ::getpwuid(::geteuid())) e.user = pw->pw_name;
      struct stat st {};
      if (::stat(device.c_str(), &st) == 0) {
        if (const group* gr = ::getgrgid(st.st_gid)) e.group = gr->gr_name;
        e.groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
      }
      break;
    }
    case EBUSY:
    case EWOULDBLOCK:
      e.reason = PortOpenError::Reason::kBusy;
      e.holder = FindHolder(device);
      break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      e.reason = PortOpenError::Reason::kMissing;
      break;
    case ENOTTY:
      e.reason = PortOpenError::Reason::kNotSerial;
      break;
    default:
      e.reason = PortOpenError::Reason::kOther;
      break;
  }
  return e;
}

}  // namespace

PosixSerialPort::~PosixSerialPort() { Close(); }

bool PosixSerialPort::Open(const std::string& devicePath) {
  Close();
  openError_ = {};
  if (devicePath.empty()) {
    openError_ = Failure(devicePath, ENOENT);
    return false;
  }
  // No O_CREAT: only an existing device opens. O_NOCTTY keeps the port from
  // becoming our controlling terminal, O_NONBLOCK keeps the open from waiting
  // for a carrier.
  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    openError_ = Failure(devicePath, errno);
    return false;
  }
  // Every later step that fails closes the device again and keeps its reason.
  auto fail = [&](int error) {
    ::close(fd);
    openError_ = Failure(devicePath, error);
    return false;
  };
  // The lock comes first, before any request to the driver: a port that a
  // transfer is using is let go at once, its line settings, queues and
  // modem lines untouched. The flock holds for root as well, whom TIOCEXCL
  // lets through.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno);
  if (!::isatty(fd)) return fail(ENOTTY);
  termios t{};
  if (::ioctl(fd, TIOCEXCL) != 0 || ::tcgetattr(fd, &t) != 0) return fail(errno);
  MakeRaw(t);
  if (!SetAttributes(fd, t)) return fail(errno);
  fd_ = fd;
  timeouts_ = Timeouts{};
  return true;
}

void PosixSerialPort::Close() {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);  // also releases the flock
  fd_ = -1;
}

bool PosixSerialPort::SetupComm(std::size_t, std::size_t) { return IsOpen(); }

bool PosixSerialPort::SetTimeouts(const Timeouts& timeouts) {
  if (!IsOpen()) return false;
  timeouts_ = timeouts;
  return true;
}

bool PosixSerialPort::SetLine9600_8N1() {
  if (!IsOpen()) return false;
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;
  MakeRaw(t);
  t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
  t.c_cflag |= CLOCAL;
  if (::cfsetispeed(&t, B9600) != 0 || ::cfsetospeed(&t, B9600) != 0) return false;
  return SetAttributes(fd_, t);
}

bool PosixSerialPort::Purge(unsigned flags) {
  if (!IsOpen()) return false;
  // Aborting has nothing to do: no read or write is ever pending here.
  // Transmit clearing has nothing to drop, as Write returns only after its
  // bytes have left; tcflush(TCOFLUSH) would instead throw away, on a
  // pseudo-terminal, bytes already sent that the other end has not read yet.
  if (flags & kRxClear) return ::tcflush(fd_, TCIFLUSH) == 0;
  return true;
}

bool PosixSerialPort::Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) {
  got = 0;
  if (!IsOpen()) return false;
  const Deadline total = Deadline::After(
      TotalMilliseconds(timeouts_.readTotalMultiplier, timeouts_.readTotalConstant, n));
  Deadline interval;  // runs only once the first byte has come
  while (got < n) {
    const Deadline wait = Deadline::Earlier(total, interval);
    if (wait.Passed()) break;
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, wait.PollMilliseconds());
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (ready == 0) continue;  // the deadline has passed; the loop ends
    if (p.revents & POLLNVAL) return false;
    if (p.revents & POLLIN) {
      ssize_t k = ::read(fd_, buffer + got, n - got);
      if (k > 0) {
        got += static_cast<std::size_t>(k);
        interval = Deadline::After(timeouts_.readInterval);
        continue;
      }
      if (k < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      return false;  // end of file: the other side hung up, or EIO: the device went away
    }
    if (p.revents & (POLLHUP | POLLERR)) return false;
  }
  return true;
}

bool PosixSerialPort::Write(const std::uint8_t* data, std::size_t n) {
  if (!IsOpen()) return false;
  const Deadline total = Deadline::After(
      TotalMilliseconds(timeouts_.writeTotalMultiplier, timeouts_.writeTotalConstant, n));
  std::size_t sent = 0;
  while (sent < n) {
    ssize_t k = ::write(fd_, data + sent, n - sent);
    if (k > 0) {
      sent += static_cast<std::size_t>(k);
      continue;
    }
    if (k < 0 && errno == EINTR) continue;
    if (k < 0 && errno != EAGAIN) return false;
    // The driver's queue is full: wait until it takes more, within the total.
    if (total.Passed()) return false;
    pollfd p{fd_, POLLOUT, 0};
    int ready = ::poll(&p, 1, total.PollMilliseconds());
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && !(p.revents & POLLOUT)) return false;
  }
  return WaitUntilSent(total);
}

bool PosixSerialPort::WaitUntilSent(const Deadline& deadline) {
  // tcdrain cannot be bounded, so first wait for the driver's queue to empty
  // under the write time-out (a port held up by flow control would otherwise
  // block us forever), then let tcdrain wait for the last bytes in the UART.
  if (deadline.IsSet()) {
    int queued = 0;
    while (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0) {
      if (deadline.Passed()) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  while (::tcdrain(fd_) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::unique_ptr<SerialPort> CreateSerialPort() { return std::make_unique<PosixSerialPort>(); }

}  // namespace varo
