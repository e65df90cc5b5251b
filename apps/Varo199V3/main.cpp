// Varo199V3: the programmer of the 199-channel radio.
#include <QApplication>

#include "model199/ui/CVaro_199App.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varo199V3"));
  varo::model199::ui::CVaro_199App app;
  if (!app.InitInstance(QApplication::arguments())) return 1;
  return QApplication::exec();
}
