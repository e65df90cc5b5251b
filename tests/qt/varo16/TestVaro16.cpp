// Varo16 on the desktop, driven offscreen through its real widgets: start-up,
// the channel table and its editors, the document's files, COM Setup,
// Language, the control bar, the help window and the background.

#include <pty.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QStringEncoder>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "Varo16Fixture.h"
#include "model16/ui/CVaro_16View.h"
#include "ini/Registry.h"
#include "shell/BackgroundArea.h"
#include "shell/CChildFrame.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CComSetupDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CProductInfoDlg.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"
#include "shell/ShellText.h"
#include "platform/SerialPort.h"
#include "support/FakeSerialSystem.h"

using namespace varo;
using test::Session;

namespace {

// A document window made once the program runs shows at the area's top
// left, the whole table in view, as the first one does.
void ExpectInView(const Session& s) {
  const QRect area = s.Frame()->Background()->viewport()->rect();
  const QRect child = s.Child()->geometry();
  QVERIFY2(area.contains(child), qPrintable(QStringLiteral("window at %1,%2 size %3x%4 in %5x%6")
                                                .arg(child.x()).arg(child.y()).arg(child.width())
                                                .arg(child.height()).arg(area.width())
                                                .arg(area.height())));
}

// Terminals that stand for serial devices for as long as they live; paths[i]
// (and [i]) is the device of the i-th.
struct Terminals {
  explicit Terminals(int count) {
    for (int i = 0; i < count; ++i) {
      int master = -1, slave = -1;
      char name[64];
      if (openpty(&master, &slave, name, nullptr, nullptr) != 0) qFatal("openpty failed");
      ::close(slave);
      masters.push_back(master);
      paths << QString::fromLatin1(name);
    }
  }
  ~Terminals() {
    for (int fd : masters) ::close(fd);
  }
  std::string operator[](int i) const { return paths.at(i).toStdString(); }
  std::vector<int> masters;
  QStringList paths;
};

}  // namespace

class TestVaro16 : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void startUpWithoutModuleEnds();
  void startUpOpensCommandLineFile();
  void gbkModuleAndIni();
  void keysMoveThroughTheTable();
  void helpOpensTheTopicOfTheFocus();
  void helpWindowKeepsItsPlaceOnScreen();
  void helpWindowFitsOnScreen_data();
  void helpWindowFitsOnScreen();
  void saveAndOpenRoundTrip();
  void fileNewAndShortFileKeepTheDocument();
  void fileDialogsOpenInTheFolderLastUsed();
  void comSetupProbesAndStores();
  void comSetupShowsTheDevices_data();
  void comSetupShowsTheDevices();
  void languageChangeRestarts();
  void controlBarAndTree();
  void splitterWidthRules();
  void backgroundTiles();
};

void TestVaro16::startUpWithoutModuleEnds() {
  const struct {
    const char* language;
    const char* removed;
    const char* message;
  } cases[] = {
      {"", "", "Load language DLL fail"},  // asks for "16.lng"
      {"Chinese", "Chinese16.lng", "加载语言链接库失败"},
  };
  for (const auto& c : cases) {
    test::Varo16Folder folder(c.language);
    if (*c.removed) folder.Remove(c.removed);
    QStringList seen;
    test::Answer(&seen);
    QVERIFY(folder.Start() == nullptr);
    QCOMPARE(seen.value(1), QString::fromUtf8(c.message));
  }
}

void TestVaro16::startUpOpensCommandLineFile() {
  test::TempDir dir;
  std::string image(1024, '\xFF');
  image.replace(0x10, 8, std::string("\x25\x06\x60\x44\x25\x06\x60\x44", 8));
  Session s("English", {QString::fromStdString(dir.Write("radio.dat", image))});
  QVERIFY(s.app);
  QCOMPARE(s.Row(1).first(), QStringLiteral("446.00625"));
  QVERIFY(!s.app->NewDocumentFlag());
  QCOMPARE(s.Child()->windowTitle(), QStringLiteral("radio.dat"));
}

// The module and the INI as GBK, as delivered on Windows.
void TestVaro16::gbkModuleAndIni() {
  test::Varo16Folder folder("Chinese");
  QStringEncoder toGbk("GBK");
  for (const char* name : {"Chinese16.lng", "Varo16.ini"}) {
    QFile f(QString::fromStdString(folder.Path(name)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    folder.dir().Write(name,
                       QByteArray(toGbk.encode(QString::fromUtf8(f.readAll()))).toStdString());
  }
  auto app = folder.Start();
  QVERIFY(app);
  QCOMPARE(app->MainFrame()->menuBar()->actions().first()->text(), QStringLiteral("文件(&F)"));
  QCOMPARE(app->AppName(), QStringLiteral("Varo 无线电"));
  // The title joins GBK values with the program's own UTF-8 words.
  QCOMPARE(app->MainFrame()->windowTitle(),
           QStringLiteral("Varo16 写频软件  [ 类型:V16-V  频率:136 - 174MHz ]"));
  // Decoded run by run: a GBK character whose second byte is ASCII, then UTF-8.
  QCOMPARE(shell::FromBytes("\x81\x40" + QStringLiteral("类").toStdString()),
           QStringLiteral("丂类"));
}

// Escape drops what was typed; Enter on the table itself opens the next
// cell; F6 takes the keyboard between the tree and the table.
void TestVaro16::keysMoveThroughTheTable() {
  Session s;
  QVERIFY(s.app);
  s.Click(6, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_Escape);
  QVERIFY(!s.Editor(1)->isVisible() && s.Grid()->hasFocus());
  QTest::keyClick(s.Grid(), Qt::Key_Down);
  QCOMPARE(s.Grid()->Row(), 7);
  QCOMPARE(s.Row(6).first(), QString());
  QTest::keyClick(s.Grid(), Qt::Key_Return);
  QCOMPARE(s.Grid()->Col(), 2);
  QVERIFY(s.Editor(2)->isVisible());

  s.View()->Editor().Scroll();  // no editor open
  QTreeWidget* tree = s.Frame()->ControlBar()->Tree();
  QTest::keyClick(s.Grid(), Qt::Key_F6);
  QVERIFY(tree->hasFocus());
  QTest::keyClick(tree, Qt::Key_F6, Qt::ShiftModifier);
  QVERIFY(s.Grid()->hasFocus());

  // Scrolling closes the editor and drops what was typed.
  s.Child()->resize(400, 200);  // small enough to scroll
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("145.0125"));
  s.Grid()->verticalScrollBar()->setValue(s.Grid()->verticalScrollBar()->maximum());
  QVERIFY(!s.Editor(1)->isVisible());
  s.Grid()->SetRow(2);  // leaving the cell commits nothing
  QCOMPARE(s.Row(1), QStringList(8, QString()));
}

// F1 opens the topic of what has the focus: the table, an editor, a
// highlighted menu item; outside a document window, like Help > Help Topics
// (listed with F1 as its key), the contents. Esc closes the help window;
// without the help folder nothing shows.
void TestVaro16::helpOpensTheTopicOfTheFocus() {
  Session s;
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");
  QAction* topics = s.Frame()->Popup(129, 5)->actions().last();
  QCOMPARE(topics->text(), QStringLiteral("&Help Topics\tF1"));
  topics->trigger();
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/enHelp/index.html")));
  QTest::keyClick(s.app->Help()->Browser(), Qt::Key_Escape);
  QVERIFY(!s.app->Help()->isVisible());

  s.Activate();
  s.Grid()->setFocus();
  QTest::keyClick(s.Grid(), Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/1000.html")));
  s.Activate();
  s.Click(1, 4);
  QTest::keyClick(s.Editor(4), Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/2133.html")));
  s.Activate();
  s.Frame()->ControlBar()->Tree()->setFocus();
  QTest::keyClick(s.Frame()->ControlBar()->Tree(), Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/enHelp/index.html")));

  QMenu* setup = s.Frame()->Popup(129, 4);
  setup->popup(QPoint(0, 0));
  QTRY_VERIFY(setup->isVisible());
  setup->setActiveAction(setup->actions().at(0));
  QTest::keyClick(setup, Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/32777.html")));
  setup->close();

  s.app->Help()->close();
  s.folder.Remove("enHelp");
  s.app->ShowHelp(1000);
  QVERIFY(!s.app->Help()->isVisible());
}

// The help window opens where it was last closed, in the next run too, and
// a place off the screen (a monitor since unplugged) or a size beyond it
// comes back fully onto the screen.
void TestVaro16::helpWindowKeepsItsPlaceOnScreen() {
  Session s;
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");
  Registry key("Software\\Varo16");
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  key.SetString("Help Window", "5000,-3000,300,200");
  s.app->ShowHelpIndex();
  shell::HelpWindow* help = s.app->Help();
  QVERIFY(screen.contains(help->frameGeometry()));
  QCOMPARE(help->size(), QSize(300, 200));
  help->setGeometry(30, 40, 320, 240);
  help->close();
  QCOMPARE(key.QueryString("Help Window").value_or(""), std::string("30,40,320,240"));

  s.app.reset();  // the next run
  s.app = s.folder.Start();
  QVERIFY(s.app);
  s.app->ShowHelpIndex();
  QCOMPARE(s.app->Help()->geometry(), QRect(30, 40, 320, 240));
  s.app->Help()->close();
  key.SetString("Help Window", "10,10,9000,9000");
  s.app.reset();
  s.app = s.folder.Start();
  s.app->ShowHelp(1000);
  QVERIFY(screen.contains(s.app->Help()->frameGeometry()));
  QVERIFY(s.app->Help()->width() > screen.width() - 10);
}

void TestVaro16::helpWindowFitsOnScreen_data() {
  QTest::addColumn<QRect>("wanted");
  QTest::addColumn<QMargins>("frame");
  QTest::addColumn<QRect>("placed");  // on a screen of 0,0 1000x800
  QTest::newRow("on screen") << QRect(100, 100, 400, 300) << QMargins() << QRect(100, 100, 400, 300);
  QTest::newRow("off right and bottom") << QRect(900, 700, 400, 300) << QMargins()
                                        << QRect(600, 500, 400, 300);
  QTest::newRow("off left and top") << QRect(-50, -20, 400, 300) << QMargins()
                                    << QRect(0, 0, 400, 300);
  QTest::newRow("larger") << QRect(10, 10, 1200, 900) << QMargins() << QRect(0, 0, 1000, 800);
  QTest::newRow("title bar kept on screen") << QRect(0, 0, 400, 300) << QMargins(2, 24, 2, 2)
                                            << QRect(2, 24, 400, 300);
  QTest::newRow("larger with frame") << QRect(0, 0, 1200, 900) << QMargins(2, 24, 2, 2)
                                     << QRect(2, 24, 996, 774);
}

void TestVaro16::helpWindowFitsOnScreen() {
  QFETCH(QRect, wanted);
  QFETCH(QMargins, frame);
  QFETCH(QRect, placed);
  QCOMPARE(shell::HelpWindow::FitOnScreen(wanted, QRect(0, 0, 1000, 800), frame), placed);
}

void TestVaro16::saveAndOpenRoundTrip() {
  Session s;
  QVERIFY(s.app);
  s.Frame()->showNormal();
  s.Frame()->resize(1800, 1300);
  s.Type(2, 1, QStringLiteral("145.0125"));

  // Save on a new document always asks, proposing "<AppName>.dat".
  const QString path = QString::fromStdString(s.folder.Path("channels"));
  QString proposed;
  test::WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    QVERIFY(dialog);
    proposed = dialog->selectedFiles().value(0);
    test::AcceptFileDialog(w, path);
  });
  QVERIFY(s.Frame()->RouteCommand(shell::ID_FILE_SAVE));
  QVERIFY(proposed.endsWith(QStringLiteral("/Varo16.dat")));
  QCOMPARE(s.Child()->windowTitle(), QStringLiteral("channels.dat"));
  QFile saved(path + QStringLiteral(".dat"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  QCOMPARE(bytes.size(), 1024);
  QCOMPARE(bytes.mid(0x20, 4), QByteArray("\x50\x12\x50\x14", 4));  // channel 2 Rx, BCD

  // Saved again: no dialog, same file; the cell still being edited goes in.
  s.Activate();  // the offscreen platform hands nothing back after a dialog
  s.Click(4, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_S, Qt::ControlModifier);
  saved.close();  // the save replaced the file
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll().mid(0x40, 4), QByteArray("\x00\x00\x00\x15", 4));
  QCOMPARE(s.Row(4).first(), QStringLiteral("150.00000"));

  // A typo still in its editor at Save: its message, the row as it was, and
  // the save goes on with that row.
  const QStringList row2 = s.Row(2);
  const std::pair<const char*, const char*> typos[] = {
      {"145.013", "Error data Value, please input according the step value(6.25K/5k)."},
      {"17", "Out of range,please input again."}};
  for (const auto& [typo, message] : typos) {
    s.Activate();
    s.Click(2, 1);
    QTest::keyClicks(s.Editor(1), QString::fromLatin1(typo));
    QStringList seen;
    test::Answer(&seen);
    QTest::keyClick(s.Editor(1), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(seen, (QStringList{"Caution", message}));
    QCOMPARE(s.Row(2), row2);
    QVERIFY(!s.Editor(1)->isVisible());
    saved.close();
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray again = saved.readAll();
    QCOMPARE(again.mid(0x20, 4), QByteArray("\x50\x12\x50\x14", 4));  // channel 2 kept
    QCOMPARE(again.mid(0x40, 4), QByteArray("\x00\x00\x00\x15", 4));
  }

  // Opened: a new window shows the channel, the old one hides.
  shell::CChildFrame* first = s.Child();
  test::WhenModal([&](QWidget* w) { test::AcceptFileDialog(w, path + QStringLiteral(".dat")); });
  QVERIFY(s.Frame()->RouteCommand(shell::ID_FILE_OPEN));
  QVERIFY(s.Child() != first && !first->isVisible() && s.Child()->isVisible());
  QCOMPARE(s.Row(2).first(), QStringLiteral("145.01250"));
  QVERIFY(!s.app->NewDocumentFlag());
  ExpectInView(s);
}

// The file dialogs open where the user last chose a file, in this run and
// the next: Open starts in the current folder until a file has been chosen;
// after a Save As into one folder the next run opens there, and after an
// Open from another folder a new document is proposed there.
void TestVaro16::fileDialogsOpenInTheFolderLastUsed() {
  Session s;
  QVERIFY(s.app);
  std::filesystem::create_directories(s.folder.dir().path() / "saved");
  std::filesystem::create_directories(s.folder.dir().path() / "opened");
  const QString saved = QString::fromStdString(s.folder.Path("saved"));
  const QString opened = QString::fromStdString(s.folder.Path("opened"));
  s.folder.dir().Write("opened/radio.dat", std::string(1024, '\xFF'));
  QStringList shown;  // the folder each dialog opened in
  const auto dialog = [&](int command, const QString& choose) {
    test::WhenModal([&shown, choose](QWidget* w) {
      auto* files = qobject_cast<QFileDialog*>(w);
      QVERIFY(files);
      shown << files->directory().absolutePath();
      choose.isEmpty() ? files->reject() : test::AcceptFileDialog(w, choose);
    });
    s.Frame()->RouteCommand(command);
  };
  dialog(shell::ID_FILE_OPEN, QString());  // cancelled: nothing remembered
  dialog(shell::ID_FILE_SAVE_AS, saved + QStringLiteral("/channels.dat"));
  s.app.reset();
  s.app = s.folder.Start();
  QVERIFY(s.app);
  dialog(shell::ID_FILE_OPEN, opened + QStringLiteral("/radio.dat"));
  QStringList cleared;
  test::Answer(&cleared);
  s.Frame()->RouteCommand(shell::ID_FILE_NEW);
  dialog(shell::ID_FILE_SAVE_AS, QString());
  QCOMPARE(shown, (QStringList{QDir::currentPath(), QDir::currentPath(), saved, opened}));
}

// File New asks first and Cancel keeps the document; a file too short for an
// image is refused with a message and leaves the document as it was; OK
// makes a new document window, in view.
void TestVaro16::fileNewAndShortFileKeepTheDocument() {
  Session s;
  QVERIFY(s.app);
  s.Frame()->showNormal();
  s.Frame()->resize(1800, 1300);
  s.Type(1, 1, QStringLiteral("150"));
  const QPointer<shell::CChildFrame> before = s.Child();
  QStringList seen;
  test::Answer(&seen, QStringLiteral("Cancel"));
  s.Frame()->RouteCommand(shell::ID_FILE_NEW);
  test::Answer(&seen);
  const std::string shortFile = s.folder.dir().Write("short.dat", std::string(1023, '\0'));
  QVERIFY(!s.app->OpenDocumentFile(QString::fromStdString(shortFile)));
  QCOMPARE(seen.mid(0, 3), (QStringList{"Varo Radio", "All data will be Cleared!", "Varo Radio"}));
  QVERIFY(seen.value(3).contains(QStringLiteral("too short")));
  QVERIFY(s.Child() == before && before->isVisible());
  QCOMPARE(s.Frame()->Children().size(), std::size_t{1});
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));

  test::Answer(&seen, QStringLiteral("OK"));
  s.Frame()->RouteCommand(shell::ID_FILE_NEW);
  QCOMPARE(s.Frame()->Children().size(), std::size_t{1});
  QCOMPARE(s.Row(1).first(), QString());
  QCOMPARE(s.Child()->windowTitle(), QStringLiteral("Channel Information"));
  QVERIFY(s.Child() != before.data() && s.Child()->isVisible());
  ExpectInView(s);
}

void TestVaro16::comSetupProbesAndStores() {
  // COM1 and COM3 reach terminals; COM2 and COM4 name nothing.
  const Terminals terminals(2);
  setenv("VARO_PORT_COM1", terminals[0].c_str(), 1);
  setenv("VARO_PORT_COM2", "/nonexistent/tty", 1);
  setenv("VARO_PORT_COM3", terminals[1].c_str(), 1);
  setenv("VARO_PORT_COM4", "/nonexistent/tty", 1);
  Session s;
  QVERIFY(s.app);
  Registry registry("Software\\Varo16");
  QCOMPARE(s.View()->PortName(), QStringLiteral("COM1"));
  QCOMPARE(s.Frame()->PortPane()->text(), QStringLiteral("COM1: simulated radio"));
  const auto setup = [&s](const std::function<void(QWidget*)>& act) {
    test::WhenModal(act);
    s.Frame()->RouteCommand(shell::ID_COM_SETUP);
  };

  // First opening: nothing stored, COM1 selected; the ports that cannot be
  // opened are disabled. COM3 chosen.
  QList<bool> states;  // checked and enabled, COM1-COM4
  setup([&states](QWidget* w) {
    for (int id = 1007; id <= 1010; ++id) {
      auto* port = w->findChild<QRadioButton*>(QString::number(id));
      states << port->isChecked() << port->isEnabled();
    }
    QTest::mouseClick(w->findChild<QRadioButton*>(QStringLiteral("1009")), Qt::LeftButton);
    test::Press(w, QStringLiteral("OK"));
  });
  QCOMPARE(states, (QList<bool>{true, true, false, false, false, true, false, false}));
  QCOMPARE(s.View()->PortName(), QStringLiteral("com3"));
  QCOMPARE(registry.QueryDword("com").value_or(0), 3u);
  QCOMPARE(s.Frame()->PortPane()->text(), QStringLiteral("COM3: simulated radio"));

  // Cancel changes nothing. A stored number outside 1-4 selects nothing; OK
  // then stores 0 and the port becomes "com0", which nothing redirects.
  registry.SetDword("com", 7);
  setup([](QWidget* w) { test::Press(w, QStringLiteral("Cancel")); });
  QCOMPARE(s.View()->PortName(), QStringLiteral("com3"));
  QCOMPARE(registry.QueryDword("com").value_or(0), 7u);
  setup([](QWidget* w) { test::Press(w, QStringLiteral("OK")); });
  QCOMPARE(s.View()->PortName(), QStringLiteral("com0"));
  QCOMPARE(registry.QueryDword("com").value_or(99), 0u);
  QVERIFY(s.Frame()->PortPane()->isHidden());

  for (const char* name : {"VARO_PORT_COM1", "VARO_PORT_COM2", "VARO_PORT_COM3", "VARO_PORT_COM4"})
    unsetenv(name);
}

void TestVaro16::comSetupShowsTheDevices_data() {
  QTest::addColumn<QString>("language");
  // The state words: ready, in use, not connected.
  QTest::addColumn<QStringList>("states");
  QTest::newRow("English") << "English" << QStringList{"ready", "in use", "not connected"};
  QTest::newRow("Chinese") << "Chinese" << QStringList{"可用", "被占用", "未连接"};
}

// Beside each COM name: the device its "Ports" entry names, where a by-id
// link leads, the state, and the adapter the system describes. COM1 names
// an FTDI adapter by its by-id link, COM2 a port another holder keeps, COM3
// a device that is unplugged, COM4 a Prolific adapter by its node.
void TestVaro16::comSetupShowsTheDevices() {
  QFETCH(QString, language);
  QFETCH(QStringList, states);
  const Terminals tty(3);
  test::FakeSerialSystem system;
  system.AddUsbAdapter("usb1/1-1", {"0403", "6001", "FTDI", "FT232R USB UART", "A10K"},
                       "1-1:1.0/ttyUSB0", "ttyUSB0", "ftdi_sio", tty[0]);
  const std::string byId = "usb-FTDI_FT232R_USB_UART_A10K-if00-port0";
  system.AddById(byId, tty[0]);
  system.AddUsbAdapter("usb1/1-2", {"067b", "2303", "Prolific", "Prolific USB-Serial Controller", ""},
                       "1-2:1.0/ttyUSB1", "ttyUSB1", "pl2303", tty[2]);
  Session s(language.toStdString());
  QVERIFY(s.app);
  const std::string ports[4] = {system.Dev("serial/by-id/" + byId), tty[1],
                                system.Dev("ttyUSB3"), tty[2]};
  for (int i = 0; i < 4; ++i) s.app->Ini().SetValue("Ports", "COM" + std::to_string(i + 1), ports[i]);
  auto holder = CreateSerialPort();
  QVERIFY(holder->Open(tty[1]));

  QStringList lines;
  QList<bool> enabled;
  test::WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<shell::CComSetupDlg*>(w);
    if (!dialog) {
      qWarning() << "not COM Setup:" << w->metaObject()->className() << w->windowTitle();
      w->close();
      return;
    }
    for (int i = 0; i < 4; ++i) {
      lines << dialog->Device(i)->toolTip();
      enabled << dialog->Button(i)->isEnabled();
    }
    test::MaybeScreenshot(w, QStringLiteral("varo16-com-setup-%1.png")
                                 .arg(language == QLatin1String("Chinese") ? "zh" : "en"),
                          true);
    test::Press(w, QStringLiteral("2"));  // Cancel
  });
  s.Frame()->RouteCommand(shell::ID_COM_SETUP);
  holder->Close();

  const QString ftdi = QStringLiteral("FTDI FT232R USB UART (0403:6001)");
  const QStringList expected = {
      QString::fromStdString(ports[0]) + QStringLiteral(" → ") + tty.paths[0] +
          QStringLiteral(" — ") + states[0] + QLatin1Char('\n') + ftdi + QLatin1Char('\n') +
          QString::fromStdString(ports[0]),
      tty.paths[1] + QStringLiteral(" — ") + states[1],
      QString::fromStdString(ports[2]) + QStringLiteral(" — ") + states[2],
      tty.paths[2] + QStringLiteral(" — ") + states[0] +
          QStringLiteral("\nProlific USB-Serial Controller (067b:2303)")};
  QCOMPARE(lines, expected);
  QCOMPARE(enabled, (QList<bool>{true, false, false, true}));
}

void TestVaro16::languageChangeRestarts() {
  const struct {
    const char* running;
    const char* choose;  // object name of the radio button
    bool withStarter;    // a "TALMO" program in the folder
    QString written;     // "" = INI untouched, no restart
  } cases[] = {{"English", "1007", false, "Chinese"},
               {"Chinese", "1006", true, "English"},
               {"English", "1006", true, ""}};
  for (const auto& c : cases) {
    Session s(c.running);
    QVERIFY(s.app);
    if (c.withStarter) {
      const std::string starter = s.folder.dir().Write("TALMO", "#!/bin/sh\n");
      std::filesystem::permissions(starter, std::filesystem::perms::owner_all);
    }
    QStringList started;
    s.app->startProgram = [&started](const std::string& path) {
      started << QString::fromStdString(path);
      return true;
    };
    QFile ini(QString::fromStdString(s.folder.Path("Varo16.ini")));
    ini.remove();  // only a save brings it back
    test::WhenModal([&c](QWidget* w) {
      QTest::mouseClick(w->findChild<QRadioButton*>(c.choose), Qt::LeftButton);
      test::Press(w, QStringLiteral("1"));
    });
    s.Frame()->RouteCommand(shell::ID_LANGUAGE);

    QCOMPARE(s.Frame()->isVisible(), c.written.isEmpty());
    if (c.written.isEmpty()) {
      QVERIFY(started.isEmpty() && !ini.exists());
      continue;
    }
    QCOMPARE(started, QStringList{c.withStarter ? QString::fromStdString(s.folder.Path("TALMO"))
                                                : QCoreApplication::applicationFilePath()});
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains(("Language=" + c.written).toUtf8()));
  }
}

// The control bar's close button and the View command hide and show it; the
// tree's Channel Information brings back the hidden document window.
void TestVaro16::controlBarAndTree() {
  Session s;
  QVERIFY(s.app);
  shell::CControlBar* bar = s.Frame()->ControlBar();
  QAction* toggle = s.Frame()->Action(shell::ID_VIEW_CONTROL_BAR);
  QVERIFY(bar->isVisible() && toggle->isChecked());
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->CloseButtonRect().center());
  QVERIFY(!bar->isVisible() && !toggle->isChecked());
  toggle->trigger();
  QVERIFY(bar->isVisible() && toggle->isChecked());

  shell::CChildFrame* child = s.Child();
  s.Type(1, 1, QStringLiteral("150"));
  child->close();  // hides, the document stays
  QVERIFY(!child->isVisible());
  QTreeWidget* tree = bar->Tree();
  QTreeWidgetItem* item = tree->topLevelItem(0)->child(1);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  QVERIFY(child->isVisible() && s.Child() == child);
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));
  QCOMPARE(tree->currentItem(), tree->topLevelItem(0));  // root selected again
  child->close();
  s.Frame()->RouteCommand(shell::ID_CHANNEL_INFO);
  QVERIFY(child->isVisible());

  // The keyboard: the arrows move the current item and choose nothing, not
  // even the item the mouse pointer rests on, and the selection stays on the
  // root for the next click; Return and Space choose the current item's page.
  QTreeWidgetItem* root = tree->topLevelItem(0);
  child->close();
  QTest::mouseMove(tree->viewport(), tree->visualItemRect(item).center());
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Down);
  QCOMPARE(tree->currentItem(), root->child(0));
  QVERIFY(!child->isVisible());
  QTest::keyClick(tree, Qt::Key_Down);
  QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{root});
  QTest::keyClick(tree, Qt::Key_Return);
  QVERIFY(child->isVisible());
  QString opened;
  test::WhenModal([&opened](QWidget* w) {
    opened = w->objectName();
    test::Press(w, QStringLiteral("2"));  // Cancel
  });
  QTest::keyClick(tree, Qt::Key_Down);
  QTest::keyClick(tree, Qt::Key_Space);
  QCOMPARE(opened, QStringLiteral("COptionalFeaturesDlg"));
}

// Where the ghost line shows while dragging, and the width on release, on
// both sides of each limit: the ghost stops at 80, a width of 10 or less
// becomes 11, and neither goes past half the frame's client width.
void TestVaro16::splitterWidthRules() {
  Session s;
  QVERIFY(s.app);
  shell::CControlBar* bar = s.Frame()->ControlBar();
  const int half = s.Frame()->centralWidget()->width() / 2;
  const int y = bar->SplitterStrip().center().y();
  // Release x, ghost x, width.
  const std::tuple<int, int, int> drags[] = {
      {50, 80, 50},     {5, 80, 11},          {10, 80, 11},    {11, 80, 11},
      {12, 80, 12},     {79, 80, 79},         {80, 80, 80},    {81, 81, 81},
      {300, 300, 300},  {half, half, half},   {half + 1, half, half},
      {5000, half, half}};
  for (const auto& [releaseX, ghostX, width] : drags) {
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->SplitterStrip().center().x(), y));
    QTest::mouseMove(bar, QPoint(releaseX, y));
    QCOMPARE(bar->GhostX(), ghostX);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(releaseX, y));
    QCOMPARE(bar->GhostX(), -1);
    QCOMPARE(bar->width(), width);
  }
}

void TestVaro16::backgroundTiles() {
  // Tiles cover the area to its right and bottom edges.
  const auto positions = shell::BackgroundArea::TilePositions(QSize(239, 158), QSize(238, 157));
  QCOMPARE(positions, (std::vector<QPoint>{{0, 0}, {0, 157}, {238, 0}, {238, 157}}));
  // The delivered picture, else the built-in one.
  test::Varo16Folder folder;
  shell::BackgroundArea delivered(folder.dir().path().string());
  const QImage fromFile = delivered.LoadTile().toImage().convertToFormat(QImage::Format_RGB32);
  folder.Remove("background.bmp");
  const QImage builtIn = delivered.LoadTile().toImage().convertToFormat(QImage::Format_RGB32);
  QVERIFY(!fromFile.isNull() && !builtIn.isNull() && builtIn != fromFile);
}

QTEST_MAIN(TestVaro16)
#include "TestVaro16.moc"
