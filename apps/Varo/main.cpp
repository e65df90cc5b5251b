// Varo: the suite's launcher. Asks for a product and a language, writes the
// language into that product's INI, starts its programmer and ends.

#include <QApplication>

#include "ini/IniProfile.h"
#include "launcher/Launcher.h"
#include "launcher/ProgramStarter.h"
#include "launcher/ui/CVaroDlg.h"
#include "platform/ProgramFiles.h"

int main(int argc, char* argv[]) {
  // Answered before any window or file is opened.
  if (varo::AnswerVersion(argc, argv, "Varo")) return 0;
  QApplication app(argc, argv);

  // The launcher INI sits next to the launcher and is written back at exit.
  varo::IniProfile ini(4);
  ini.Open("Varo.ini", true, true, false);

  varo::SystemProgramStarter starter;
  varo::Launcher launcher(ini, starter);
  varo::CVaroDlg dialog(launcher);
  dialog.exec();

  ini.Close();
  return 0;
}
