// varo-radiosim: a simulated radio on a pseudo-terminal, for tests and demos.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ProgramFiles.h"
#include "radiosim/SimulatedRadio.h"

namespace {

using varo::radiosim::SimulatedRadio;

SimulatedRadio* gRadio = nullptr;

extern "C" void OnStop(int) {
  if (gRadio) gRadio->Stop();
}

extern "C" void OnSave(int) {
  if (gRadio) gRadio->RequestSave();
}

// To standard output when asked for, to standard error after a usage error.
void Usage(std::FILE* out) {
  std::fputs(
      "usage: varo-radiosim [--model 16|199] [--load FILE.dat] [--save FILE.dat] [--link PATH]\n"
      "                     [--paced] [--fault KIND] [--fleet N [--fault-radio K] [--gap MS]]\n"
      "       varo-radiosim --version\n"
      "  --model 16|199   the 16-channel radio (default) or the 199-channel radio\n"
      "  --load FILE.dat  start with this memory (default: a new radio's contents)\n"
      "  --save FILE.dat  save the memory after every completed write and on SIGUSR1\n"
      "  --link PATH      make a symbolic link to the pseudo-terminal at PATH\n"
      "  --paced          answer at the pace of a 9600 baud line\n"
      "  --fault KIND     silent | garbage | short:N | noack:N | stall:N | vanish:N |\n"
      "                   lose:N (write frame N acknowledged but not stored)\n"
      "                   (N: 0-based clone frame of the session)\n"
      "  --fleet N        N radios, one after another: once a radio has been read\n"
      "                   back after a write (or a write failed) it is unplugged (the\n"
      "                   link goes, nothing answers) and after MS milliseconds\n"
      "                   (--gap, default 2000) the next radio is there, with the\n"
      "                   starting memory and an identification ending in its number\n"
      "  --fault-radio K  the fault strikes radio K of the fleet only\n"
      "Prints the pseudo-terminal's path on the first line of standard output and\n"
      "serves until SIGINT or SIGTERM.\n",
      out);
}

bool LoadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (varo::AnswerVersion(argc, argv, "varo-radiosim")) return 0;
  std::string model = "16";
  std::string load;
  std::string fault = "none";
  std::string fleet = "0";
  std::string faultyRadio = "0";
  std::string gap;
  varo::radiosim::SimOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    bool ok = true;
    if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    }
    if (arg == "--model") {
      ok = value(model);
    } else if (arg == "--load") {
      ok = value(load);
    } else if (arg == "--save") {
      ok = value(options.savePath);
    } else if (arg == "--link") {
      ok = value(options.linkPath);
    } else if (arg == "--fault") {
      ok = value(fault);
    } else if (arg == "--fleet") {
      ok = value(fleet);
    } else if (arg == "--fault-radio") {
      ok = value(faultyRadio);
    } else if (arg == "--gap") {
      ok = value(gap);
    } else if (arg == "--paced") {
      options.paced = true;
    } else {
      ok = false;
    }
    if (!ok) {
      Usage(stderr);
      return 2;
    }
  }

  auto parsedFault = varo::radiosim::ParseFault(fault);
  if (!parsedFault) {
    std::fprintf(stderr, "varo-radiosim: unknown fault \"%s\"\n", fault.c_str());
    Usage(stderr);
    return 2;
  }
  const auto number = [](const std::string& text, unsigned& out) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
      return false;
    out = static_cast<unsigned>(std::stoul(text));
    return true;
  };
  unsigned fleetSize = 0, faulty = 0;
  if (!number(fleet, fleetSize) || !number(faultyRadio, faulty) ||
      (!gap.empty() && !number(gap, options.fleetGapMs))) {
    Usage(stderr);
    return 2;
  }
  auto radioModel = varo::radiosim::MakeRadioModel(model, *parsedFault, static_cast<int>(fleetSize),
                                                   static_cast<int>(faulty));
  if (!radioModel) {
    std::fprintf(stderr, "varo-radiosim: unknown model \"%s\" (known: 16, 199)\n", model.c_str());
    return 2;
  }
  if (!load.empty()) {
    std::vector<std::uint8_t> memory;
    if (!LoadFile(load, memory)) {
      std::fprintf(stderr, "varo-radiosim: cannot read %s\n", load.c_str());
      return 1;
    }
    if (!radioModel->SetMemory(memory)) {
      std::fprintf(stderr, "varo-radiosim: %s holds %zu bytes; the %s-channel radio has %zu\n",
                   load.c_str(), memory.size(), model.c_str(), radioModel->MemorySize());
      return 1;
    }
  }

  SimulatedRadio radio(std::move(radioModel), options);
  std::string error;
  if (!radio.Open(error)) {
    std::fprintf(stderr, "varo-radiosim: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", radio.DevicePath().c_str());
  std::fflush(stdout);
  if (!options.linkPath.empty()) {
    std::fprintf(stderr, "varo-radiosim: %s -> %s\n", options.linkPath.c_str(),
                 radio.DevicePath().c_str());
  }

  gRadio = &radio;
  struct sigaction stop {};
  stop.sa_handler = OnStop;
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);
  struct sigaction save {};
  save.sa_handler = OnSave;
  save.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &save, nullptr);

  radio.Run();
  gRadio = nullptr;

  if (!radio.SaveError().empty()) {
    std::fprintf(stderr, "varo-radiosim: saving failed: %s\n", radio.SaveError().c_str());
  }
  if (radio.Vanished()) {
    std::fprintf(stderr, "varo-radiosim: the radio vanished (fault)\n");
  }
  return 0;
}
