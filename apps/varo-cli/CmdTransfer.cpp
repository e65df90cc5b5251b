// varo-cli read / write: the clone link without a window.
#include "CmdTransfer.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "ini/IniProfile.h"
#include "ini/PortNames.h"
#include "models/Models.h"
#include "platform/ProgramFiles.h"
#include "platform/SerialPort.h"
#include "radio/CloneLink.h"
#include "radio/DatFile.h"
#include "radio/ImageCompare.h"
#include "radio/MemoryImage.h"
#include "radio/PortOpenText.h"

namespace varo::cli {

namespace {

using radio::CloneHost;
using radio::CloneLink;
using radio::DatFileError;
using radio::DatFileErrorText;
using radio::MemoryImage;
using radio::RadioModel;

constexpr char kUsage[] =
    "usage: varo-cli read [--model 16|199] --port NAME -o FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
    "       varo-cli write [--verify] --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
    "       varo-cli verify --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
    "  --model: the 16-channel radio (default) or the 199-channel radio; write and\n"
    "           verify take the radio from the size of FILE.dat\n"
    "  NAME: COM1..COM4 (through section \"Ports\" of the program INI) or a device path\n";

// Exit status of a verify that found the radio different from the file.
constexpr int kDiffers = 3;

volatile std::sig_atomic_t gCancel = 0;

extern "C" void OnInterrupt(int) { gCancel = 1; }

}  // namespace

InterruptCancels::InterruptCancels() {
  gCancel = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, &previous_);
}

InterruptCancels::~InterruptCancels() { sigaction(SIGINT, &previous_, nullptr); }

bool InterruptCancels::Interrupted() { return gCancel != 0; }

namespace {

// The Process dialog of the command line: progress on standard output, the
// message boxes on standard error, Retry only while retries are left.
class ConsoleHost : public CloneHost {
 public:
  ConsoleHost(const char* caption, int total, int retries)
      : caption_(caption), total_(total), retries_(retries), tty_(::isatty(STDOUT_FILENO) != 0) {}

  void StepProgress(int position) override {
    // On a terminal the line is redrawn; elsewhere every tenth block is noted.
    if (tty_) {
      std::printf("\r%s %d/%d", caption_, position, total_);
      if (position == total_) std::printf("\n");
    } else if (position % 10 == 0 || position == total_) {
      std::printf("%s %d/%d\n", caption_, position, total_);
    }
    std::fflush(stdout);
    lineOpen_ = tty_ && position != total_;
  }
  void PumpEvent() override {}
  bool CancelRequested() override { return gCancel != 0; }
  Answer ShowMessage(int id, Buttons buttons) override {
    EndLine();
    std::fprintf(stderr, "varo-cli: %s\n", radio::CloneMessageText(id));
    if (buttons == Buttons::kOk) return Answer::kOk;
    if (retries_ > 0) {
      --retries_;
      std::fprintf(stderr, "varo-cli: retrying (%d more)\n", retries_);
      return Answer::kRetry;
    }
    return Answer::kCancel;
  }
  void ShowPortOpenFailed(const PortOpenError& error) override {
    ShowMessage(radio::kMsgPortOpenFailed, Buttons::kOk);
    const std::string advice = radio::PortOpenAdvice(error, false);
    if (!advice.empty()) std::fprintf(stderr, "varo-cli: %s\n", advice.c_str());
  }
  void EndLine() {
    if (lineOpen_) std::printf("\n");
    std::fflush(stdout);
    lineOpen_ = false;
  }

 private:
  const char* caption_;
  int total_;
  int retries_;
  bool tty_;
  bool lineOpen_ = false;
};

struct Options {
  std::string model = "16";
  std::string port;
  std::string output;
  std::string file;
  std::string ini;
  int retries = 0;
  bool verify = false;
};

enum class Command { kRead, kWrite, kVerify };

std::optional<Options> Parse(const std::vector<std::string>& args, Command command) {
  const bool read = command == Command::kRead;
  Options o;
  o.verify = command == Command::kVerify;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--port" && hasValue) {
      o.port = args[++i];
    } else if (a == "--ini" && hasValue) {
      o.ini = args[++i];
    } else if (a == "--retries" && hasValue) {
      const std::string& n = args[++i];
      if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
      }
      o.retries = std::atoi(n.c_str());
    } else if (read && a == "--model" && hasValue) {
      o.model = args[++i];
    } else if (read && a == "-o" && hasValue) {
      o.output = args[++i];
    } else if (command == Command::kWrite && a == "--verify") {
      o.verify = true;
    } else if (!read && o.file.empty() && !a.empty() && a[0] != '-') {
      o.file = a;
    } else {
      return std::nullopt;
    }
  }
  if (o.port.empty() || (read ? o.output.empty() : o.file.empty())) return std::nullopt;
  return o;
}

// The device behind the port name; false (with a message) when an INI named
// with --ini cannot be read.
bool ResolvePort(const Options& o, const RadioModel& model, std::string& device) {
  IniProfile ini;
  bool haveIni = false;
  if (!OpenPortsIni(o.ini, model, ini, haveIni)) return false;
  device = ResolvePortName(o.port, haveIni ? &ini : nullptr);
  return true;
}

}  // namespace

std::optional<std::pair<const RadioModel*, MemoryImage>> LoadRadioFile(const std::string& path) {
  // The file's size names the radio: 1024 bytes for the 16-channel radio,
  // 8192 for the 199-channel radio.
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    std::fprintf(stderr, "varo-cli: %s\n",
                 DatFileErrorText(DatFileError::kCannotOpen, path, false).c_str());
    return std::nullopt;
  }
  const RadioModel* model = models::BySize(size);
  if (!model) {
    std::string sizes;
    for (const RadioModel* m : models::All()) {
      sizes += std::string(sizes.empty() ? "" : " or ") + std::to_string(m->imageSize) +
               " bytes (" + m->name + "-channel radio)";
    }
    std::fprintf(stderr, "varo-cli: %s holds %ju bytes; a radio memory file holds %s\n",
                 path.c_str(), static_cast<std::uintmax_t>(size), sizes.c_str());
    return std::nullopt;
  }
  MemoryImage image(model->imageSize);
  const DatFileError error = radio::LoadDatFile(path, image.data(), image.size());
  if (error != DatFileError::kNone) {
    std::fprintf(stderr, "varo-cli: %s\n", DatFileErrorText(error, path, false).c_str());
    return std::nullopt;
  }
  return std::make_pair(model, std::move(image));
}

namespace {

int Finish(CloneLink::Outcome outcome, ConsoleHost& host, const char* what) {
  host.EndLine();
  switch (outcome) {
    case CloneLink::Outcome::kCompleted:
      return 0;
    case CloneLink::Outcome::kCancelled:
      std::fprintf(stderr, "varo-cli: %s cancelled\n", what);
      return 1;
    default:
      return 1;  // the message is out already
  }
}

// Reads the radio into a copy and compares it with `image`; the differences
// (or that the radio matches) go to standard output.
int Verify(const RadioModel& model, const std::string& device, const MemoryImage& image,
           int retries) {
  MemoryImage radioImage = image;
  ConsoleHost host("Verify Data", model.protocol->ReadBlocks(), retries);
  std::unique_ptr<SerialPort> port = CreateSerialPort();
  CloneLink::Outcome outcome;
  {
    InterruptCancels interrupt;
    outcome = CloneLink(*port, host, *model.protocol).Read(device, radioImage);
  }
  if (int status = Finish(outcome, host, "verify"); status != 0) return status;
  const radio::ImageComparison comparison =
      radio::CompareImages(model, image, radioImage, false);
  for (const std::string& line : radio::FormatComparison(comparison, *model.table, false))
    std::printf("%s\n", line.c_str());
  return comparison.Matches() ? 0 : kDiffers;
}

}  // namespace

bool OpenPortsIni(const std::string& iniOption, const RadioModel& model, IniProfile& ini,
                  bool& opened) {
  std::string iniPath = iniOption;
  if (iniPath.empty()) {
    iniPath = LocateSettingsFile(model.iniName).read;
  } else if (iniPath.find('/') == std::string::npos) {
    iniPath = "./" + iniPath;  // a plain name means the current folder here
  }
  std::error_code ec;
  opened = std::filesystem::is_regular_file(iniPath, ec) && ini.Open(iniPath, false, true, false);
  if (!opened && !iniOption.empty()) {
    std::fprintf(stderr, "varo-cli: cannot read the program INI \"%s\"\n", iniOption.c_str());
    return false;
  }
  return true;
}

int RunRead(const std::vector<std::string>& args) {
  const std::optional<Options> o = Parse(args, Command::kRead);
  if (!o) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const RadioModel* model = models::ByName(o->model);
  if (!model) {
    std::fprintf(stderr, "varo-cli: unknown radio model \"%s\" (known: %s)\n", o->model.c_str(),
                 models::Names().c_str());
    return 2;
  }
  // A file that cannot be saved is found out before the radio is read, not
  // after the whole transfer.
  if (const DatFileError refused = radio::CheckDatFileSave(o->output);
      refused != DatFileError::kNone) {
    std::fprintf(stderr, "varo-cli: %s The radio was not read.\n",
                 DatFileErrorText(refused, o->output, false).c_str());
    return 1;
  }
  std::string device;
  if (!ResolvePort(*o, *model, device)) return 1;

  // As after File New: the bytes a read does not fetch keep a new document's
  // contents.
  MemoryImage image = model->newImage();
  ConsoleHost host("Read Data", model->protocol->ReadBlocks(), o->retries);
  std::unique_ptr<SerialPort> port = CreateSerialPort();
  CloneLink::Outcome outcome;
  {
    InterruptCancels interrupt;
    outcome = CloneLink(*port, host, *model->protocol).Read(device, image);
  }
  if (int status = Finish(outcome, host, "read"); status != 0) return status;

  const DatFileError error = radio::SaveDatFile(o->output, image.data(), image.size());
  if (error != DatFileError::kNone) {
    std::fprintf(stderr, "varo-cli: %s\n", DatFileErrorText(error, o->output, false).c_str());
    return 1;
  }
  std::printf("Read Data: saved %s\n", o->output.c_str());
  return 0;
}

namespace {

// What a write or a verify works on: the options, the radio and image of the
// file, and the device behind the port name.
struct FileJob {
  Options options;
  const RadioModel* model = nullptr;
  MemoryImage image;
  std::string device;
};

// Parses `args` and loads the file; nothing (with `status` the exit status)
// when the words or the file do not serve.
std::optional<FileJob> PrepareFileJob(const std::vector<std::string>& args, Command command,
                                      int& status) {
  const std::optional<Options> o = Parse(args, command);
  status = 2;
  if (!o) {
    std::fputs(kUsage, stderr);
    return std::nullopt;
  }
  status = 1;
  auto file = LoadRadioFile(o->file);
  if (!file) return std::nullopt;
  FileJob job{*o, file->first, std::move(file->second), {}};
  if (!ResolvePort(job.options, *job.model, job.device)) return std::nullopt;
  return job;
}

}  // namespace

int RunWrite(const std::vector<std::string>& args) {
  int status = 0;
  const std::optional<FileJob> job = PrepareFileJob(args, Command::kWrite, status);
  if (!job) return status;
  const RadioModel& model = *job->model;
  ConsoleHost host("Write Data", model.protocol->WriteBlocks(), job->options.retries);
  std::unique_ptr<SerialPort> port = CreateSerialPort();
  CloneLink::Outcome outcome;
  {
    InterruptCancels interrupt;
    outcome = CloneLink(*port, host, *model.protocol).Write(job->device, job->image);
  }
  if (status = Finish(outcome, host, "write"); status != 0) return status;
  std::printf("Write Data: done\n");
  return job->options.verify ? Verify(model, job->device, job->image, job->options.retries) : 0;
}

int RunVerify(const std::vector<std::string>& args) {
  int status = 0;
  const std::optional<FileJob> job = PrepareFileJob(args, Command::kVerify, status);
  if (!job) return status;
  return Verify(*job->model, job->device, job->image, job->options.retries);
}

}  // namespace varo::cli
