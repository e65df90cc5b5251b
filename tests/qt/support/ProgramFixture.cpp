#include "qt/support/ProgramFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFiles.h"
#include "shell/CChildFrame.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/HelpWindow.h"
#include "shell/ChannelView.h"
#include "shell/RadioDocument.h"

namespace varo::test {

namespace fs = std::filesystem;

namespace {

fs::path Delivered() { return fs::path(VARO_SOURCE_DIR) / "resources" / "suite"; }

}  // namespace

ProgramFolder::ProgramFolder(const ProgramFiles& files, const std::string& language)
    : files_(files) {
  for (const std::string& name : files_.delivered) CopyDelivered(name);
  // The delivered INI with the language of the test.
  std::ifstream in(Delivered() / files_.iniName, std::ios::binary);
  std::string ini((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string key = "Language=English\n";
  const auto at = ini.find(key);
  if (at != std::string::npos)
    ini.replace(at, key.size(), language.empty() ? std::string() : "Language=" + language + "\n");
  dir_.Write(files_.iniName, ini);
  fs::create_directories(dir_.path() / "config");
  setenv("XDG_CONFIG_HOME", (dir_.path() / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir_.path() / "data").c_str(), 1);
  SetProgramDirectory(dir_.path().string());
}

ProgramFolder::~ProgramFolder() {
  SetProgramDirectory("");
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_HOME");
}

void ProgramFolder::Remove(const std::string& name) const {
  std::error_code ignored;
  fs::remove_all(dir_.path() / name, ignored);
}

void ProgramFolder::CopyDelivered(const std::string& name) const {
  fs::copy(Delivered() / name, dir_.path() / name,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

bool ProgramFolder::Start(shell::CShellApp& app, const QStringList& arguments) const {
  return app.InitInstance(QStringList{QString::fromStdString(files_.programName)} + arguments);
}

void SessionBase::Activate() const {
  Frame()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(Frame()));
}

shell::CMainFrame* SessionBase::Frame() const { return App()->MainFrame(); }
shell::CChildFrame* SessionBase::Child() const { return Frame()->ActiveChild(); }
shell::CChannelView* SessionBase::ChannelView() const {
  return static_cast<shell::CChannelView*>(&Child()->View());
}
shell::CMSFlexGrid* SessionBase::Grid() const { return &ChannelView()->Grid(); }
radio::MemoryImage& SessionBase::Image() const { return ChannelView()->Doc().Image(); }
QWidget* SessionBase::Editor(long col) const { return ChannelView()->EditorQWidget(col); }

QStringList SessionBase::Row(long row) const {
  QStringList texts;
  for (long col = 1; col < Grid()->Cols(); ++col)
    texts << QString::fromStdString(Grid()->TextMatrix(row, col));
  return texts;
}

void SessionBase::Click(long row, long col) const {
  shell::CMSFlexGrid* grid = Grid();
  grid->scrollTo(grid->model()->index(static_cast<int>(row - 1), static_cast<int>(col - 1)));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(row, col).center());
}

void SessionBase::Type(long row, long col, const QString& text) const {
  Click(row, col);
  QTest::keyClicks(Editor(col), text);
  QTest::keyClick(Editor(col), Qt::Key_Return);
}

QString SessionBase::HelpPage() const {
  return App()->Help() ? App()->Help()->CurrentPage() : QString();
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

QList<int> MenuCommands(const QWidget* menu) {
  QList<int> ids;
  for (const QAction* item : menu->actions()) ids << item->property("commandId").toInt();
  return ids;
}

void Press(QWidget* w, const QString& text) {
  // A message box's standard buttons by their English names, whatever the
  // interface language.
  if (auto* box = qobject_cast<QMessageBox*>(w)) {
    const std::pair<const char*, QMessageBox::StandardButton> standard[] = {
        {"OK", QMessageBox::Ok}, {"Cancel", QMessageBox::Cancel}, {"Yes", QMessageBox::Yes},
        {"No", QMessageBox::No}, {"Retry", QMessageBox::Retry}};
    for (const auto& [name, which] : standard) {
      if (text == QLatin1String(name) && box->button(which)) {
        QTest::mouseClick(box->button(which), Qt::LeftButton);
        return;
      }
    }
  }
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

namespace {

// `w` as the screen shows it, with a plain title bar holding its caption.
QImage WithTitleBar(QWidget* w) {
  const QPixmap client = w->grab();
  QImage image(client.width() + 2, client.height() + 25, QImage::Format_ARGB32);
  image.fill(QColor(0x3b, 0x5a, 0x85));
  QPainter painter(&image);
  painter.drawPixmap(1, 24, client);
  QFont font = w->font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, image.width() - 12, 24), Qt::AlignVCenter, w->windowTitle());
  return image;
}

}  // namespace

void MaybeScreenshot(QWidget* w, const QString& name, bool titleBar, QWidget* over) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QString path = QString::fromLocal8Bit(dir) + QLatin1Char('/') + name;
  if (!titleBar) {
    w->grab().save(path);
    return;
  }
  QImage picture = WithTitleBar(w);
  if (over) {
    const QImage top = WithTitleBar(over);
    QPainter painter(&picture);
    painter.drawImage((picture.width() - top.width()) / 2, (picture.height() - top.height()) / 2,
                      top);
  }
  picture.save(path);
}

void MaybeScreenshotWithPopup(QWidget* w, const QString& name, QWidget* popup) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QImage picture = WithTitleBar(w);
  QPainter painter(&picture);
  const QPoint at = popup->mapToGlobal(QPoint(0, 0)) - w->mapToGlobal(QPoint(0, 0));
  painter.drawPixmap(at + QPoint(1, 24), popup->grab());
  painter.end();
  picture.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

QStringList PdfPages(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

bool OnOneLine(const QString& page, const QString& left, const QString& right) {
  return page.contains(QRegularExpression(QRegularExpression::escape(left) + "[^\\n]*" +
                                          QRegularExpression::escape(right)));
}

}  // namespace varo::test
