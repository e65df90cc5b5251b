// Varo16: the programmer of the 16-channel radio.
#include "model16/ui/CVaro_16App.h"
#include "shell/ProgrammerMain.h"

int main(int argc, char** argv) {
  return varo::shell::RunProgrammer<varo::model16::ui::CVaro_16App>(argc, argv, "Varo16");
}
