// varodrive: a Qt plugin that drives a program of the installed suite from
// outside, as a user would, for the install test and for screenshots under a
// virtual display. Qt loads it into any Qt program started with
//
//   QT_PLUGIN_PATH=<folder holding generic/libvarodrive.so>
//   QT_QPA_GENERIC_PLUGINS=varodrive
//   VARO_DRIVE_<application name>="step;step;..."
//
// so the program under test is the installed binary itself, unchanged. A
// program without its VARO_DRIVE_ variable runs undisturbed. Steps, in order:
//
//   click:NAME    waits for a visible button of that object name and clicks it
//   command:ID    triggers the menu command ID (the modal window it opens
//                 runs while the next steps go on)
//   wait:MS       lets MS milliseconds pass
//   title:FILE    writes the active window's title to FILE
//   grab:FILE     saves the active window (a modal one first) as a PNG
//   screen:FILE   saves the whole screen as a PNG (under a real display)
//   quit          ends the program
//
// A step that cannot be done within 20 seconds ends the program with status 3.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGenericPlugin>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

QWidget* ActiveWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && !w->parentWidget()) return w;
  }
  return nullptr;
}

class Driver : public QObject {
 public:
  explicit Driver(QStringList steps) : steps_(std::move(steps)) {
    connect(&timer_, &QTimer::timeout, this, &Driver::Tick);
    timer_.start(50);
    clock_.start();
  }

 private:
  void Tick() {
    if (busy_) return;
    busy_ = true;
    while (!steps_.isEmpty() && Do(steps_.first())) {
      std::fprintf(stderr, "varodrive: %s\n", qPrintable(steps_.first()));
      steps_.removeFirst();
      clock_.restart();
    }
    if (steps_.isEmpty()) {
      timer_.stop();
    } else if (clock_.elapsed() > 20000) {
      std::fprintf(stderr, "varodrive: gave up on %s\n", qPrintable(steps_.first()));
      QCoreApplication::exit(3);
    }
    busy_ = false;
  }

  // Carries out `step`; false while it cannot be done yet.
  bool Do(const QString& step) {
    const QString verb = step.section(QLatin1Char(':'), 0, 0);
    const QString arg = step.section(QLatin1Char(':'), 1);
    if (verb == QLatin1String("click")) {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        for (auto* button : top->findChildren<QAbstractButton*>(arg)) {
          if (!button->isVisible() || !button->isEnabled()) continue;
          QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
          return true;
        }
      }
      return false;
    }
    if (verb == QLatin1String("command")) {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        for (QAction* action : top->findChildren<QAction*>()) {
          if (action->property("commandId").toInt() != arg.toInt() || !action->isEnabled())
            continue;
          QMetaObject::invokeMethod(action, "trigger", Qt::QueuedConnection);
          return true;
        }
      }
      return false;
    }
    if (verb == QLatin1String("wait")) return clock_.elapsed() >= arg.toInt();
    if (verb == QLatin1String("title")) {
      QWidget* window = ActiveWindow();
      QFile file(arg);
      if (!window || !file.open(QIODevice::WriteOnly)) return false;
      file.write(window->windowTitle().toUtf8() + '\n');
      return true;
    }
    if (verb == QLatin1String("grab")) {
      QWidget* window = ActiveWindow();
      return window && window->grab().save(arg);
    }
    if (verb == QLatin1String("screen")) {
      QScreen* screen = QGuiApplication::primaryScreen();
      return screen && screen->grabWindow(0).save(arg);
    }
    if (verb == QLatin1String("quit")) {
      QCoreApplication::exit(0);
      return true;
    }
    std::fprintf(stderr, "varodrive: unknown step %s\n", qPrintable(step));
    QCoreApplication::exit(3);
    return true;
  }

  QStringList steps_;
  QTimer timer_;
  QElapsedTimer clock_;
  bool busy_ = false;
};

}  // namespace

class DrivePlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "varodrive.json")

 public:
  QObject* create(const QString& /*key*/, const QString& /*parameters*/) override {
    // The program's name as Qt takes it from its file ("Varo", "Varo16").
    const QByteArray name = "VARO_DRIVE_" + QCoreApplication::applicationName().toLocal8Bit();
    const QString steps = qEnvironmentVariable(name.constData());
    if (steps.isEmpty()) return new QObject;  // nothing to drive here
    return new Driver(steps.split(QLatin1Char(';'), Qt::SkipEmptyParts));
  }
};

#include "DrivePlugin.moc"
