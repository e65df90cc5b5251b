#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "radiosim/RadioModel.h"

namespace varo::radiosim {

// The wire time of one byte at 9600 baud 8N1 (start bit, 8 data bits, stop
// bit).
inline constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * 10 / 9600};

struct SimOptions {
  // Pace both directions as on a 9600 baud line: a received byte counts as
  // arrived one byte time after the previous one, and a reply is handed over
  // once all its bytes would have crossed the line (one byte time each), in
  // one piece, so that a late wake-up of the serving thread never leaves a
  // gap inside a reply. Off: the radio answers as soon as it has the bytes.
  bool paced = false;
  // When set, a symbolic link to the pseudo-terminal is made at this path
  // (replacing an earlier symbolic link there, never another file) and
  // removed again when the radio goes.
  std::string linkPath;
  // When set, the memory is saved here after every completed write and on
  // RequestSave().
  std::string savePath;
  // A fleet (FleetRadio): how long the cable stays without a radio once the
  // dealer has unplugged one. Meanwhile the symbolic link is gone, as a USB
  // device goes when its cable is pulled, and nothing answers.
  unsigned fleetGapMs = 2000;
};

// A radio model behind a pseudo-terminal: the programmer opens PortPath() as
// its serial port, and the radio answers on the master side. Run() serves on
// the calling thread; Start() serves on a thread of its own. All accessors are
// safe from any thread while the radio serves.
class SimulatedRadio {
 public:
  SimulatedRadio(std::unique_ptr<RadioModel> model, SimOptions options);
  ~SimulatedRadio();  // Stop(), then closes the pseudo-terminal
  SimulatedRadio(const SimulatedRadio&) = delete;
  SimulatedRadio& operator=(const SimulatedRadio&) = delete;

  // Creates the pseudo-terminal (and the symbolic link). On failure returns
  // false with a message in `error`.
  bool Open(std::string& error);
  // The device the programmer opens: the symbolic link when one was asked for,
  // else the pseudo-terminal's own path.
  std::string PortPath() const;
  // The pseudo-terminal's own path ("/dev/pts/N").
  const std::string& DevicePath() const { return devicePath_; }

  // Serves until Stop() or until the radio vanishes (a fault).
  void Run();
  void Start();
  // Ends Run() and waits for the serving thread started by Start(). Safe to
  // call from a signal handler when the radio is served by Run() (it then only
  // writes to a pipe and does not wait).
  void Stop();
  // Saves the memory to SimOptions::savePath on the serving thread. Safe from
  // a signal handler.
  void RequestSave();

  std::vector<std::uint8_t> Memory() const;
  bool SetMemory(const std::vector<std::uint8_t>& memory);
  // Every byte the programmer sent since the radio was opened (or since
  // ClearReceived()), in order.
  std::vector<std::uint8_t> Received() const;
  void ClearReceived();
  // Bytes the radio has sent back.
  std::size_t BytesSent() const { return bytesSent_.load(); }
  int CompletedWrites() const { return completedWrites_.load(); }
  bool Vanished() const { return vanished_.load(); }
  // Last save failure, empty when every save worked.
  std::string SaveError() const;
  // A fleet: the memory of every radio unplugged so far, in order.
  std::vector<std::vector<std::uint8_t>> Unplugged() const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Timed {
    std::uint8_t byte;
    Clock::time_point due;
  };

  void Serve();
  void TakeInput(Clock::time_point now);
  void HandleDueInput(Clock::time_point now);
  void SendDueOutput(Clock::time_point now);
  void Save();
  void Vanish();
  bool MakeLink(std::string& error);
  void RemoveLink();
  void Unplug(Clock::time_point now);
  void PlugNext(Clock::time_point now);
  void CloseAll();

  std::unique_ptr<RadioModel> model_;
  SimOptions options_;
  int master_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::string devicePath_;
  bool linkMade_ = false;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> saveRequested_{false};
  std::atomic<bool> vanished_{false};
  std::atomic<int> completedWrites_{0};
  std::atomic<std::size_t> bytesSent_{0};

  mutable std::mutex mutex_;  // guards model_, received_, saveError_, unplugged_
  std::vector<std::uint8_t> received_;
  std::string saveError_;
  std::vector<std::vector<std::uint8_t>> unplugged_;

  // Used by the serving thread only.
  std::vector<Timed> input_;
  std::vector<Timed> output_;
  Clock::time_point lastInput_{};
  Clock::time_point lastOutput_{};
  bool hungUp_ = false;
  // Between two radios of a fleet: nothing answers until `nextRadioAt_`.
  std::optional<Clock::time_point> nextRadioAt_;
};

// The model of that name ("16", "199"), or null; with `fleet` > 0 a fleet of
// that many radios, `fault` striking radio `faulty` only (0: every radio).
std::unique_ptr<RadioModel> MakeRadioModel(const std::string& name, Fault fault, int fleet = 0,
                                           int faulty = 0);

}  // namespace varo::radiosim
