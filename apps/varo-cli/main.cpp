// varo-cli: the radio models without a window.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Usage() {
  std::fputs(
      "usage: varo-cli COMMAND [options]\n"
      "commands:\n"
      "  show [--lang en|zh] [--ini PROGRAM.ini] [--tsv] FILE.dat\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  std::string command = argv[1];
  (void)args;
  std::fprintf(stderr, "varo-cli: unknown command \"%s\"\n", command.c_str());
  Usage();
  return 2;
}
