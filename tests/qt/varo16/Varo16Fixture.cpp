#include "Varo16Fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFiles.h"

namespace varo::test {

namespace fs = std::filesystem;

namespace {

fs::path Delivered() { return fs::path(VARO_SOURCE_DIR) / "resources" / "suite"; }

}  // namespace

Varo16Folder::Varo16Folder(const std::string& language) {
  for (const char* name : {"English16.lng", "Chinese16.lng", "title.ico", "background.bmp"})
    CopyDelivered(name);
  // The delivered INI with the language of the test.
  std::ifstream in(Delivered() / "Varo16.ini", std::ios::binary);
  std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string key = "Language=English\n";
  const auto at = ini.find(key);
  if (at != std::string::npos)
    ini.replace(at, key.size(), language.empty() ? std::string() : "Language=" + language + "\n");
  dir_.Write("Varo16.ini", ini);

  if (const char* xdg = std::getenv("XDG_CONFIG_HOME")) {
    hadXdg_ = true;
    oldXdg_ = xdg;
  }
  fs::create_directories(dir_.path() / "config");
  setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
  SetProgramDirectory(dir_.path().string());
}

Varo16Folder::~Varo16Folder() {
  SetProgramDirectory("");
  if (hadXdg_) {
    setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

void Varo16Folder::Remove(const std::string& name) const {
  std::error_code ignored;
  fs::remove_all(dir_.path() / name, ignored);
}

void Varo16Folder::CopyDelivered(const std::string& name) const {
  fs::copy(Delivered() / name, dir_.path() / name,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::unique_ptr<model16::ui::CVaro_16App> Varo16Folder::Start(const QStringList& arguments) const {
  auto app = std::make_unique<model16::ui::CVaro_16App>();
  app->startProgram = [](const std::string&) { return true; };
  if (!app->InitInstance(QStringList{QStringLiteral("Varo16")} + arguments)) return nullptr;
  return app;
}

void WhenModal(std::function<void(QWidget*)> act) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [act = std::move(act), tries, poll]() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      act(modal);
      return;
    }
    if (++*tries < 500) QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

void Press(QWidget* w, const QString& text) {
  for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
    QString label = button->text();
    label.remove(QLatin1Char('&'));
    if (label == text || button->objectName() == text) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  if (auto* box = qobject_cast<QMessageBox*>(w)) {
    for (QAbstractButton* button : box->buttons()) {
      if (box->standardButton(button) == QMessageBox::Ok && text == QLatin1String("OK")) {
        button->click();
        return;
      }
      if (box->standardButton(button) == QMessageBox::Cancel && text == QLatin1String("Cancel")) {
        button->click();
        return;
      }
    }
  }
  QFAIL(qPrintable(QStringLiteral("no button '%1' in %2").arg(text, w->objectName())));
}

QString MessageText(QWidget* w) {
  auto* box = qobject_cast<QMessageBox*>(w);
  return box ? box->text() : QString();
}

void AcceptFileDialog(QWidget* w, const QString& path) {
  auto* dialog = qobject_cast<QFileDialog*>(w);
  QVERIFY(dialog);
  dialog->selectFile(path);
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (name) name->setText(path);
  QMetaObject::invokeMethod(dialog, "accept");
}

void MaybeScreenshot(QWidget* w, const QString& name) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

}  // namespace varo::test
