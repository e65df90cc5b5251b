#include "Varo16Fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model16/ChannelTable.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "platform/ProgramFiles.h"
#include "shell/CChildFrame.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"

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
  fs::create_directories(dir_.path() / "config");
  setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
  SetProgramDirectory(dir_.path().string());
}

Varo16Folder::~Varo16Folder() {
  SetProgramDirectory("");
  unsetenv("XDG_CONFIG_HOME");
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

Session::Session(const std::string& language, const QStringList& arguments) : folder(language) {
  app = folder.Start(arguments);
  if (app) Activate();
}

void Session::Activate() const {
  Frame()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Frame()));
}

shell::CMainFrame* Session::Frame() const { return app->MainFrame(); }
shell::CChildFrame* Session::Child() const { return Frame()->ActiveChild(); }
model16::ui::CVaro_16View* Session::View() const {
  return static_cast<model16::ui::CVaro_16View*>(&Child()->View());
}
shell::CMSFlexGrid* Session::Grid() const { return &View()->Grid(); }
model16::MemoryImage& Session::Image() const { return View()->Doc().Image(); }
QWidget* Session::Editor(long col) const { return View()->EditorQWidget(col); }

QStringList Session::Row(long row) const {
  QStringList texts;
  for (long col = 1; col < model16::kTableCols; ++col)
    texts << QString::fromStdString(Grid()->TextMatrix(row, col));
  return texts;
}

void Session::Click(long row, long col) const {
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->CellRect(row, col).center());
}

void Session::Type(long row, long col, const QString& text) const {
  Click(row, col);
  QTest::keyClicks(Editor(col), text);
  QTest::keyClick(Editor(col), Qt::Key_Return);
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
    if (button->text().remove(QLatin1Char('&')) == text || button->objectName() == text) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QFAIL(qPrintable(QStringLiteral("no button '%1' in %2").arg(text, w->objectName())));
}

void Answer(QStringList* seen, const QString& button) {
  WhenModal([seen, button](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    *seen << w->windowTitle() << (box ? box->text() : QString());
    Press(w, button);
  });
}

void AcceptFileDialog(QWidget* w, const QString& path) {
  auto* dialog = qobject_cast<QFileDialog*>(w);
  QVERIFY(dialog);
  dialog->selectFile(path);
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (name) name->setText(path);
  QMetaObject::invokeMethod(dialog, "accept");
}

void MaybeScreenshot(QWidget* w, const QString& name, bool titleBar) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QString path = QString::fromLocal8Bit(dir) + QLatin1Char('/') + name;
  const QPixmap client = w->grab();
  if (!titleBar) {
    client.save(path);
    return;
  }
  QImage image(client.width() + 2, client.height() + 25, QImage::Format_ARGB32);
  image.fill(QColor(0x3b, 0x5a, 0x85));
  QPainter painter(&image);
  painter.drawPixmap(1, 24, client);
  QFont font = w->font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, image.width() - 12, 24), Qt::AlignVCenter, w->windowTitle());
  painter.end();
  image.save(path);
}

}  // namespace varo::test
