// varo-cli: the radio models without a window.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CmdFleet.h"
#include "CmdPorts.h"
#include "CmdSheet.h"
#include "CmdTransfer.h"
#include "models/Models.h"
#include "platform/ProgramFiles.h"
#include "radio/ShowCommand.h"

namespace {

int RunShow(const std::vector<std::string>& args) {
  return varo::radio::RunShow(args, varo::models::All(), std::cout, std::cerr);
}

// Each command takes the words after its name and returns the exit status.
struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"show", RunShow},
    {"read", varo::cli::RunRead},
    {"write", varo::cli::RunWrite},
    {"verify", varo::cli::RunVerify},
    {"ports", varo::cli::RunPorts},
    {"export", varo::cli::RunExport},
    {"import", varo::cli::RunImport},
    {"diff", varo::cli::RunDiff},
    {"fleet", varo::cli::RunFleet},
};

// To standard output when asked for, to standard error after a usage error.
void Usage(std::FILE* out) {
  std::fputs(
      "usage: varo-cli COMMAND [options]\n"
      "commands:\n"
      "  show [--lang en|zh] [--ini PROGRAM.ini] [--tsv] FILE.dat\n"
      "      print the channel table of FILE.dat as the programmer shows it; like\n"
      "      opening the file in the programmer, this stores the file's product\n"
      "      type and band as the current choice\n"
      "  read [--model 16|199] --port NAME -o FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
      "  write [--verify] --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
      "      copy the radio's memory into FILE.dat, or FILE.dat into the radio\n"
      "  verify --port NAME FILE.dat [--ini PROGRAM.ini] [--retries N]\n"
      "      read the radio and list what differs from FILE.dat (write --verify:\n"
      "      right after the write); status 3 when the radio differs\n"
      "  fleet --port NAME FILE.dat [--count N] [--log FILE.csv] [--ini PROGRAM.ini]\n"
      "      write FILE.dat into one radio after another, each verified and logged\n"
      "      (the radio just written must be disconnected before the next counts);\n"
      "      ends after N radios or on Ctrl+C; status 4 when Ctrl+C came before N\n"
      "  ports [--model NAME] [--ini PROGRAM.ini] [--lang en|zh]\n"
      "      list COM1..COM4 with their devices, and the serial devices\n"
      "  export FILE.dat -o FILE.csv\n"
      "      write the channel plan of FILE.dat as a CSV file (\"-o -\": standard output)\n"
      "  import FILE.csv (--into FILE.dat | --model 16|199) -o OUT.dat [--ini PROGRAM.ini]\n"
      "         [--lang en|zh]\n"
      "      check the whole CSV file and write FILE.dat (or a new document) with its\n"
      "      channels and options to OUT.dat; with any problem, list each with its\n"
      "      line and write nothing (status 1)\n"
      "  diff [--lang en|zh] A.dat B.dat\n"
      "      list the channels, fields and options in which two files differ;\n"
      "      status 0 when they match, 1 when they differ\n"
      "  --version\n"
      "radios: the 16-channel radio (--model 16, 1024-byte files, the default) and the\n"
      "199-channel radio (--model 199, 8192-byte files); show, write and verify know\n"
      "the radio by the size of FILE.dat\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  if (varo::AnswerVersion(argc, argv, "varo-cli")) return 0;
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  const std::string name = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (name == command.name) return command.run(args);
  }
  if (name == "help" || name == "--help" || name == "-h") {
    Usage(stdout);
    return 0;
  }
  std::fprintf(stderr, "varo-cli: unknown command \"%s\"\n", name.c_str());
  Usage(stderr);
  return 2;
}
