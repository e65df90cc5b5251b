#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace varo {

// Why a port could not be opened, so that a message can tell the user what to
// do about it.
struct PortOpenError {
  enum class Reason {
    kNone,        // the last open succeeded (or none was tried)
    kPermission,  // the user may not use the device
    kBusy,        // another program holds it
    kMissing,     // nothing at that path: no device, or a link to nowhere
    kNotSerial,   // something is there, but no serial port (a plain file, say)
    kOther,       // any other failure; `error` tells which
  };
  Reason reason = Reason::kNone;
  int error = 0;       // errno of the step that failed (0 when none applies)
  std::string device;  // the path as it was given
  // kPermission: the user's login name, the group owning the device and
  // whether membership of that group would let the user read and write it.
  std::string user;
  std::string group;
  bool groupMayUse = false;
  // kBusy: the program holding the device, "name (process N)", when it
  // could be found.
  std::string holder;
};

// A serial port as the clone link and the port probe use it: opened by name,
// exclusively, for 9600 baud 8N1 raw transfers with Win32-style time-outs.
class SerialPort {
 public:
  // Read: a read returns when `n` bytes arrived, when `readInterval` ms pass
  // between two bytes (after the first), or when the total
  // `readTotalMultiplier` * n + `readTotalConstant` ms have passed, whichever
  // comes first. A zero field disables that limit. Write: the same total for
  // the bytes written.
  struct Timeouts {
    unsigned readInterval = 0;
    unsigned readTotalMultiplier = 0;
    unsigned readTotalConstant = 0;
    unsigned writeTotalMultiplier = 0;
    unsigned writeTotalConstant = 0;
  };

  enum PurgeFlags : unsigned {
    kTxAbort = 1,
    kRxAbort = 2,
    kTxClear = 4,
    kRxClear = 8,
  };

  virtual ~SerialPort() = default;

  // Opens an existing device for reading and writing, exclusively: a second
  // open of the same device, by this or another process, fails.
  virtual bool Open(const std::string& devicePath) = 0;
  virtual bool IsOpen() const = 0;
  virtual void Close() = 0;
  // Why the last Open failed (Reason::kNone after a successful one).
  virtual PortOpenError LastOpenError() const { return {}; }

  // Driver queue sizes; accepted and ignored where the platform sizes them.
  virtual bool SetupComm(std::size_t inQueue, std::size_t outQueue) = 0;
  virtual bool SetTimeouts(const Timeouts& timeouts) = 0;
  // 9600 baud, 8 data bits, no parity, one stop bit, raw (binary, no parity
  // check); flow control and modem lines stay as the port had them.
  virtual bool SetLine9600_8N1() = 0;
  // Receive-side clearing drops input not read yet. Transmit-side clearing has
  // nothing to drop, because Write returns only once its bytes have left.
  virtual bool Purge(unsigned flags) = 0;

  // Reads up to `n` bytes under the time-outs. Returns false only on an error
  // of the port itself (for example the device vanished); a time-out is not
  // an error: `got` then tells how many bytes arrived.
  virtual bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) = 0;
  // Writes `n` bytes and waits until they have been sent. Returns false on an
  // error or when not all bytes went out within the write time-out.
  virtual bool Write(const std::uint8_t* data, std::size_t n) = 0;
};

// The port of this platform (termios and poll on POSIX).
std::unique_ptr<SerialPort> CreateSerialPort();

}  // namespace varo
