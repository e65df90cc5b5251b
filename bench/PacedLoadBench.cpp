// paced_load_bench: reads the simulated 16-channel radio again and again at
// the pace of a 9600 baud line while every core is kept busy by spinning
// processes this program starts (and stops) itself, and counts the reads that
// fail. A paced radio that stalls between the bytes of one reply for longer
// than the programmer's 30 ms interval time-out fails a read with "Program
// Interrupt"; the figures show whether the simulator holds up under load.
//
//   paced_load_bench [READS [SPINNERS]]   defaults: 200 reads, 2 spinners per core
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "models/Models.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radiosim/SimulatedRadio.h"

namespace {

using varo::radio::CloneHost;
using varo::radio::CloneLink;
using Clock = std::chrono::steady_clock;

// Answers every message as Cancel and notes which one it was.
class CountingHost : public CloneHost {
 public:
  void StepProgress(int) override {}
  void PumpEvent() override {}
  bool CancelRequested() override { return false; }
  Answer ShowMessage(int id, Buttons) override {
    message = id;
    return Answer::kCancel;
  }
  int message = 0;
};

// Spinning child processes, one busy loop each; stopped with the object.
class Spinners {
 public:
  explicit Spinners(int count) {
    for (int i = 0; i < count; ++i) {
      const pid_t pid = ::fork();
      if (pid == 0) {
        volatile unsigned long n = 0;
        for (;;) n = n + 1;
      }
      if (pid > 0) pids_.push_back(pid);
    }
  }
  ~Spinners() {
    for (pid_t pid : pids_) ::kill(pid, SIGKILL);
    for (pid_t pid : pids_) ::waitpid(pid, nullptr, 0);
  }
  Spinners(const Spinners&) = delete;
  Spinners& operator=(const Spinners&) = delete;
  std::size_t size() const { return pids_.size(); }

 private:
  std::vector<pid_t> pids_;
};

}  // namespace

int main(int argc, char** argv) {
  const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int spinners = argc > 2 ? std::max(0, std::atoi(argv[2])) : 2 * cores;

  const varo::radio::RadioModel& model = *varo::models::ByName("16");
  varo::radiosim::SimOptions options;
  options.paced = true;
  varo::radiosim::SimulatedRadio radio(varo::radiosim::MakeRadioModel(model.name, {}), options);
  std::string error;
  if (!radio.Open(error)) {
    std::fprintf(stderr, "paced_load_bench: %s\n", error.c_str());
    return 1;
  }
  radio.Start();

  std::printf("%d paced reads of the %s-channel radio, %d cores, %d spinning processes\n", reads,
              model.name.c_str(), cores, spinners);
  std::fflush(stdout);
  Spinners load(spinners);
  std::vector<double> seconds;
  std::map<int, int> failures;  // message id -> count
  for (int i = 0; i < reads; ++i) {
    CountingHost host;
    auto port = varo::CreateSerialPort();
    varo::radio::MemoryImage image = model.newImage();
    const Clock::time_point start = Clock::now();
    const CloneLink::Outcome outcome = CloneLink(*port, host, *model.protocol).Read(radio.PortPath(), image);
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    if (outcome != CloneLink::Outcome::kCompleted) {
      ++failures[host.message];
      std::printf("read %d failed: message %d\n", i + 1, host.message);
      std::fflush(stdout);
    }
  }

  std::sort(seconds.begin(), seconds.end());
  int failed = 0;
  for (const auto& [id, count] : failures) failed += count;
  std::printf("failed: %d of %d", failed, reads);
  for (const auto& [id, count] : failures) std::printf("  (message %d: %d)", id, count);
  std::printf("\nread time s: min %.2f  median %.2f  max %.2f\n", seconds.front(),
              seconds[seconds.size() / 2], seconds.back());
  return failed == 0 ? 0 : 1;
}
