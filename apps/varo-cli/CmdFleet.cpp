// varo-cli fleet: one channel plan into many radios, each verified and logged.
#include "CmdFleet.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "CmdTransfer.h"
#include "ini/IniProfile.h"
#include "ini/PortNames.h"
#include "platform/SerialPort.h"
#include "radio/Fleet.h"
#include "radio/FleetLog.h"
#include "radio/PortOpenText.h"
#include "radio/RadioModel.h"

namespace varo::cli {

namespace {

using radio::FleetPhase;

constexpr char kUsage[] =
    "usage: varo-cli fleet --port NAME FILE.dat [--count N] [--log FILE.csv] [--ini PROGRAM.ini]\n"
    "  writes FILE.dat into one radio after another, each verified and logged;\n"
    "  ends after N radios or on Ctrl+C\n";

// Ctrl+C ended the batch before --count radios were done.
constexpr int kStoppedEarly = 4;

// The batch on standard output: a line per phase, the blocks of a write or
// read-back (redrawn on a terminal, every tenth elsewhere) and each radio's
// outcome.
class ConsoleObserver : public radio::FleetObserver {
 public:
  explicit ConsoleObserver(std::string port)
      : port_(std::move(port)), tty_(::isatty(STDOUT_FILENO) != 0) {}

  void PhaseChanged(FleetPhase phase, int number, const PortOpenError& port) override {
    EndLine();
    number_ = number;
    switch (phase) {
      case FleetPhase::kAwaitRemoval:
        std::printf("Radio %d: disconnect it; the next radio counts once it is gone\n",
                    number - 1);
        break;
      case FleetPhase::kAwaitNext:
        break;
      case FleetPhase::kAwaitRadio:
        if (port.reason == PortOpenError::Reason::kNone)
          std::printf("Radio %d: waiting for a radio on %s (Ctrl+C stops)\n", number,
                      port_.c_str());
        else
          std::printf("Radio %d: waiting for a radio on %s: %s\n", number, port_.c_str(),
                      radio::PortStateText(port, false).c_str());
        break;
      case FleetPhase::kWriting:
        caption_ = "Write Data";
        break;
      case FleetPhase::kVerifying:
        caption_ = "Verify Data";
        break;
    }
    std::fflush(stdout);
  }

  void Progress(int position, int total) override {
    if (tty_) {
      std::printf("\rRadio %d: %s %d/%d", number_, caption_, position, total);
      lineOpen_ = position != total;
      if (!lineOpen_) std::printf("\n");
    } else if (position % 10 == 0 || position == total) {
      std::printf("Radio %d: %s %d/%d\n", number_, caption_, position, total);
    }
    std::fflush(stdout);
  }

  bool StopRequested() override { return InterruptCancels::Interrupted(); }

  void EndLine() {
    if (lineOpen_) std::printf("\n");
    lineOpen_ = false;
  }

 private:
  std::string port_;
  bool tty_;
  bool lineOpen_ = false;
  int number_ = 0;
  const char* caption_ = "";
};

struct Options {
  std::string port;
  std::string file;
  std::string log;
  std::string ini;
  int count = 0;  // 0: until Ctrl+C
};

std::optional<Options> Parse(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--port" && hasValue) {
      o.port = args[++i];
    } else if (a == "--log" && hasValue) {
      o.log = args[++i];
    } else if (a == "--ini" && hasValue) {
      o.ini = args[++i];
    } else if (a == "--count" && hasValue) {
      const std::string& n = args[++i];
      if (n.empty() || n.size() > 5 || n.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
      o.count = std::stoi(n);
      if (o.count == 0) return std::nullopt;
    } else if (o.file.empty() && !a.empty() && a[0] != '-') {
      o.file = a;
    } else {
      return std::nullopt;
    }
  }
  if (o.port.empty() || o.file.empty()) return std::nullopt;
  return o;
}

}  // namespace

int RunFleet(const std::vector<std::string>& args) {
  const std::optional<Options> o = Parse(args);
  if (!o) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  auto file = LoadRadioFile(o->file);
  if (!file) return 1;
  const radio::RadioModel& model = *file->first;
  IniProfile ini;
  bool haveIni = false;
  if (!OpenPortsIni(o->ini, model, ini, haveIni)) return 1;

  radio::FleetJob job;
  job.model = &model;
  job.plan = std::move(file->second);
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(o->file, ec);
  job.file = ec ? o->file : absolute.lexically_normal().string();
  job.device = ResolvePortName(o->port, haveIni ? &ini : nullptr);
  job.logPath = o->log.empty() ? radio::DefaultFleetLogPath() : o->log;

  ConsoleObserver observer(o->port);
  std::unique_ptr<SerialPort> port = CreateSerialPort();
  radio::FleetBatch batch(*port, observer, job);
  std::printf("Writing %s (SHA-256 %s) into radios on %s; log: %s\n", job.file.c_str(),
              batch.PlanSha256().c_str(), o->port.c_str(), job.logPath.c_str());
  std::fflush(stdout);

  int passed = 0, failed = 0;
  bool logFailed = false;
  {
    InterruptCancels interrupt;
    while (o->count == 0 || batch.Programmed() < o->count) {
      const std::optional<radio::FleetResult> result = batch.ProgramNext();
      if (!result) break;
      observer.EndLine();
      const std::string id = radio::HexBytes(result->record.identification);
      if (result->record.ok) {
        ++passed;
        std::printf("Radio %d: ok, identification %s\n", result->number, id.c_str());
      } else {
        ++failed;
        std::printf("Radio %d: FAILED, identification %s: %s\n", result->number, id.c_str(),
                    result->record.reason.c_str());
      }
      std::fflush(stdout);
      if (!result->logError.empty()) {
        logFailed = true;
        std::fprintf(stderr, "varo-cli: the log could not be written: %s\n",
                     result->logError.c_str());
      }
      if (InterruptCancels::Interrupted()) break;
    }
  }
  observer.EndLine();
  std::printf("%d radio%s: %d written and verified, %d failed\n", passed + failed,
              passed + failed == 1 ? "" : "s", passed, failed);
  if (failed > 0 || logFailed) return 1;
  return o->count > 0 && batch.Programmed() < o->count ? kStoppedEarly : 0;
}

}  // namespace varo::cli
