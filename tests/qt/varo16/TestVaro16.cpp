#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <pty.h>
#include <unistd.h>

#include <filesystem>

#include "Varo16Fixture.h"
#include "model16/ChannelTable.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "platform/Registry.h"
#include "shell/BackgroundArea.h"
#include "shell/CChildFrame.h"
#include "shell/CComSetupDlg.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"
#include "shell/ShellText.h"

using namespace varo;
using model16::ui::CVaro_16View;

namespace {

// A started program with handles on what the tests drive.
struct Session {
  explicit Session(const std::string& language = "English", const QStringList& args = {})
      : folder(language) {
    app = folder.Start(args);
    if (app) Activate();
  }
  void Activate() const {
    Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Frame()));
  }
  shell::CMainFrame* Frame() const { return app->MainFrame(); }
  shell::CChildFrame* Child() const { return Frame()->ActiveChild(); }
  CVaro_16View* View() const { return static_cast<CVaro_16View*>(&Child()->View()); }
  shell::CMSFlexGrid* Grid() const { return &View()->Grid(); }
  QStringList Row(long row) const {
    QStringList texts;
    for (long col = 1; col < model16::kTableCols; ++col)
      texts << QString::fromStdString(Grid()->TextMatrix(row, col));
    return texts;
  }
  // Clicks cell (row, col): the cell becomes current and its editor opens.
  void Click(long row, long col) const {
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                      Grid()->CellRect(row, col).center());
  }
  QWidget* Editor(long col) const { return View()->EditorQWidget(col); }

  test::Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
};

// What a message box said, captured while it is answered.
struct Seen {
  QString text;
  QString caption;
};

void AnswerMessage(Seen* seen, const QString& button = QStringLiteral("OK")) {
  test::WhenModal([seen, button](QWidget* w) {
    seen->text = test::MessageText(w);
    seen->caption = w->windowTitle();
    test::Press(w, button);
  });
}

QStringList MenuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  return titles;
}

}  // namespace

class TestVaro16 : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void startUp_data();
  void startUp();
  void startUpWithoutModuleEnds();
  void startUpOpensCommandLineFile();
  void typingIntoCells_data();
  void typingIntoCells();
  void enterWrapsAtTheLastCell();
  void dropDownListsFollowTheLanguage();
  void gbkModuleAndIniLoad();
  void textDecoding_data();
  void textDecoding();
  void escapeClosesTheEditor();
  void scrollingDropsTypedText();
  void helpOpensTheTopicOfTheFocus();
  void saveAndOpenRoundTrip();
  void shortFileChangesNothing();
  void fileNewAsksFirst();
  void comSetupProbesAndStores();
  void languageChangeRestarts_data();
  void languageChangeRestarts();
  void controlBarHidesAndShows();
  void splitterWidthRules_data();
  void splitterWidthRules();
  void treeShowsChannelInformation();
  void backgroundTiles_data();
  void backgroundTiles();
  void screenshots();
};

void TestVaro16::startUp_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("fileMenu");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("about");
  QTest::addColumn<QString>("tree");
  QTest::addColumn<QString>("header");
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QString>("portPane");
  QTest::newRow("English") << "English"
                           << "&File"
                           << "Varo16 Programmer  [ Type:V16-V  Fre:136 - 174MHz ]"
                           << "About Varo16"
                           << "Channel Information"
                           << "Rx Frequency" << false << "COM1: simulated radio";
  QTest::newRow("Chinese") << "Chinese"
                           << "文件(&F)"
                           << "Varo16 写频软件  [ 类型:V16-V  频率:136 - 174MHz ]"
                           << "关于 Varo16"
                           << "信道信息"
                           << "接收频率" << true << "COM1：模拟电台";
  // Lower case: the module and the INI section are found whatever the
  // letter case, but the program's own texts stay English.
  QTest::newRow("chinese") << "chinese"
                           << "文件(&F)"
                           << "Varo16 写频软件  [ Type:V16-V  Fre:136 - 174MHz ]"
                           << "关于 Varo16"
                           << "Channel Information"
                           << "Rx Frequency" << false << "COM1：模拟电台";
}

void TestVaro16::startUp() {
  QFETCH(QString, language);
  QFETCH(QString, fileMenu);
  QFETCH(QString, caption);
  QFETCH(QString, about);
  QFETCH(QString, tree);
  QFETCH(QString, header);
  QFETCH(bool, chinese);
  QFETCH(QString, portPane);
  // COM1 redirected, as the start script does for the simulated radio.
  setenv("VARO_PORT_COM1", "/dev/null", 1);
  Session s(language.toStdString());
  unsetenv("VARO_PORT_COM1");
  QVERIFY(s.app);
  QCOMPARE(s.app->Chinese(), chinese);
  QCOMPARE(s.app->HelpFolder(), std::string(s.app->Chinese() ? "chHelp" : "enHelp"));
  shell::CMainFrame* frame = s.Frame();
  QVERIFY(frame->isMaximized());
  QCOMPARE(frame->windowTitle(), caption);

  // The document menu, its Help popup sixth, the About item from the INI.
  QCOMPARE(frame->ShownMenu(), 129);
  const QStringList menus = MenuTitles(frame->menuBar());
  QCOMPARE(menus.size(), 6);
  QCOMPARE(menus.first(), fileMenu);
  QCOMPARE(frame->Popup(129, 5)->actions().first()->text(), about);

  QTreeWidget* navigation = frame->ControlBar()->Tree();
  QCOMPARE(navigation->topLevelItem(0)->childCount(), 3);
  QCOMPARE(navigation->topLevelItem(0)->child(1)->text(0), tree);
  QCOMPARE(QString::fromStdString(s.Grid()->TextMatrix(0, 1)), header);
  QCOMPARE(QString::fromStdString(s.Grid()->TextMatrix(16, 0)), QStringLiteral("16"));

  // Every item of the document menu has someone to carry it out; Print to
  // PDF follows Print Preview.
  for (int popup = 0; popup < 6; ++popup)
    for (QAction* item : frame->Popup(129, popup)->actions())
      QVERIFY2(item->isSeparator() || item->isEnabled(), qPrintable(item->text()));
  const QList<QAction*> file = frame->Popup(129, 0)->actions();
  QCOMPARE(file.at(file.indexOf(frame->Action(shell::ID_FILE_PRINT_PREVIEW)) + 1),
           frame->Action(shell::ID_FILE_PRINT_PDF));
  QCOMPARE(frame->PortPane()->text(), portPane);
  QVERIFY(!frame->PortPane()->isHidden());
}

void TestVaro16::startUpWithoutModuleEnds() {
  struct Case {
    const char* language;
    const char* removed;
    const char* message;
  };
  const Case cases[] = {
      {"", "", "Load language DLL fail"},  // asks for "16.lng"
      {"Chinese", "Chinese16.lng", "加载语言链接库失败"},
      {"French", "", "Load language DLL fail"},
  };
  for (const Case& c : cases) {
    test::Varo16Folder folder(c.language);
    if (*c.removed) folder.Remove(c.removed);
    Seen seen;
    AnswerMessage(&seen);
    QVERIFY(folder.Start() == nullptr);
    QCOMPARE(seen.text, QString::fromUtf8(c.message));
  }
}

void TestVaro16::startUpOpensCommandLineFile() {
  test::Varo16Folder folder;
  std::string image(1024, '\xFF');
  image.replace(0x10, 8, std::string("\x25\x06\x60\x44\x25\x06\x60\x44", 8));
  const std::string path = folder.dir().Write("radio.dat", image);
  auto app = folder.Start({QString::fromStdString(path)});
  QVERIFY(app);
  auto* view = static_cast<CVaro_16View*>(&app->MainFrame()->ActiveChild()->View());
  QCOMPARE(view->Grid().TextMatrix(1, 1), std::string("446.00625"));
  QVERIFY(!app->NewDocumentFlag());
  QCOMPARE(app->MainFrame()->ActiveChild()->windowTitle(), QStringLiteral("radio.dat"));
}

void TestVaro16::typingIntoCells_data() {
  QTest::addColumn<QString>("rx");        // typed into column 1 first ("" = nothing)
  QTest::addColumn<int>("col");           // then this column gets `text`
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("enter");        // Enter, else the cell is left by a click
  QTest::addColumn<int>("message");       // string id of the message, 0 = none
  QTest::addColumn<QStringList>("row");   // columns 1-8 afterwards

  const QStringList empty(8, QString());
  const auto programmed = [](const char* rx, const char* tx) {
    return QStringList{rx, tx, "None", "None", "High", "No", "Off", "Wide"};
  };
  QTest::newRow("new channel on 6.25 kHz")
      << "" << 1 << "145.0125" << true << 0 << programmed("145.01250", "145.01250");
  QTest::newRow("new channel on 5 kHz, left by click")
      << "" << 1 << "145.005" << false << 0 << programmed("145.00500", "145.00500");
  QTest::newRow("lower band edge") << "" << 1 << "136" << true << 0
                                   << programmed("136.00000", "136.00000");
  QTest::newRow("upper band edge") << "" << 1 << "174" << true << 0
                                   << programmed("174.00000", "174.00000");
  QTest::newRow("off raster") << "" << 1 << "145.0130" << true << 61456 << empty;
  QTest::newRow("out of band") << "" << 1 << "100" << true << 61448 << empty;
  QTest::newRow("no number") << "" << 1 << "abc" << false << 61448 << empty;
  QTest::newRow("emptying rx deletes the channel")
      << "145.0125" << 1 << "" << true << 0 << empty;
  QTest::newRow("emptying tx restores rx")
      << "145.0125" << 2 << "" << true << 0 << programmed("145.01250", "145.01250");
  QTest::newRow("tx off raster with Enter clears tx")
      << "145.0125" << 2 << "150.0130" << true << 61456 << programmed("145.01250", "");
  QTest::newRow("tx off raster when left clears the row")
      << "145.0125" << 2 << "150.0130" << false << 61456 << empty;
  QTest::newRow("tx out of band clears tx")
      << "145.0125" << 2 << "480" << false << 61448 << programmed("145.01250", "");
  QTest::newRow("setting on an empty row is dropped")
      << "" << 5 << "L" << true << 0 << empty;
  QTest::newRow("power chosen") << "145.0125" << 5 << "L" << true << 0
                                << QStringList{"145.01250", "145.01250", "None", "None", "Low",
                                               "No", "Off", "Wide"};
}

void TestVaro16::typingIntoCells() {
  QFETCH(QString, rx);
  QFETCH(int, col);
  QFETCH(QString, text);
  QFETCH(bool, enter);
  QFETCH(int, message);
  QFETCH(QStringList, row);
  Session s;
  QVERIFY(s.app);
  const long r = 3;

  if (!rx.isEmpty()) {
    s.Click(r, 1);
    QTest::keyClicks(s.Editor(1), rx);
    QTest::keyClick(s.Editor(1), Qt::Key_Return);
  }
  s.Click(r, col);
  QWidget* editor = s.Editor(col);
  QVERIFY(editor->isVisible());
  QVERIFY(editor->hasFocus());
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    QVERIFY(edit->selectedText() == edit->text());  // typing replaces the cell
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
  }
  if (!text.isEmpty()) QTest::keyClicks(editor, text);

  Seen seen;
  if (message) AnswerMessage(&seen);
  if (enter) {
    QTest::keyClick(editor, Qt::Key_Return);
  } else {
    s.Click(r + 1, col);
  }
  QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
  if (message) {
    QCOMPARE(seen.text, s.app->Str(message));
    QCOMPARE(seen.caption, QStringLiteral("Caution"));
  }
  QCOMPARE(s.Row(r), row);
  QVERIFY(!editor->isVisible() || s.Grid()->Col() != col || s.Grid()->Row() != r);

  // Enter moves to the next cell and opens its editor, unless a message
  // stopped it.
  if (enter) {
    const long nextCol = message ? col : col + 1;
    QCOMPARE(s.Grid()->Row(), r);
    QCOMPARE(s.Grid()->Col(), nextCol);
    QCOMPARE(s.Editor(nextCol)->isVisible(), message == 0);
  }
}

void TestVaro16::enterWrapsAtTheLastCell() {
  Session s;
  QVERIFY(s.app);
  const struct {
    long row, col, nextRow, nextCol;
  } cases[] = {{16, 8, 1, 1}, {5, 8, 6, 1}, {2, 3, 2, 4}};
  for (const auto& c : cases) {
    s.Click(c.row, c.col);
    QTest::keyClick(s.Editor(c.col), Qt::Key_Return);
    QCOMPARE(s.Grid()->Row(), c.nextRow);
    QCOMPARE(s.Grid()->Col(), c.nextCol);
    QVERIFY(s.Editor(c.nextCol)->isVisible());
  }
  // Keyboard alone: Enter on the table itself moves on as well.
  s.View()->Editor().Scroll();  // no editor open
  s.Grid()->setFocus();
  QTest::keyClick(s.Grid(), Qt::Key_Return);
  QCOMPARE(s.Grid()->Col(), 5);
  QVERIFY(s.Editor(5)->isVisible());
}

void TestVaro16::dropDownListsFollowTheLanguage() {
  const struct {
    const char* language;
    int col;
    QStringList entries;
  } cases[] = {
      {"English", 7, {"Off", "Carrier", "QT/DQT"}},
      {"Chinese", 7, {"关", "Carrier", "QT/DQT"}},
      {"Chinese", 8, {"宽", "窄"}},
      {"English", 6, {"Yes", "No"}},
  };
  for (const auto& c : cases) {
    Session s(c.language);
    QVERIFY(s.app);
    auto* combo = qobject_cast<QComboBox*>(s.Editor(c.col));
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
    QCOMPARE(entries, c.entries);
  }
  Session s;
  auto* tones = qobject_cast<QComboBox*>(s.Editor(3));
  QCOMPARE(tones->count(), 265);
  QCOMPARE(tones->itemText(83), QStringLiteral("D165N"));
}

void TestVaro16::gbkModuleAndIniLoad() {
  test::Varo16Folder folder("Chinese");
  QStringEncoder toGbk("GBK");
  for (const char* name : {"Chinese16.lng", "Varo16.ini"}) {
    QFile f(QString::fromStdString(folder.Path(name)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray gbk = toGbk.encode(QString::fromUtf8(f.readAll()));
    f.close();
    QVERIFY(!toGbk.hasError());
    folder.dir().Write(name, gbk.toStdString());
  }
  auto app = folder.Start();
  QVERIFY(app);
  QCOMPARE(app->MainFrame()->menuBar()->actions().first()->text(), QStringLiteral("文件(&F)"));
  QCOMPARE(app->MainFrame()->ControlBar()->Caption(), QStringLiteral("Varo 无线电"));
  QCOMPARE(app->AppName(), QStringLiteral("Varo 无线电"));
  // The title joins GBK values with the program's own UTF-8 words.
  QCOMPARE(app->MainFrame()->windowTitle(),
           QStringLiteral("Varo16 写频软件  [ 类型:V16-V  频率:136 - 174MHz ]"));
}

void TestVaro16::textDecoding_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  const QByteArray gbkRadio("\xCE\xDE\xCF\xDF\xB5\xE7");  // 无线电
  QTest::newRow("ascii") << QByteArray("CH 1") << QStringLiteral("CH 1");
  QTest::newRow("utf-8") << QStringLiteral("信道信息").toUtf8() << QStringLiteral("信道信息");
  QTest::newRow("gbk") << QByteArray("\xD0\xC5\xB5\xC0") << QStringLiteral("信道");
  QTest::newRow("gbk ini value joined with utf-8 words")
      << QByteArray("Varo ") + gbkRadio + QStringLiteral("  [ 类型:V16").toUtf8()
      << QStringLiteral("Varo 无线电  [ 类型:V16");
  QTest::newRow("gbk character ending in an ascii byte")
      << QByteArray("\x81\x40") + QStringLiteral("类").toUtf8() << QStringLiteral("丂类");
}

void TestVaro16::textDecoding() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(shell::FromBytes(bytes.toStdString()), text);
}

void TestVaro16::escapeClosesTheEditor() {
  Session s;
  QVERIFY(s.app);
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_Escape);
  QVERIFY(!s.Editor(1)->isVisible());
  QVERIFY(s.Grid()->hasFocus());
  QTest::keyClick(s.Grid(), Qt::Key_Down);  // arrows move the cell again
  QCOMPARE(s.Grid()->Row(), 2);
  QCOMPARE(s.Row(1).first(), QString());

  // F6 takes the keyboard between the navigation tree and the table.
  QTreeWidget* tree = s.Frame()->ControlBar()->Tree();
  QTest::keyClick(s.Grid(), Qt::Key_F6);
  QVERIFY(tree->hasFocus());
  QTest::keyClick(tree, Qt::Key_F6, Qt::ShiftModifier);
  QVERIFY(s.Grid()->hasFocus());
}

void TestVaro16::scrollingDropsTypedText() {
  Session s;
  QVERIFY(s.app);
  s.Child()->resize(400, 200);  // small enough to scroll
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("145.0125"));
  s.Grid()->verticalScrollBar()->setValue(s.Grid()->verticalScrollBar()->maximum());
  QVERIFY(!s.Editor(1)->isVisible());
  s.Grid()->SetRow(2);  // leaving the cell commits nothing
  QCOMPARE(s.Row(1), QStringList(8, QString()));
}

void TestVaro16::helpOpensTheTopicOfTheFocus() {
  Session s;
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");

  // Outside the table and the menus: the start page.
  QTreeWidget* tree = s.Frame()->ControlBar()->Tree();
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_F1);
  QVERIFY(s.app->Help());
  QVERIFY(s.app->Help()->CurrentPage().endsWith(QStringLiteral("/index.html")));
  s.Activate();

  s.Grid()->setFocus();
  QTest::keyClick(s.Grid(), Qt::Key_F1);
  QVERIFY(s.app->Help()->CurrentPage().endsWith(QStringLiteral("/1000.html")));

  s.Click(1, 4);
  QTest::keyClick(s.Editor(4), Qt::Key_F1);
  QVERIFY(s.app->Help()->CurrentPage().endsWith(QStringLiteral("/2133.html")));

  // F1 on a highlighted menu item opens the topic of its command.
  QMenu* setup = s.Frame()->Popup(129, 4);
  setup->popup(QPoint(0, 0));
  QTRY_VERIFY(setup->isVisible());
  setup->setActiveAction(setup->actions().at(0));
  QTest::keyClick(setup, Qt::Key_F1);
  QVERIFY(s.app->Help()->CurrentPage().endsWith(QStringLiteral("/32777.html")));
  setup->close();

  // Without a page or folder nothing shows.
  s.app->Help()->close();
  s.folder.Remove("enHelp");
  s.app->ShowHelp(1000);
  QVERIFY(!s.app->Help()->isVisible());
}

void TestVaro16::saveAndOpenRoundTrip() {
  Session s;
  QVERIFY(s.app);
  s.Click(2, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("145.0125"));
  QTest::keyClick(s.Editor(1), Qt::Key_Return);

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
  QFile saved(path + QStringLiteral(".dat"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  QCOMPARE(bytes.size(), 1024);
  QCOMPARE(bytes.mid(0x20, 4), QByteArray("\x50\x12\x50\x14", 4));  // channel 2 Rx, BCD
  QCOMPARE(static_cast<unsigned char>(bytes[0x17E]), 0x00);
  QCOMPARE(s.Child()->windowTitle(), QStringLiteral("channels.dat"));

  // Saved again: no dialog, same file; the cell still being edited goes in.
  s.Activate();  // the offscreen platform hands nothing back after a dialog
  s.Click(4, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_S, Qt::ControlModifier);
  saved.close();  // the save replaced the file
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll().mid(0x40, 4), QByteArray("\x00\x00\x00\x15", 4));
  QCOMPARE(s.Row(4).first(), QStringLiteral("150.00000"));

  // Opened: a new window shows the channel, the old one hides.
  shell::CChildFrame* first = s.Child();
  test::WhenModal([&](QWidget* w) { test::AcceptFileDialog(w, path + QStringLiteral(".dat")); });
  QVERIFY(s.Frame()->RouteCommand(shell::ID_FILE_OPEN));
  QVERIFY(s.Child() != first);
  QVERIFY(!first->isVisible());
  QVERIFY(s.Child()->isVisible());
  QCOMPARE(s.Row(2).first(), QStringLiteral("145.01250"));
  QVERIFY(!s.app->NewDocumentFlag());
}

void TestVaro16::shortFileChangesNothing() {
  Session s;
  QVERIFY(s.app);
  const std::string shortFile = s.folder.dir().Write("short.dat", std::string(1023, '\0'));
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_Return);
  shell::CChildFrame* before = s.Child();

  Seen seen;
  AnswerMessage(&seen);
  QVERIFY(!s.app->OpenDocumentFile(QString::fromStdString(shortFile)));
  QVERIFY(seen.text.contains(QStringLiteral("too short")));
  QCOMPARE(seen.caption, QStringLiteral("Varo Radio"));
  QCOMPARE(s.Child(), before);
  QVERIFY(before->isVisible());
  QCOMPARE(s.Frame()->Children().size(), std::size_t{1});
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));
}

void TestVaro16::fileNewAsksFirst() {
  Session s;
  QVERIFY(s.app);
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_Return);
  shell::CChildFrame* before = s.Child();

  Seen seen;
  AnswerMessage(&seen, QStringLiteral("Cancel"));
  s.Frame()->RouteCommand(shell::ID_FILE_NEW);
  QCOMPARE(seen.text, QStringLiteral("All data will be Cleared!"));
  QCOMPARE(seen.caption, QStringLiteral("Varo Radio"));
  QCOMPARE(s.Child(), before);
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));

  AnswerMessage(&seen, QStringLiteral("OK"));
  s.Frame()->RouteCommand(shell::ID_FILE_NEW);
  QVERIFY(s.Child() != nullptr);
  QCOMPARE(s.Frame()->Children().size(), std::size_t{1});
  QCOMPARE(s.Row(1).first(), QString());
  QCOMPARE(s.Child()->windowTitle(), QStringLiteral("Channel Information"));
}

void TestVaro16::comSetupProbesAndStores() {
  // COM1 and COM3 are real terminals; COM2 and COM4 name nothing.
  int master[2];
  int slave[2];
  char names[2][64];
  for (int i = 0; i < 2; ++i) QVERIFY(openpty(&master[i], &slave[i], names[i], nullptr, nullptr) == 0);
  for (int i = 0; i < 2; ++i) ::close(slave[i]);
  const std::string missing = "/nonexistent/tty";
  setenv("VARO_PORT_COM1", names[0], 1);
  setenv("VARO_PORT_COM2", missing.c_str(), 1);
  setenv("VARO_PORT_COM3", names[1], 1);
  setenv("VARO_PORT_COM4", missing.c_str(), 1);

  Session s;
  QVERIFY(s.app);
  QCOMPARE(s.View()->PortName(), QStringLiteral("COM1"));
  const Registry registry("Software\\Varo16");

  // Every port is redirected, to a terminal or not: each is named as such.
  QCOMPARE(s.Frame()->PortPane()->text(), QStringLiteral("COM1: simulated radio"));
  QString redirected;
  // First opening: nothing stored, COM1 selected; choose COM3.
  test::WhenModal([&redirected](QWidget* w) {
    redirected = qobject_cast<shell::CComSetupDlg*>(w)->OverrideLine()->text();
    auto* com2 = w->findChild<QRadioButton*>(QStringLiteral("1008"));
    auto* com3 = w->findChild<QRadioButton*>(QStringLiteral("1009"));
    QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("1007"))->isChecked());
    QVERIFY(w->findChild<QRadioButton*>(QStringLiteral("1007"))->isEnabled());
    QVERIFY(!com2->isEnabled());
    QVERIFY(com3->isEnabled());
    QVERIFY(!w->findChild<QRadioButton*>(QStringLiteral("1010"))->isEnabled());
    QTest::mouseClick(com3, Qt::LeftButton);
    test::Press(w, QStringLiteral("OK"));
  });
  s.Frame()->RouteCommand(shell::ID_COM_SETUP);
  QCOMPARE(s.View()->PortName(), QStringLiteral("com3"));
  QCOMPARE(registry.QueryDword("com").value_or(0), 3u);
  QCOMPARE(redirected, QStringLiteral("COM1: simulated radio, COM2: simulated radio, "
                                      "COM3: simulated radio, COM4: simulated radio"));
  QCOMPARE(s.Frame()->PortPane()->text(), QStringLiteral("COM3: simulated radio"));
  QCOMPARE(s.Frame()->PortPane()->toolTip(), QStringLiteral("VARO_PORT_COM3=") + names[1]);

  // A stored port that cannot be opened now is shown selected, though disabled;
  // Cancel changes nothing.
  Registry("Software\\Varo16").SetDword("com", 2);
  bool shownDisabled = false;
  test::WhenModal([&](QWidget* w) {
    auto* com2 = w->findChild<QRadioButton*>(QStringLiteral("1008"));
    shownDisabled = com2->isChecked() && !com2->isEnabled();
    test::Press(w, QStringLiteral("Cancel"));
  });
  s.Frame()->RouteCommand(shell::ID_COM_SETUP);
  QVERIFY(shownDisabled);
  QCOMPARE(s.View()->PortName(), QStringLiteral("com3"));
  QCOMPARE(registry.QueryDword("com").value_or(0), 2u);

  // A stored number outside 1-4 selects nothing; OK then stores 0 and the
  // port becomes "com0".
  Registry("Software\\Varo16").SetDword("com", 7);
  int checked = 0;
  test::WhenModal([&](QWidget* w) {
    for (QRadioButton* b : w->findChildren<QRadioButton*>()) checked += b->isChecked();
    test::Press(w, QStringLiteral("OK"));
  });
  s.Frame()->RouteCommand(shell::ID_COM_SETUP);
  QCOMPARE(checked, 0);
  QCOMPARE(s.View()->PortName(), QStringLiteral("com0"));
  QCOMPARE(registry.QueryDword("com").value_or(99), 0u);
  QVERIFY(s.Frame()->PortPane()->isHidden());

  for (const char* name : {"VARO_PORT_COM1", "VARO_PORT_COM2", "VARO_PORT_COM3", "VARO_PORT_COM4"})
    unsetenv(name);
  for (int fd : master) ::close(fd);
}

void TestVaro16::languageChangeRestarts_data() {
  QTest::addColumn<QString>("running");
  QTest::addColumn<QString>("choose");      // object name of the radio button
  QTest::addColumn<bool>("withStarter");    // a "TALMO" program in the folder
  QTest::addColumn<QString>("written");     // "" = INI untouched, no restart
  QTest::newRow("to Chinese, own restart") << "English" << "1007" << false << "Chinese";
  QTest::newRow("to English, through TALMO") << "Chinese" << "1006" << true << "English";
  QTest::newRow("same language") << "English" << "1006" << true << "";
}

void TestVaro16::languageChangeRestarts() {
  QFETCH(QString, running);
  QFETCH(QString, choose);
  QFETCH(bool, withStarter);
  QFETCH(QString, written);
  Session s(running.toStdString());
  QVERIFY(s.app);
  if (withStarter) {
    const std::string starter = s.folder.dir().Write("TALMO", "#!/bin/sh\n");
    std::filesystem::permissions(starter, std::filesystem::perms::owner_all);
  }
  std::vector<std::string> started;
  s.app->startProgram = [&started](const std::string& path) {
    started.push_back(path);
    return true;
  };
  QFile::remove(QString::fromStdString(s.folder.Path("Varo16.ini")));  // only a save brings it back

  test::WhenModal([choose](QWidget* w) {
    QTest::mouseClick(w->findChild<QRadioButton*>(choose), Qt::LeftButton);
    test::Press(w, QStringLiteral("1"));
  });
  s.Frame()->RouteCommand(shell::ID_LANGUAGE);

  if (written.isEmpty()) {
    QVERIFY(started.empty());
    QVERIFY(s.Frame()->isVisible());
    QVERIFY(!QFile::exists(QString::fromStdString(s.folder.Path("Varo16.ini"))));
    return;
  }
  QVERIFY(!s.Frame()->isVisible());
  QCOMPARE(started.size(), std::size_t{1});
  if (withStarter) {
    QCOMPARE(started[0], s.folder.Path("TALMO"));
  } else {
    QCOMPARE(QString::fromStdString(started[0]), QCoreApplication::applicationFilePath());
  }
  QFile ini(QString::fromStdString(s.folder.Path("Varo16.ini")));
  QVERIFY(ini.open(QIODevice::ReadOnly));
  QVERIFY(ini.readAll().contains(("Language=" + written).toUtf8()));
}

void TestVaro16::controlBarHidesAndShows() {
  Session s;
  QVERIFY(s.app);
  shell::CControlBar* bar = s.Frame()->ControlBar();
  QAction* toggle = s.Frame()->Action(shell::ID_VIEW_CONTROL_BAR);
  QVERIFY(bar->isVisible());
  QVERIFY(toggle->isChecked());

  const QPoint close = bar->CloseButtonRect().center();
  QTest::mouseClick(bar, Qt::LeftButton, {}, close);
  QVERIFY(!bar->isVisible());
  QVERIFY(!toggle->isChecked());

  toggle->trigger();
  QVERIFY(bar->isVisible());
  QVERIFY(toggle->isChecked());
  toggle->trigger();
  QVERIFY(!bar->isVisible());
}

void TestVaro16::splitterWidthRules_data() {
  QTest::addColumn<int>("releaseX");
  QTest::addColumn<int>("ghostX");
  QTest::addColumn<int>("width");  // -1: half the frame's client width
  QTest::newRow("narrow") << 50 << 80 << 50;
  QTest::newRow("almost closed") << 5 << 80 << 11;
  QTest::newRow("wider") << 300 << 300 << 300;
  QTest::newRow("beyond half") << 5000 << -1 << -1;
}

void TestVaro16::splitterWidthRules() {
  QFETCH(int, releaseX);
  QFETCH(int, ghostX);
  QFETCH(int, width);
  Session s;
  QVERIFY(s.app);
  shell::CControlBar* bar = s.Frame()->ControlBar();
  const int half = s.Frame()->centralWidget()->width() / 2;
  const QPoint strip = bar->SplitterStrip().center();
  QTest::mousePress(bar, Qt::LeftButton, {}, strip);
  QVERIFY(bar->IsResizing());
  QTest::mouseMove(bar, QPoint(releaseX, strip.y()));
  QCOMPARE(bar->GhostX(), ghostX < 0 ? half : ghostX);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(releaseX, strip.y()));
  QCOMPARE(bar->GhostX(), -1);
  QCOMPARE(bar->width(), width < 0 ? half : width);
  QVERIFY(bar->isVisible());
}

void TestVaro16::treeShowsChannelInformation() {
  Session s;
  QVERIFY(s.app);
  shell::CChildFrame* child = s.Child();
  s.Click(1, 1);
  QTest::keyClicks(s.Editor(1), QStringLiteral("150"));
  QTest::keyClick(s.Editor(1), Qt::Key_Return);
  child->close();  // hides, the document stays
  QVERIFY(!child->isVisible());

  QTreeWidget* tree = s.Frame()->ControlBar()->Tree();
  QTreeWidgetItem* item = tree->topLevelItem(0)->child(1);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  QVERIFY(child->isVisible());
  QCOMPARE(s.Child(), child);
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));
  QCOMPARE(tree->currentItem(), tree->topLevelItem(0));  // root selected again

  // The same page twice in a row, through the menu this time.
  child->close();
  s.Frame()->RouteCommand(shell::ID_CHANNEL_INFO);
  QVERIFY(child->isVisible());
}

void TestVaro16::backgroundTiles_data() {
  QTest::addColumn<QSize>("area");
  QTest::addColumn<int>("columns");
  QTest::addColumn<int>("rows");
  QTest::newRow("exactly two tiles wide") << QSize(476, 100) << 3 << 1;
  QTest::newRow("smaller than a tile") << QSize(100, 100) << 1 << 1;
  QTest::newRow("one and a bit") << QSize(239, 158) << 2 << 2;
}

void TestVaro16::backgroundTiles() {
  QFETCH(QSize, area);
  QFETCH(int, columns);
  QFETCH(int, rows);
  const QSize tile(238, 157);
  const auto positions = shell::BackgroundArea::TilePositions(area, tile);
  QCOMPARE(static_cast<int>(positions.size()), columns * rows);
  QCOMPARE(positions.back(), QPoint((columns - 1) * 238, (rows - 1) * 157));

  // The delivered picture, else the built-in one.
  test::Varo16Folder folder;
  shell::BackgroundArea delivered(folder.dir().path().string());
  const QImage fromFile = delivered.LoadTile().toImage();
  QCOMPARE(fromFile.size(), tile);
  folder.Remove("background.bmp");
  const QImage builtIn = delivered.LoadTile().toImage();
  QCOMPARE(builtIn.size(), tile);
  QVERIFY(builtIn.convertToFormat(QImage::Format_RGB32) !=
          fromFile.convertToFormat(QImage::Format_RGB32));
}

void TestVaro16::screenshots() {
  // Pictures for the documentation, taken when VARO_SCREENSHOT_DIR is set.
  if (qEnvironmentVariableIsEmpty("VARO_SCREENSHOT_DIR")) QSKIP("VARO_SCREENSHOT_DIR not set");
  for (const char* language : {"English", "Chinese"}) {
    Session s(language);
    QVERIFY(s.app);
    s.Frame()->showNormal();
    s.Frame()->resize(1100, 680);
    const char* channels[][2] = {{"1", "145.0125"}, {"2", "146.5"}, {"3", "150.0125"},
                                 {"5", "162.55"}, {"6", "136.025"}};
    for (const auto& ch : channels) {
      s.Click(QString::fromLatin1(ch[0]).toLong(), 1);
      QTest::keyClicks(s.Editor(1), QString::fromLatin1(ch[1]));
      QTest::keyClick(s.Editor(1), Qt::Key_Return);
    }
    s.Click(2, 3);
    auto* tone = qobject_cast<QComboBox*>(s.Editor(3));
    tone->setCurrentIndex(13);
    QTest::keyClick(tone, Qt::Key_Return);
    s.Click(3, 8);
    QTest::qWait(50);
    const QString lang = QString::fromLatin1(language[0] == 'E' ? "en" : "zh");
    test::MaybeScreenshot(s.Frame(), QStringLiteral("varo16-main-%1.png").arg(lang));
    const struct {
      int command;
      const char* name;
    } dialogs[] = {{shell::ID_APP_ABOUT, "about"},
                   {shell::ID_COM_SETUP, "comsetup"},
                   {shell::ID_LANGUAGE, "language"}};
    for (const auto& d : dialogs) {
      const QString name = QStringLiteral("varo16-%1-%2.png").arg(QString::fromLatin1(d.name), lang);
      test::WhenModal([name](QWidget* w) {
        test::MaybeScreenshot(w, name);
        QMetaObject::invokeMethod(w, "reject");
      });
      s.Frame()->RouteCommand(d.command);
    }
  }
}

QTEST_MAIN(TestVaro16)
#include "TestVaro16.moc"
