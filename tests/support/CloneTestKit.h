#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SerialPort.h"
#include "radio/CloneHost.h"

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

// Notes every port call in the trace and passes it on to `real`. Without a
// real port it stands alone: every call succeeds, except that the first
// `failingReads` reads fail, and reads bring nothing.
class TracingPort : public SerialPort {
 public:
  TracingPort(Trace& trace, SerialPort* real, int failingReads = 0)
      : trace_(trace), real_(real), failingReads_(failingReads) {}
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
  int failingReads_;
  bool open_ = false;
};

}  // namespace varo::test
