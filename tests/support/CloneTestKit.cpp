#include "support/CloneTestKit.h"

#include <algorithm>

namespace varo::test {

std::string Hex(const std::uint8_t* data, std::size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigits[data[i] >> 4];
    s += kDigits[data[i] & 15];
  }
  return s;
}

std::string Joined(const Trace& trace) {
  std::string s;
  for (const std::string& call : trace) s += call + " ";
  return s;
}

void TestHost::StepProgress(int position) {
  progress.push_back(position);
  trace_.push_back("G" + std::to_string(position));
}

void TestHost::PumpEvent() {
  trace_.push_back("E");
  if (cancelAtProgress && !progress.empty() && progress.back() == cancelAtProgress) cancel = true;
}

radio::CloneHost::Answer TestHost::ShowMessage(int id, Buttons buttons) {
  messages.push_back(id);
  if (buttons == Buttons::kOk) return Answer::kOk;
  return retries-- > 0 ? Answer::kRetry : Answer::kCancel;
}

void TestHost::ShowPortOpenFailed(const PortOpenError& error) {
  openFailures.push_back(error.reason);
  CloneHost::ShowPortOpenFailed(error);
}

void TestHost::Sleep(unsigned ms) {
  pausedMs += ms;
  trace_.push_back("S" + std::to_string(ms));
  if (realSleep) CloneHost::Sleep(ms);
}

TracingPort::TracingPort(Trace& trace, SerialPort* real, int failingReads)
    : trace_(trace), real_(real), script_(static_cast<std::size_t>(std::max(failingReads, 0)), ReadAnswer{false, {}}) {}

bool TracingPort::Open(const std::string& path) {
  Note("O");
  return real_ ? real_->Open(path) : (open_ = true);
}

void TracingPort::Close() {
  Note("C");
  if (real_) {
    real_->Close();
  } else {
    open_ = false;
  }
}

bool TracingPort::SetupComm(std::size_t in, std::size_t out) {
  Note("Q" + std::to_string(in) + "/" + std::to_string(out));
  return !real_ || real_->SetupComm(in, out);
}

bool TracingPort::SetTimeouts(const Timeouts& t) {
  std::string s = "T";
  for (unsigned v : {t.readInterval, t.readTotalMultiplier, t.readTotalConstant,
                     t.writeTotalMultiplier, t.writeTotalConstant}) {
    s += std::to_string(v) + "/";
  }
  Note(s);
  return !real_ || real_->SetTimeouts(t);
}

bool TracingPort::SetLine9600_8N1() {
  Note("L");
  return !real_ || real_->SetLine9600_8N1();
}

bool TracingPort::Purge(unsigned flags) {
  Note("P" + std::to_string(flags));
  return !real_ || real_->Purge(flags);
}

bool TracingPort::Read(std::uint8_t* buffer, std::size_t n, std::size_t& got) {
  Note("R" + std::to_string(n));
  if (real_) return real_->Read(buffer, n, got);
  got = 0;
  if (script_.empty()) return true;
  const ReadAnswer answer = std::move(script_.front());
  script_.pop_front();
  got = std::min(n, answer.bytes.size());
  std::copy_n(answer.bytes.begin(), got, buffer);
  return answer.ok;
}

bool TracingPort::Write(const std::uint8_t* data, std::size_t n) {
  Note("W" + Hex(data, n));
  return !real_ || real_->Write(data, n);
}

radio::MemoryImage DistinctImage(std::size_t size) {
  radio::MemoryImage image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(0xC3 ^ i);
  return image;
}

bool SimulatedLinkRig::StartRadio(std::unique_ptr<radiosim::RadioModel> model, std::string& error,
                                  radiosim::SimOptions options) {
  radio = std::make_unique<radiosim::SimulatedRadio>(std::move(model), std::move(options));
  if (!radio->Open(error)) return false;
  radio->Start();
  return true;
}

}  // namespace varo::test
