// The Optional Features, Scan Information, Product Information and Process
// dialogs of Varo16, driven offscreen on the document of a started program.

#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWindow>
#include <QTreeWidget>

#include "Varo16Fixture.h"
#include "model16/ChannelCodec.h"
#include "model16/Model16.h"
#include "radio/Frequency.h"
#include "model16/ui/COptionalFeaturesDlg.h"
#include "shell/CProcessDlg.h"
#include "shell/CProductInfoDlg.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16View.h"
#include "ini/Registry.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"

using namespace varo;
using model16::MemoryImage;
using model16::OptionList;
using model16::ui::COptionalFeaturesDlg;
using shell::CProductInfoDlg;
using model16::ui::CScanInfoDlg;

namespace {

// Counts the mouse presses that reach the widget it watches: a window a modal
// dialog blocks gets none.
struct PressCounter : QObject {
  int presses = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) ++presses;
    return false;
  }
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void newDocumentValues_data();
  void newDocumentValues();
  void optionalFeaturesKeyboardFilter();
  void scanInfoArrowsFocusAndChannelCheck();
  void commandsRunTheDialogsOnTheDocument();
  void helpFromADialogIsInFront_data();
  void helpFromADialogIsInFront();
};

void DialogsTest::newDocumentValues_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QString>("priority");
  QTest::newRow("English") << false << QStringList{"60s", "8", "4", "Chinese", "Off", "5", "1.0"}
                           << "None";
  QTest::newRow("Chinese") << true << QStringList{"60s", "8", "4", "中文", "关", "5", "1.0"}
                           << "无";
}

// Each dialog opens with a new document's values; OK without a change writes
// the same bytes.
void DialogsTest::newDocumentValues() {
  QFETCH(bool, chinese);
  QFETCH(QStringList, options);
  QFETCH(QString, priority);
  test::Session s(chinese ? "Chinese" : "English");
  QVERIFY(s.app);
  const QString lang = QString::fromLatin1(chinese ? "zh" : "en");
  const auto shot = [&lang](QWidget& w, const char* name) {
    test::MaybeScreenshot(&w, QStringLiteral("varo16-%1-%2.png").arg(QLatin1String(name), lang),
                          true);
  };
  MemoryImage& image = s.Image();
  const MemoryImage before = image;

  COptionalFeaturesDlg features(*s.app, image, nullptr);
  features.show();
  QStringList shown;
  for (int i = 0; i < model16::kOptionListCount; ++i)
    shown << features.List(static_cast<OptionList>(i))->currentText();
  QCOMPARE(shown, options);
  QVERIFY(features.BeepBox()->isChecked() && features.BatterySaverBox()->isChecked());
  shot(features, "optional-features");
  test::Press(&features, QStringLiteral("1"));
  QCOMPARE(features.result(), int(QDialog::Accepted));

  CScanInfoDlg scan(*s.app, image, nullptr);
  scan.show();
  QCOMPARE(scan.PriorityList()->currentText(), priority);
  QStringList boxes;
  for (int id = 1003; id <= 1007; ++id) boxes << scan.Box(id)->text();
  QCOMPARE(boxes, (QStringList{"", "0.9", "1.5", "48", "48"}));
  for (int id : {1003, 1004, 1005}) QVERIFY(!scan.Box(id)->isEnabled());
  QCOMPARE(scan.RevertList()->currentIndex(), -1);
  shot(scan, "scan-info");
  test::Press(&scan, QStringLiteral("1"));
  QCOMPARE(scan.result(), int(QDialog::Accepted));
  QVERIFY(image == before);

  shell::CProductInfoDlg product(*s.app, image, model16::Model16().product, nullptr);
  product.show();
  QCOMPARE(product.TypeList()->currentText(), QStringLiteral("V16-V"));
  QCOMPARE(product.BandList()->currentText(), QStringLiteral("136 - 174MHz"));
  shot(product, "product-info");

  // OK disables itself before it asks for the transfer, so it starts once.
  shell::CProcessDlg process(*s.app, nullptr);
  process.Offer(s.app->Tr("Read Data", "读数据"), 63);
  QSignalSpy start(&process, &shell::CProcessDlg::startRequested);
  QTest::mouseClick(process.OkButton(), Qt::LeftButton);
  QVERIFY(!process.OkButton()->isEnabled() && start.count() == 1);
  for (int block = 1; block <= 30; ++block) process.Step(block);
  shot(process, "process");
}

// Digits, Backspace, Delete and arrows pass without Shift; F1 opens the help
// of the focused list; all else (Enter, Esc, Tab, Space...) is dropped.
void DialogsTest::optionalFeaturesKeyboardFilter() {
  test::Session s;
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");
  COptionalFeaturesDlg dlg(*s.app, s.Image(), nullptr);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  QComboBox* squelch = dlg.List(OptionList::kSquelchLevel);
  squelch->setFocus();
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> keys[] = {
      {Qt::Key_Return, {}, 4}, {Qt::Key_Escape, {}, 4}, {Qt::Key_Tab, {}, 4},
      {Qt::Key_Space, {}, 4},  {Qt::Key_Down, {}, 5},   {Qt::Key_Down, Qt::ShiftModifier, 5},
      {Qt::Key_End, {}, 5},    {Qt::Key_7, {}, 7},      {Qt::Key_Up, {}, 6}};
  for (const auto& [key, modifiers, index] : keys) {
    QTest::keyClick(squelch, key, modifiers);
    QVERIFY(dlg.isVisible());
    QCOMPARE(QApplication::focusWidget(), squelch);
    QCOMPARE(squelch->currentIndex(), index);
  }
  QTest::keyClick(squelch, Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/1116.html")));
}

void DialogsTest::scanInfoArrowsFocusAndChannelCheck() {
  test::Session s;
  QVERIFY(s.app);
  MemoryImage& image = s.Image();
  CScanInfoDlg dlg(*s.app, image, nullptr);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  dlg.PriorityList()->setCurrentIndex(1);  // Fixed
  QVERIFY(dlg.Box(1003)->isEnabled());
  QCOMPARE(dlg.RevertList()->count(), 4);

  // The upper arrow raises, the lower one lowers; both wrap at the ends.
  const std::tuple<int, QString, int, QString> steps[] = {
      {1008, "5", 1, "0.5"},     {1008, "0.5", -1, "5"}, {1009, "0.85", 1, "0.9"},
      {1009, "0.9", -1, "0.85"}, {1010, "300", 1, "0"},  {1011, "0", -1, "300"}};
  for (const auto& [spin, from, change, to] : steps) {
    QLineEdit* box = dlg.Box(spin - 4);
    box->setText(from);
    QTest::mouseClick(dlg.Arrow(spin, change), Qt::LeftButton);
    QCOMPARE(box->text(), to);
  }
  // Leaving a box brings its value into range and onto the raster.
  const std::tuple<int, QString, QString> typed[] = {
      {1005, "7", "5"}, {1005, "0.72", "0.7"}, {1004, "0.1", "0.5"}, {1006, "999", "300"}};
  for (const auto& [id, text, settled] : typed) {
    dlg.Box(id)->setFocus();
    dlg.Box(id)->setText(text);
    dlg.Box(1003)->setFocus();
    QCOMPARE(dlg.Box(id)->text(), settled);
  }

  // Channel 3 has no receive frequency: message, the dialog stays, nothing
  // is written.
  const MemoryImage before = image;
  dlg.Box(1003)->setText(QStringLiteral("3"));
  QStringList seen;
  test::Answer(&seen);
  test::Press(&dlg, QStringLiteral("1"));
  QCOMPARE(seen.value(1), QStringLiteral("Please select channel inputed"));
  QVERIFY(dlg.isVisible());
  QVERIFY(image == before);

  // Channel 3 programmed: Enter accepts, and the box with the focus is
  // settled first, so the typed 999 is stored as 300.
  image[0x010 + 2 * 16 + 3] = 0x44;
  dlg.Box(1007)->setFocus();
  dlg.Box(1007)->setText(QStringLiteral("999"));
  QTest::keyClick(dlg.Box(1007), Qt::Key_Return);
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  const std::vector<int> stored(image.bytes.begin() + 0x160, image.bytes.begin() + 0x169);
  QCOMPARE(stored, (std::vector<int>{1, 3, 1, 5, 0, 0x2C, 1, 0x2C, 1}));
}

// The three dialogs as the main window runs them on its document: Scan Info
// from the Program menu after the table was stored into the image; Optional
// Features from the Edit menu, where Cancel keeps the image and OK writes
// each changed field into its own bits; Product Information from the tree.
void DialogsTest::commandsRunTheDialogsOnTheDocument() {
  test::Session s;
  QVERIFY(s.app);
  shell::CMainFrame* frame = s.Frame();
  MemoryImage& image = s.Image();

  s.Type(3, 1, QStringLiteral("151"));  // into the table only
  QString channel3;
  test::WhenModal([&](QWidget* w) {
    QVERIFY(qobject_cast<CScanInfoDlg*>(w));
    channel3 = QString::fromStdString(radio::BcdToFrequencyText(&image[0x010 + 2 * 16]));
    test::Press(w, QStringLiteral("2"));
  });
  frame->Action(shell::ID_SCAN_INFO)->trigger();
  QCOMPARE(channel3, QStringLiteral("151.00000"));

  image[0x130] |= 0x80;  // a bit beside the time-out timer, kept
  const MemoryImage before = image;
  for (const char* button : {"2", "1"}) {
    test::WhenModal([button](QWidget* w) {
      auto* dlg = qobject_cast<COptionalFeaturesDlg*>(w);
      QVERIFY(dlg);
      dlg->List(OptionList::kTimeOutTimer)->setCurrentIndex(39);  // 600s
      dlg->List(OptionList::kTotPreAlert)->setCurrentIndex(0);    // Off
      dlg->List(OptionList::kCallTone)->setCurrentIndex(16);
      QTest::mouseClick(dlg->BatterySaverBox(), Qt::LeftButton);
      test::Press(w, QString::fromLatin1(button));
    });
    frame->Action(shell::ID_OPTIONAL_FEATURES)->trigger();
    if (*button == '2') QVERIFY(image == before);
  }
  MemoryImage expected = before;
  expected[0x130] = 0x80 | 40;
  expected[0x131] = static_cast<std::uint8_t>((before[0x131] & 0xF0) | 1);
  expected[0x3F0] = 16;
  expected[0x135] = before[0x135] & 0xFE;
  QVERIFY(image == expected);

  // Product Information from the tree: a type refills the bands; Cancel
  // changes nothing; OK sets the type and band bytes, the title, the registry
  // and the view's band limits, and names channel 3, which the new band
  // leaves out.
  s.folder.CopyDelivered("enHelp");
  const MemoryImage kept = image;
  const QString oldTitle = frame->Title();
  QTreeWidget* tree = frame->ControlBar()->Tree();
  const QPoint product = tree->visualItemRect(tree->topLevelItem(0)->child(0)).center();
  QStringList seen;
  for (const char* button : {"2", "1"}) {
    QString bands;
    test::WhenModal([&bands, &seen, button](QWidget* w) {
      auto* dlg = qobject_cast<CProductInfoDlg*>(w);
      QVERIFY(dlg);
      dlg->TypeList()->setCurrentIndex(1);
      bands = dlg->BandList()->currentText();
      dlg->BandList()->setCurrentIndex(1);
      dlg->BandList()->setFocus();
      QTest::keyClick(dlg->BandList(), Qt::Key_F1);
      test::Press(w, QString::fromLatin1(button));
      if (*button == '1') test::Answer(&seen);
    });
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, product);
    QCOMPARE(bands, QStringLiteral("400 - 470MHz"));
    if (*button == '2') QVERIFY(image == kept && frame->Title() == oldTitle);
  }
  QVERIFY(s.HelpPage().endsWith(QStringLiteral("/1014.html")));
  QCOMPARE((std::pair{int(image[0x3D2]), int(image[0x3D3])}), (std::pair{1, 1}));
  QCOMPARE(Registry("Software\\Varo16").QueryDword("Field").value_or(99), 1u);
  QCOMPARE(frame->Title(), QStringLiteral("Varo16 Programmer  [ Type:V16-U  Fre:430 - 450MHz ]"));
  QCOMPARE(s.View()->Limits(), (radio::BandLimits{43000000, 45000000}));
  QCOMPARE(seen, (QStringList{"Varo Radio",
                              "These channels lie outside the band 430 - 450MHz: 3.\n"
                              "Their frequencies are marked in the table; correct them before "
                              "writing to the radio."}));
}

void DialogsTest::helpFromADialogIsInFront_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("page");
  QTest::newRow("Optional Features") << int(shell::ID_OPTIONAL_FEATURES) << "/1116.html";
  QTest::newRow("COM Setup") << int(shell::ID_COM_SETUP) << "/32777.html";
  QTest::newRow("Language") << int(shell::ID_LANGUAGE) << "/32799.html";
}

// F1 in a modal dialog: the topic shows in front of the dialog and takes the
// mouse while the dialog is open, also when the help window was already open
// behind it. Once the dialog has gone, the help window is one of its own and
// F1 in the table still reaches it.
void DialogsTest::helpFromADialogIsInFront() {
  QFETCH(int, command);
  QFETCH(QString, page);
  test::Session s;
  QVERIFY(s.app);
  s.folder.CopyDelivered("enHelp");
  s.app->ShowHelp(1000);
  shell::HelpWindow* help = s.app->Help();
  QVERIFY(help && help->isVisible());
  PressCounter counter;
  help->Browser()->viewport()->installEventFilter(&counter);
  QWindow* owner = nullptr;
  QWindow* transientParent = nullptr;
  test::WhenModal([&](QWidget* w) {
    QWidget* target = w;
    if (auto* dlg = qobject_cast<COptionalFeaturesDlg*>(w))
      target = dlg->List(OptionList::kSquelchLevel);
    target->setFocus();
    // Straight to the dialog's control: the offscreen platform may leave the
    // application's focus, and with it the main window's F1, in the table.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(target, &f1);
    owner = w->windowHandle();
    transientParent = help->windowHandle()->transientParent();
    if (help->isVisible()) QTest::mouseClick(help->Browser()->viewport(), Qt::LeftButton);
    test::Press(w, QStringLiteral("2"));  // Cancel
  });
  QVERIFY(s.Frame()->RouteCommand(command));
  QVERIFY(owner && transientParent == owner);
  QCOMPARE(counter.presses, 1);
  QVERIFY(help->isVisible() && s.HelpPage().endsWith(page));

  QTRY_VERIFY(!QApplication::activeModalWidget());
  QCOMPARE(help->windowHandle()->transientParent(), nullptr);
  help->close();
  s.Activate();
  s.Grid()->setFocus();
  QTest::keyClick(s.Grid(), Qt::Key_F1);
  QVERIFY(help->isVisible() && s.HelpPage().endsWith(QStringLiteral("/1000.html")));
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
