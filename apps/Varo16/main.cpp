// Varo16: the programmer of the 16-channel radio.
#include <QApplication>

#include "model16/ui/CVaro_16App.h"
#include "platform/ProgramFiles.h"

int main(int argc, char** argv) {
  // Answered before any window or file is opened.
  if (varo::AnswerVersion(argc, argv, "Varo16")) return 0;
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varo16"));
  varo::model16::ui::CVaro_16App app;
  if (!app.InitInstance(QApplication::arguments())) return 1;
  return QApplication::exec();
}
