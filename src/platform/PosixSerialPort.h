#pragma once

#include "platform/Deadline.h"
#include "platform/SerialPort.h"

namespace varo {

// The serial port on termios and poll. The descriptor is non-blocking; every
// wait is a poll() bounded by a Deadline, so the Win32-style time-outs hold
// exactly and EINTR is simply retried.
//
// Exclusive use takes two locks. flock(LOCK_EX) on the device is taken first,
// before any terminal request, and holds for everybody (root included, and a
// second open within this process); an open it refuses closes the device
// again without having asked the driver anything. TIOCEXCL then makes
// further open() calls fail outright for other users who do not flock.
//
// The port is switched to raw binary on open, as serial handles always are on
// the platform the programs were made for: no echo, no line editing, no
// character translation, no signal characters. Software flow control
// (IXON/IXOFF) is switched off as well: every freshly opened tty here starts
// with IXON on, and it would swallow the image bytes 0x11 and 0x13 of a
// binary transfer. Hardware flow control (CRTSCTS) and the modem lines stay
// as the port had them.
//
// A failed Open keeps its reason (LastOpenError): EACCES or EPERM is a
// permission problem (with the group owning the device), EBUSY or a flock
// held elsewhere a busy port (with the program holding it, when /proc tells),
// ENOENT, ENODEV, ENXIO or ENOTDIR a missing device, a path that is no
// terminal no serial port.
class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool Open(const std::string& devicePath) override;
  bool IsOpen() const override { return fd_ >= 0; }
  void Close() override;
  PortOpenError LastOpenError() const override { return openError_; }

  bool SetupComm(std::size_t inQueue, std::size_t outQueue) override;
  bool SetTimeouts(const Timeouts& timeouts) override;
  bool SetLine9600_8N1() override;
  bool Purge(unsigned flags) override;

  bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override;
  bool Write(const std::uint8_t* data, std::size_t n) override;

 private:
  bool WaitUntilSent(const Deadline& deadline);

  int fd_ = -1;
  Timeouts timeouts_{};
  PortOpenError openError_;
};

}  // namespace varo
