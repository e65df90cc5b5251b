#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "radio/CloneLink.h"
#include "radio/FleetLog.h"
#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo {
class SerialPort;
struct PortOpenError;
}  // namespace varo

namespace varo::radio {

// What a batch writes into each radio, and where.
struct FleetJob {
  const RadioModel* model = nullptr;
  MemoryImage plan;     // the memory image every radio receives
  std::string file;     // the document's file, for the log
  std::string device;   // the port's device
  std::string logPath;  // the log each radio is appended to; empty: none
  // Pause between two tries of a port without a radio.
  unsigned probeIntervalMs = 1000;
  // Pause between two looks whether the radio programmed last is still there.
  unsigned removalIntervalMs = 500;
  // The interface language of FleetResult::shownReason, and the link's
  // messages in it by id (CloneMessageText when empty).
  bool chinese = false;
  std::function<std::string(int)> messageText;
};

enum class FleetPhase {
  kAwaitRemoval,  // the radio programmed last still answers: unplug it
  kAwaitNext,     // it has gone; the next radio is not wanted yet
  kAwaitRadio,    // trying the port for the next radio
  kWriting,       // a radio answered; its write runs
  kVerifying,     // its read-back runs
};

// What a batch tells its surroundings and asks them, on the batch's thread.
class FleetObserver {
 public:
  virtual ~FleetObserver() = default;
  // Radio `number` (1, 2, ...) has reached `phase`. kAwaitRadio comes again
  // whenever the reason the port has no radio changes: `port` tells why the
  // port did not open (Reason::kNone: it opened and nothing answered).
  virtual void PhaseChanged(FleetPhase phase, int number, const PortOpenError& port) = 0;
  // Blocks of the write or the read-back done so far, of `total`.
  virtual void Progress(int position, int total) = 0;
  // Ends a wait at once, and a write or read-back after its current block.
  virtual bool StopRequested() = 0;
  // Whether the next radio is wanted now; asked until it says yes, once per
  // radio (a window's Next; true at once for a batch that goes on by itself).
  virtual bool NextWanted() { return true; }
  // Keeps an interface alive between blocks and during pauses.
  virtual void PumpEvent() {}
  // Blocks for `ms` milliseconds.
  virtual void Sleep(unsigned ms);
};

// One radio of a batch.
struct FleetResult {
  int number = 0;           // 1 for the first radio of the batch
  FleetRecord record;       // as the log has it (reason in English)
  std::string shownReason;  // the reason in the interface language
  std::string logError;     // why the log could not be appended; "" otherwise
};

// A batch: one plan written into many radios on one port, one after another,
// each read back, compared with the plan and logged. The port is closed
// between radios, so one cable can be unplugged and the next plugged in; a
// device that is missing meanwhile means "no radio yet". The link's messages
// are never shown: a radio that fails is logged as failed with the message
// as its reason, and the batch goes on with the next.
class FleetBatch {
 public:
  // `port` and `observer` must outlive the batch.
  FleetBatch(SerialPort& port, FleetObserver& observer, FleetJob job);
  ~FleetBatch();
  FleetBatch(const FleetBatch&) = delete;
  FleetBatch& operator=(const FleetBatch&) = delete;

  // Waits for the next radio and programs it:
  //  1. after the first radio, the one programmed last must go: the port is
  //     tried every removalIntervalMs until the device is missing or nothing
  //     answers. A radio still connected is never taken for the next one,
  //     whatever it sends as identification (radios of one model may all
  //     send the same, and a write may change it);
  //  2. once NextWanted(), the port is tried every probeIntervalMs, quietly,
  //     until a radio answers (a missing, busy or refused device is "no radio
  //     yet", its reason passed to PhaseChanged);
  //  3. the radio is written, read back and compared with the plan; the
  //     record goes to the log.
  // Nothing when a stop ended the wait before a radio answered. A stop
  // during the write or the read-back fails that radio.
  std::optional<FleetResult> ProgramNext();

  // SHA-256 of the plan, as the log has it.
  const std::string& PlanSha256() const { return sha256_; }
  // Radios handled so far.
  int Programmed() const { return programmed_; }

 private:
  class LinkHost;

  bool Pause(unsigned ms);
  bool AwaitRemoval(int number);
  FleetResult Finish(int number, const std::optional<std::vector<std::uint8_t>>& id,
                     std::string reason, std::string shownReason);

  SerialPort& port_;
  FleetObserver& observer_;
  FleetJob job_;
  std::string sha256_;
  int programmed_ = 0;
  std::unique_ptr<LinkHost> host_;
};

}  // namespace varo::radio
