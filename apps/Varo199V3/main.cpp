// Varo199V3: the programmer of the 199-channel radio.
#include "model199/ui/CVaro_199App.h"
#include "shell/ProgrammerMain.h"

int main(int argc, char** argv) {
  return varo::shell::RunProgrammer<varo::model199::ui::CVaro_199App>(argc, argv, "Varo199V3");
}
