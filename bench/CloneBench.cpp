// clone_bench: reads and writes each simulated radio over a pseudo-terminal,
// with the radio answering at once and paced as on a 9600 baud line, and
// prints how long each transfer takes against the time the protocol cannot
// avoid: its own pauses plus the wire time of every byte.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "models/Models.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"

namespace {

using varo::radio::CloneHost;
using varo::radio::CloneLink;
using varo::radio::MemoryImage;
using varo::radio::RadioModel;
using Clock = std::chrono::steady_clock;

class BenchHost : public CloneHost {
 public:
  void StepProgress(int) override {}
  void PumpEvent() override {}
  bool CancelRequested() override { return false; }
  Answer ShowMessage(int id, Buttons) override {
    std::fprintf(stderr, "clone_bench: message %d: %s\n", id, varo::radio::CloneMessageText(id));
    failed = true;
    return Answer::kCancel;
  }
  void Sleep(unsigned ms) override {
    pausedMs += ms;
    CloneHost::Sleep(ms);
  }
  unsigned pausedMs = 0;
  bool failed = false;
};

struct Figures {
  double elapsedMs = 0;
  double pausesMs = 0;
  double wireMs = 0;
  bool ok = false;
};

Figures Run(const RadioModel& model, bool paced, bool write) {
  varo::radiosim::SimOptions options;
  options.paced = paced;
  varo::radiosim::SimulatedRadio radio(varo::radiosim::MakeRadioModel(model.name, {}), options);
  std::string error;
  if (!radio.Open(error)) {
    std::fprintf(stderr, "clone_bench: %s\n", error.c_str());
    return {};
  }
  radio.Start();

  BenchHost host;
  auto port = varo::CreateSerialPort();
  MemoryImage image = model.newImage();
  CloneLink link(*port, host, *model.protocol);
  const Clock::time_point start = Clock::now();
  const CloneLink::Outcome outcome =
      write ? link.Write(radio.PortPath(), image) : link.Read(radio.PortPath(), image);
  const Clock::time_point end = Clock::now();

  Figures f;
  f.ok = outcome == CloneLink::Outcome::kCompleted && !host.failed;
  f.elapsedMs = std::chrono::duration<double, std::milli>(end - start).count();
  f.pausesMs = host.pausedMs;
  const std::size_t bytes = radio.Received().size() + radio.BytesSent();
  f.wireMs = static_cast<double>(bytes) *
             std::chrono::duration<double, std::milli>(varo::radiosim::kByteTime).count();
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::printf("%-6s %-8s %-6s %4s %12s %12s %12s %8s\n", "model", "radio", "what", "run",
              "elapsed ms", "pauses ms", "wire ms", "ratio");
  bool allOk = true;
  for (const RadioModel* model : varo::models::All()) {
    for (bool paced : {false, true}) {
      for (bool write : {false, true}) {
        for (int run = 1; run <= runs; ++run) {
          const Figures f = Run(*model, paced, write);
          allOk = allOk && f.ok;
          std::printf("%-6s %-8s %-6s %4d %12.1f %12.1f %12.1f %8.3f%s\n", model->name.c_str(),
                      paced ? "paced" : "instant", write ? "write" : "read", run, f.elapsedMs,
                      f.pausesMs, f.wireMs, f.elapsedMs / (f.pausesMs + f.wireMs),
                      f.ok ? "" : "  FAILED");
        }
      }
    }
  }
  std::printf(
      "ratio = elapsed / (mandated pauses + wire time of all bytes at 9600 baud 8N1)\n"
      "The radio takes %u ms to enter clone mode in both modes. On a pseudo-terminal the\n"
      "programmer's writes return at once, so its pauses may overlap the paced radio's\n"
      "receiving time: a paced ratio a little below 1 is possible.\n",
      varo::radiosim::CloneRadio::kReadyDelayMs);
  return allOk ? 0 : 1;
}
