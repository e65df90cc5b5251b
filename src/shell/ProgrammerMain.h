#pragma once

#include <QApplication>
#include <QString>

#include "platform/ProgramFiles.h"

namespace varo::shell {

// main() of a programmer: --version is answered before any window or file is
// opened; otherwise the application `App` runs its start-up and the event
// loop. Returns the process's exit status.
template <class App>
int RunProgrammer(int argc, char** argv, const char* programName) {
  if (AnswerVersion(argc, argv, programName)) return 0;
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(programName));
  App app;
  if (!app.InitInstance(QApplication::arguments())) return 1;
  return QApplication::exec();
}

}  // namespace varo::shell
