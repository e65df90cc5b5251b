// Varo199V3 on the desktop, driven offscreen through its real widgets on the
// shared shell: start-up and its texts, the 200-row table with "Pr" and the
// name editor, files, help pages of its own and the Optional Features dialog.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "Varo199Fixture.h"
#include "ini/Registry.h"
#include "model199/ChannelTable.h"
#include "model199/MemoryImage.h"
#include "model199/ui/COptionalFeaturesDlg.h"
#include "shell/CChildFrame.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"

using namespace varo;
using model199::OptionList;
using model199::ui::COptionalFeaturesDlg;
using test::Session199;

namespace {

// Where the radio keeps what the tests look at, written out on their own.
constexpr std::size_t kFlags = 12;  // of a record; power in bits 5-4
constexpr std::size_t kNames = 0x0C90;
constexpr std::size_t kDisplay = 0x1FE1;  // LED in bits 3-2

// Runs the Optional Features command and `act` on its dialog.
void WithOptionsDialog(const Session199& s, const std::function<void(COptionalFeaturesDlg*)>& act) {
  test::WhenModal([act](QWidget* w) {
    auto* dlg = qobject_cast<COptionalFeaturesDlg*>(w);
    QVERIFY(dlg);
    act(dlg);
  });
  s.Frame()->RouteCommand(shell::ID_OPTIONAL_FEATURES);
}

}  // namespace

class TestVaro199 : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void longNamesSurviveTheEditor();
  void middleSurvivesSaveAndReopen();
  void productInformationOnItsOffsets();
  void helpPagesOfItsOwn();
  void optionsDialog_data();
  void optionsDialog();
  void screenshots();
};

// A name of eight characters from a file (the editor's limit is six) stays
// whole when its cell is entered and left, and goes back into the file as it
// was; typing cannot make it longer, nor a shortened one grow past six.
void TestVaro199::longNamesSurviveTheEditor() {
  test::TempDir dir;
  radio::MemoryImage image = model199::NewImage();
  const std::uint8_t record[13] = {0x50, 0x12, 0x50, 0x14, 0x50, 0x12, 0x50, 0x14,
                                   0xFF, 0xFF, 0xFF, 0xFF, 0xE7};
  std::copy(std::begin(record), std::end(record), &image[16 * 2]);
  const std::uint8_t name[8] = {10, 11, 12, 13, 14, 15, 16, 17};  // "ABCDEFGH"
  std::copy(std::begin(name), std::end(name), &image[kNames + 8 * 2]);
  const QString path = QString::fromStdString(
      dir.Write("names.dat", std::string(image.bytes.begin(), image.bytes.end())));
  Session199 s("English", {path});
  QVERIFY(s.app);
  QCOMPARE(s.Row(3).last(), QStringLiteral("ABCDEFGH"));

  s.Click(3, model199::kColName);
  auto* edit = qobject_cast<QLineEdit*>(s.Editor(model199::kColName));
  QCOMPARE(edit->text(), QStringLiteral("ABCDEFGH"));
  s.Click(4, model199::kColName);  // leaves the cell
  QCOMPARE(s.Row(3).last(), QStringLiteral("ABCDEFGH"));
  QVERIFY(s.Frame()->RouteCommand(shell::ID_FILE_SAVE));
  QFile saved(path);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll().mid(kNames + 16, 8),
           QByteArray(reinterpret_cast<const char*>(name), 8));

  s.Click(3, model199::kColName);
  edit->end(false);
  QTest::keyClicks(edit, QStringLiteral("z"));
  QCOMPARE(edit->text(), QStringLiteral("ABCDEFGH"));
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, QStringLiteral("zz"));
  QCOMPARE(edit->text(), QStringLiteral("ABCDEF"));
  QTest::keyClick(edit, Qt::Key_Return);
  QCOMPARE(s.Row(3).last(), QStringLiteral("ABCDEF"));
}

// "Middle" stores power value 1 (bits 5-4 of the record's flags) and reads
// back as "Middle" from the file.
void TestVaro199::middleSurvivesSaveAndReopen() {
  Session199 s;
  QVERIFY(s.app);
  s.Type(1, model199::kColRx, QStringLiteral("150.0125"));
  s.Click(1, model199::kColPower);
  auto* power = qobject_cast<QComboBox*>(s.Editor(model199::kColPower));
  power->setCurrentIndex(power->findText(QStringLiteral("Middle")));
  QTest::keyClick(power, Qt::Key_Return);
  const QString path = QString::fromStdString(s.folder.Path("middle.dat"));
  test::WhenModal([path](QWidget* w) { test::AcceptFileDialog(w, path); });
  QVERIFY(s.Frame()->RouteCommand(shell::ID_FILE_SAVE));
  QFile saved(path);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE((saved.readAll().at(kFlags) >> 4) & 3, 1);

  s.Activate();
  QVERIFY(s.app->OpenDocumentFile(path));
  QCOMPARE(s.Row(1), (QStringList{"150.01250", "150.01250", "None", "None", "Middle", "Lock", ""}));
}

// Product Information keeps type and band at 0x1FD6 and 0x1FD7 and in the
// program's registry key; the title and the band limits follow.
void TestVaro199::productInformationOnItsOffsets() {
  Session199 s;
  QVERIFY(s.app);
  test::WhenModal([](QWidget* w) {
    w->findChild<QComboBox*>(QStringLiteral("1013"))->setCurrentIndex(1);
    w->findChild<QComboBox*>(QStringLiteral("1014"))->setCurrentIndex(2);
    test::Press(w, QStringLiteral("1"));
  });
  s.Frame()->RouteCommand(shell::ID_PRODUCT_INFO);
  QCOMPARE((std::pair{int(s.Image()[0x1FD6]), int(s.Image()[0x1FD7])}), (std::pair{1, 2}));
  Registry registry("Software\\Varo199V3");
  QCOMPARE((std::pair{registry.QueryDword("Type").value_or(9), registry.QueryDword("Field").value_or(9)}),
           (std::pair{1u, 2u}));
  QCOMPARE(s.Frame()->Title(),
           QStringLiteral("Varo199V3 Programmer  [ Type:V199-U  Fre:450 - 470MHz ]"));
  QCOMPARE(s.View()->Limits(), (radio::BandLimits{45000000, 47000000}));
}

// Every page the program asks for is its own, in both languages: the menu
// commands, the Process dialog, the table and its editors, the Optional
// Features and Product Information controls, COM Setup, Language and the
// start page; F1 opens them. Varo16 still finds the shared pages.
void TestVaro199::helpPagesOfItsOwn() {
  Session199 s;
  QVERIFY(s.app);
  std::set<int> contexts = {shell::IDD_PROCESS, shell::IDC_GRID, shell::IDD_OPTIONAL_FEATURES,
                            shell::IDD_PRODUCT_INFO, 1013, 1014, 1, 2};
  for (int menu : {128, 129})
    for (const auto& popup : s.app->Module().Menu(menu))
      for (const auto& item : popup.items)
        if (item.id) contexts.insert(item.id);
  for (long col = 1; col < model199::kTableCols; ++col)
    contexts.insert(model199::Table199().EditorIdForColumn(col));
  COptionalFeaturesDlg options(*s.app, s.Image(), nullptr);
  for (QWidget* control : options.findChildren<QWidget*>())
    if (control->property("controlId").isValid())
      contexts.insert(control->property("controlId").toInt());
  QCOMPARE(contexts.size(), std::size_t{66});
  for (const char* folder : {"enHelp", "chHelp"}) {
    const std::string dir = std::string(VARO_SOURCE_DIR) + "/resources/suite/" + folder;
    QVERIFY(shell::HelpWindow::IndexPath(dir, "Varo199V3").value_or("").find("/Varo199V3/") !=
            std::string::npos);
    for (int id : contexts) {
      const std::string page = shell::HelpWindow::TopicPath(dir, id, "Varo199V3").value_or("");
      QVERIFY2(page.find("/Varo199V3/") != std::string::npos, qPrintable(folder + QString::number(id)));
    }
    QCOMPARE(shell::HelpWindow::TopicPath(dir, 1117, "Varo16"), dir + "/1117.html");
  }

  s.folder.CopyDelivered("enHelp");
  s.Grid()->setFocus();
  QTest::keyClick(s.Grid(), Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/Varo199V3/1000.html")));
  s.Activate();
  s.Click(2, model199::kColName);
  QTest::keyClick(s.Editor(model199::kColName), Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/Varo199V3/1126.html")));
}

void TestVaro199::optionsDialog_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QStringList>("shown");  // a new document's lists, in OptionList order
  QTest::newRow("English") << "English"
                           << QStringList{"Auto", "0.4", "Manual", "1", "Off", "Off", "Off", "3s",
                                          "25k", "1", "1", "On", "Frequency", "Off", "CO"};
  QTest::newRow("Chinese") << "Chinese"
                           << QStringList{"自动", "0.4", "手动", "1", "关", "关", "关", "3s",
                                          "25k", "1", "1", "开", "频率", "关", "CO"};
}

// A new document's values in the interface language; Enter confirms (LED
// "Auto" to "On": 0xD4 becomes 0xD8), Escape and Cancel leave the image as it
// was, F1 opens the focused list's page and keeps the dialog open.
void TestVaro199::optionsDialog() {
  QFETCH(QString, language);
  QFETCH(QStringList, shown);
  Session199 s(language.toStdString());
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");
  s.folder.CopyDelivered("chHelp");
  const radio::MemoryImage before = s.Image();
  QStringList seen;
  bool beep = false;
  bool stillOpen = false;
  WithOptionsDialog(s, [&](COptionalFeaturesDlg* dlg) {
    for (int i = 0; i < model199::kOptionListCount; ++i)
      seen << dlg->List(static_cast<OptionList>(i))->currentText();
    beep = dlg->BeepBox()->isChecked();
    QComboBox* step = dlg->List(OptionList::kStep);
    step->setFocus();
    QTest::keyClick(step, Qt::Key_F1);
    stillOpen = dlg->isVisible();
    test::MaybeScreenshot(dlg, language == QLatin1String("English") ? "varo199-options-en.png"
                                                                     : "varo199-options-zh.png",
                          true);
    dlg->activateWindow();
    QComboBox* led = dlg->List(OptionList::kLed);
    led->setFocus();
    QTest::keyClick(led, Qt::Key_Down);
    QTest::keyClick(led, Qt::Key_Return);
  });
  QCOMPARE(seen, shown);
  QVERIFY(beep && stillOpen);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("Help/Varo199V3/1117.html")));
  QCOMPARE(s.Image()[kDisplay], 0xD8);
  radio::MemoryImage expected = before;
  expected[kDisplay] = 0xD8;
  QVERIFY(s.Image() == expected);

  for (const char* how : {"Escape", "Cancel"}) {
    s.Activate();
    WithOptionsDialog(s, [how](COptionalFeaturesDlg* dlg) {
      dlg->List(OptionList::kCallTone)->setCurrentIndex(9);  // "1750"
      dlg->BeepBox()->setChecked(false);
      if (QLatin1String(how) == QLatin1String("Cancel")) {
        test::Press(dlg, QStringLiteral("2"));
      } else {
        dlg->List(OptionList::kCallTone)->setFocus();
        QTest::keyClick(dlg->List(OptionList::kCallTone), Qt::Key_Escape);
      }
    });
    QVERIFY2(s.Image() == expected, how);
  }
}

void TestVaro199::screenshots() {
  // Pictures for the documentation, taken when VARO_SCREENSHOT_DIR is set:
  // the demo memory open, the name of channel 9 being typed.
  if (qEnvironmentVariableIsEmpty("VARO_SCREENSHOT_DIR")) QSKIP("VARO_SCREENSHOT_DIR not set");
  const QString demo = QStringLiteral(VARO_SOURCE_DIR "/resources/demo/Demo199.dat");
  for (const QString lang : {"en", "zh"}) {
    Session199 s(lang == QLatin1String("en") ? "English" : "Chinese", {demo});
    QVERIFY(s.app);
    s.Frame()->showNormal();
    s.Frame()->resize(1100, 680);
    s.Type(10, model199::kColRx, QStringLiteral("461.0375"));
    s.Click(10, model199::kColName);
    QTest::keyClicks(s.Editor(model199::kColName), QStringLiteral("ramp"));
    QTest::qWait(50);
    test::MaybeScreenshot(s.Frame(), QStringLiteral("varo199-main-%1.png").arg(lang));
  }
}

QTEST_MAIN(TestVaro199)
#include "TestVaro199.moc"
