#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "radio/CloneHost.h"
#include "radio/MemoryImage.h"
#include "radiosim/SimulatedRadio.h"

namespace varo::test {

using Bytes = std::vector<std::uint8_t>;
// Everything the link did, in order: port calls, pauses, pumps, progress.
using Trace = std::vector<std::string>;

std::string Hex(const std::uint8_t* data, std::size_t n);
// The trace as one line, each entry followed by a space.
std::string Joined(const Trace& trace);

// A clone host that notes progress, pumps and pauses in a trace, answers
// Retry/Cancel messages from a count and can raise the cancel flag after a
// given block.
class TestHost : public radio::CloneHost {
 public:
  explicit TestHost(Trace& trace) : trace_(trace) {}
  void StepProgress(int position) override;
  void PumpEvent() override;
  bool CancelRequested() override { return cancel; }
  Answer ShowMessage(int id, Buttons buttons) override;
  // Notes the reason, then shows 61453 as every host does.
  void ShowPortOpenFailed(const PortOpenError& error) override;
  void Sleep(unsigned ms) override;

  std::vector<int> progress;
  std::vector<PortOpenError::Reason> openFailures;
  std::vector<int> messages;
  unsigned pausedMs = 0;
  int cancelAtProgress = 0;
  bool cancel = false;
  int retries = 0;  // Retry answers to 61451 before Cancel
  bool realSleep = true;

 private:
  Trace& trace_;
};

// What a port standing alone answers to one read: a failed read, a time-out
// (no bytes) or bytes.
struct ReadAnswer {
  bool ok = true;
  Bytes bytes;
};

// Notes every port call in the trace and passes it on to `real`. Without a
// real port it stands alone: every call succeeds and reads take their answers
// from a script, in order; once it is used up, every read times out. The
// first form fails the first `failingReads` reads.
class TracingPort : public SerialPort {
 public:
  TracingPort(Trace& trace, SerialPort* real, int failingReads = 0);
  TracingPort(Trace& trace, std::deque<ReadAnswer> script)
      : trace_(trace), real_(nullptr), script_(std::move(script)) {}
  bool Open(const std::string& path) override;
  bool IsOpen() const override { return real_ ? real_->IsOpen() : open_; }
  void Close() override;
  PortOpenError LastOpenError() const override {
    return real_ ? real_->LastOpenError() : PortOpenError{};
  }
  bool SetupComm(std::size_t in, std::size_t out) override;
  bool SetTimeouts(const Timeouts& t) override;
  bool SetLine9600_8N1() override;
  bool Purge(unsigned flags) override;
  bool Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override;
  bool Write(const std::uint8_t* data, std::size_t n) override;

 private:
  void Note(std::string call) { trace_.push_back(std::move(call)); }
  Trace& trace_;
  SerialPort* real_;
  std::deque<ReadAnswer> script_;
  bool open_ = false;
};

// A document of `size` bytes whose every byte differs from a new radio's and
// from its neighbours' (0xC3 ^ offset), so that each byte shows where it went.
radio::MemoryImage DistinctImage(std::size_t size);

// A clone link's surroundings against a simulated radio over a real
// pseudo-terminal: the trace, the host, the real port behind a tracing one,
// and the radio.
struct SimulatedLinkRig {
  // Opens the pseudo-terminal for `model` and starts serving it; false with a
  // message in `error` when that failed.
  bool StartRadio(std::unique_ptr<radiosim::RadioModel> model, std::string& error,
                  radiosim::SimOptions options = {});

  Trace trace;
  TestHost host{trace};
  std::unique_ptr<SerialPort> real = CreateSerialPort();
  TracingPort port{trace, real.get()};
  std::unique_ptr<radiosim::SimulatedRadio> radio;
};

}  // namespace varo::test
