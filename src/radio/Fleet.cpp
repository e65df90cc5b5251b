#include "radio/Fleet.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/SerialPort.h"
#include "platform/Sha256.h"
#include "radio/ImageCompare.h"
#include "radio/PortOpenText.h"

namespace varo::radio {

namespace {

using Outcome = CloneLink::Outcome;

// The longest a pause waits before it looks at the stop flag again.
constexpr unsigned kPauseSlice = 50;
// Differences a failed radio's reason names before "...".
constexpr std::size_t kDifferencesNamed = 3;

// What ended a radio's turn before the comparison, in English or Chinese: the
// step ("Write: ", "Verify: ") and the link's message, or that it was
// stopped.
std::string LinkFailureText(bool verifying, Outcome outcome, int message,
                            const PortOpenError& port, bool chinese,
                            const std::function<std::string(int)>& messageText) {
  if (outcome == Outcome::kCancelled) {
    if (verifying) return chinese ? "核对时已停止" : "Stopped during the verify";
    return chinese ? "写频时已停止，电台中可能只有部分数据"
                   : "Stopped during the write; the radio may hold part of the data";
  }
  std::string text = verifying ? (chinese ? "核对：" : "Verify: ") : (chinese ? "写频：" : "Write: ");
  text += messageText ? messageText(message) : CloneMessageText(message);
  if (outcome == Outcome::kPortNotOpened) {
    const std::string advice = PortOpenAdvice(port, chinese);
    if (!advice.empty()) text += " " + advice;
  }
  return text;
}

// A read-back that differs from the plan: the summary and the first
// differences, on one line.
std::string DifferenceText(const RadioModel& model, const MemoryImage& plan,
                           const MemoryImage& radio, bool chinese) {
  const std::vector<std::string> lines =
      FormatComparison(CompareImages(model, plan, radio, chinese), *model.table, chinese);
  std::string text = (chinese ? "核对：" : "Verify: ") + lines.front();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (i > kDifferencesNamed) {
      text += chinese ? "；……" : "; ...";
      break;
    }
    // The summary ends in a colon; a Chinese one is full-width, with no space after it.
    text += (i == 1 ? (chinese ? "" : " ") : (chinese ? "；" : "; ")) + lines[i];
  }
  return text;
}

}  // namespace

void FleetObserver::Sleep(unsigned ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The link's surroundings during a batch: progress and the stop flag go to
// the observer; messages are noted, never shown, and answered with Cancel.
class FleetBatch::LinkHost : public CloneHost {
 public:
  explicit LinkHost(FleetObserver& observer) : observer_(observer) {}

  // A write (announcing kWriting at its first block) or a read-back of
  // `total` blocks begins for radio `number`.
  void Begin(int number, int total, bool writing) {
    number_ = number;
    total_ = total;
    announceWriting_ = writing;
    message = 0;
    port = {};
  }

  void StepProgress(int position) override {
    if (announceWriting_) {
      announceWriting_ = false;
      observer_.PhaseChanged(FleetPhase::kWriting, number_, {});
    }
    observer_.Progress(position, total_);
  }
  void PumpEvent() override { observer_.PumpEvent(); }
  bool CancelRequested() override { return observer_.StopRequested(); }
  Answer ShowMessage(int id, Buttons buttons) override {
    message = id;
    return buttons == Buttons::kOk ? Answer::kOk : Answer::kCancel;
  }
  void ShowPortOpenFailed(const PortOpenError& error) override {
    message = kMsgPortOpenFailed;
    port = error;
  }
  void Sleep(unsigned ms) override { observer_.Sleep(ms); }

  int message = 0;     // the last message of the link
  PortOpenError port;  // why the port did not open, with message 61453

 private:
  FleetObserver& observer_;
  int number_ = 0;
  int total_ = 0;
  bool announceWriting_ = false;
};

FleetBatch::FleetBatch(SerialPort& port, FleetObserver& observer, FleetJob job)
    : port_(port),
      observer_(observer),
      job_(std::move(job)),
      sha256_(Sha256::Hex(job_.plan.data(), job_.plan.size())),
      host_(std::make_unique<LinkHost>(observer)) {}

FleetBatch::~FleetBatch() = default;

bool FleetBatch::Pause(unsigned ms) {
  for (unsigned left = ms;;) {
    observer_.PumpEvent();
    if (observer_.StopRequested()) return false;
    if (left == 0) return true;
    const unsigned slice = std::min(left, kPauseSlice);
    observer_.Sleep(slice);
    left -= slice;
  }
}

bool FleetBatch::AwaitRemoval(int number) {
  CloneLink link(port_, *host_, *job_.model->protocol);
  bool told = false;
  for (;;) {
    const Outcome outcome = link.Probe(job_.device);
    if (outcome == Outcome::kCancelled) return false;
    // Gone: the device is missing (or refused: it came back as another), or
    // nothing answers on it. A port another program holds tells nothing.
    if (outcome == Outcome::kNoRadio &&
        port_.LastOpenError().reason != PortOpenError::Reason::kBusy)
      return true;
    if (!told) observer_.PhaseChanged(FleetPhase::kAwaitRemoval, number, {});
    told = true;
    if (!Pause(job_.removalIntervalMs)) return false;
  }
}

std::optional<FleetResult> FleetBatch::ProgramNext() {
  const int number = programmed_ + 1;
  if (observer_.StopRequested()) return std::nullopt;
  if (programmed_ > 0 && !AwaitRemoval(number)) return std::nullopt;
  if (!observer_.NextWanted()) {
    observer_.PhaseChanged(FleetPhase::kAwaitNext, number, {});
    do {
      if (!Pause(kPauseSlice)) return std::nullopt;
    } while (!observer_.NextWanted());
  }

  const CloneProtocol& protocol = *job_.model->protocol;
  CloneLink link(port_, *host_, protocol);
  observer_.PhaseChanged(FleetPhase::kAwaitRadio, number, {});
  PortOpenError::Reason told = PortOpenError::Reason::kNone;
  Outcome outcome;
  for (;;) {
    host_->Begin(number, protocol.WriteBlocks(), true);
    outcome = link.WriteIfAnswering(job_.device, job_.plan);
    if (outcome != Outcome::kNoRadio) break;
    const PortOpenError why = port_.LastOpenError();
    if (why.reason != told) observer_.PhaseChanged(FleetPhase::kAwaitRadio, number, why);
    told = why.reason;
    if (!Pause(job_.probeIntervalMs)) return std::nullopt;
  }
  const std::optional<std::vector<std::uint8_t>> id = link.LastIdentification();
  // Stopped before a radio answered: nothing was sent.
  if (outcome == Outcome::kCancelled && !id) return std::nullopt;

  const auto failed = [&](bool verifying, Outcome o) {
    return Finish(number, id,
                  LinkFailureText(verifying, o, host_->message, host_->port, false, {}),
                  LinkFailureText(verifying, o, host_->message, host_->port, job_.chinese,
                                  job_.messageText));
  };
  if (outcome != Outcome::kCompleted) return failed(false, outcome);

  observer_.PhaseChanged(FleetPhase::kVerifying, number, {});
  host_->Begin(number, protocol.ReadBlocks(), false);
  MemoryImage radio = job_.plan;
  outcome = link.Read(job_.device, radio);
  if (outcome != Outcome::kCompleted) return failed(true, outcome);
  if (CompareImages(*job_.model, job_.plan, radio, false).Matches())
    return Finish(number, id, {}, {});
  return Finish(number, id, DifferenceText(*job_.model, job_.plan, radio, false),
                DifferenceText(*job_.model, job_.plan, radio, job_.chinese));
}

FleetResult FleetBatch::Finish(int number, const std::optional<std::vector<std::uint8_t>>& id,
                               std::string reason, std::string shownReason) {
  FleetResult result;
  result.number = number;
  result.record.time = LocalTimeText(std::time(nullptr));
  result.record.ok = reason.empty();
  result.record.identification = id.value_or(std::vector<std::uint8_t>{});
  result.record.file = job_.file;
  result.record.sha256 = sha256_;
  result.record.reason = std::move(reason);
  result.shownReason = std::move(shownReason);
  if (!job_.logPath.empty()) AppendFleetLog(job_.logPath, result.record, result.logError);
  ++programmed_;
  return result;
}

}  // namespace varo::radio
