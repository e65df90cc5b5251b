// The Optional Features, Scan Information, Product Information and Process
// dialogs of Varo16, driven offscreen on the document of a started program.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "Varo16Fixture.h"
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/ui/COptionalFeaturesDlg.h"
#include "model16/ui/CProcessDlg.h"
#include "model16/ui/CProductInfoDlg.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "platform/Registry.h"
#include "shell/CChildFrame.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/HelpWindow.h"

using namespace varo;
using model16::MemoryImage;
using model16::OptionList;

namespace {

struct Program {
  explicit Program(bool chinese) : folder(chinese ? "Chinese" : "English") {
    folder.CopyDelivered(chinese ? "chHelp" : "enHelp");
    app = folder.Start();
  }
  MemoryImage& Image() const {
    return static_cast<model16::ui::CVaro_16Doc&>(app->MainFrame()->ActiveChild()->Document())
        .Image();
  }
  QString HelpPage() const { return app->Help() ? app->Help()->CurrentPage() : QString(); }
  test::Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
};

void Click(QWidget* dialog, const char* name) {
  QTest::mouseClick(dialog->findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

// With VARO_SCREENSHOT_DIR set, saves the dialog with a plain title bar above
// it (the offscreen platform draws no window frame).
void Picture(QWidget& dialog, const char* name, bool chinese) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QPixmap client = dialog.grab();
  QImage image(client.width() + 2, client.height() + 25, QImage::Format_ARGB32);
  image.fill(QColor(0x3b, 0x5a, 0x85));
  QPainter painter(&image);
  painter.drawPixmap(1, 24, client);
  QFont font = dialog.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, image.width() - 12, 24), Qt::AlignVCenter, dialog.windowTitle());
  painter.end();
  image.save(QStringLiteral("%1/varo16-%2-%3.png")
                 .arg(QString::fromLocal8Bit(dir), QLatin1String(name), chinese ? "zh" : "en"));
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void newDocumentValues_data();
  void newDocumentValues();
  void optionalFeaturesStoresOnOkOnly();
  void optionalFeaturesKeyboardFilter();
  void scanInfoArrowsFocusAndChannelCheck();
  void commandsRunTheDialogsOnTheDocument();
};

void DialogsTest::newDocumentValues_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QString>("priority");
  QTest::addColumn<QString>("title");
  QTest::newRow("English") << false << QStringList{"60s", "8", "4", "Chinese", "Off", "5", "1.0"}
                           << "None"
                           << "Varo16 Programmer  [ Type:V16-U  Fre:430 - 450MHz ]";
  QTest::newRow("Chinese") << true << QStringList{"60s", "8", "4", "中文", "关", "5", "1.0"} << "无"
                           << "Varo16 写频软件  [ 类型:V16-U  频率:430 - 450MHz ]";
}

// Each dialog opens with a new document's values; OK without a change writes
// the same bytes. Product Information's OK also sets title and registry.
void DialogsTest::newDocumentValues() {
  QFETCH(bool, chinese);
  QFETCH(QStringList, options);
  QFETCH(QString, priority);
  QFETCH(QString, title);
  Program p(chinese);
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  const MemoryImage before = image;

  model16::ui::COptionalFeaturesDlg features(*p.app, image, nullptr);
  features.show();
  QStringList shown;
  for (int i = 0; i < model16::kOptionListCount; ++i)
    shown << features.List(static_cast<OptionList>(i))->currentText();
  QCOMPARE(shown, options);
  QVERIFY(features.BeepBox()->isChecked() && features.BatterySaverBox()->isChecked());
  Picture(features, "optional-features", chinese);
  Click(&features, "1");
  QCOMPARE(features.result(), int(QDialog::Accepted));

  model16::ui::CScanInfoDlg scan(*p.app, image, nullptr);
  scan.show();
  QCOMPARE(scan.PriorityList()->currentText(), priority);
  QStringList boxes;
  for (int id = 1003; id <= 1007; ++id) boxes << scan.Box(id)->text();
  QCOMPARE(boxes, (QStringList{"", "0.9", "1.5", "48", "48"}));
  for (int id : {1003, 1004, 1005}) QVERIFY(!scan.Box(id)->isEnabled());
  QCOMPARE(scan.RevertList()->currentIndex(), -1);
  Picture(scan, "scan-info", chinese);
  Click(&scan, "1");
  QCOMPARE(scan.result(), int(QDialog::Accepted));
  QVERIFY(image == before);

  const QString newTitle = p.app->MainFrame()->Title();
  model16::BandLimits limits;
  for (const char* button : {"2", "1"}) {  // Cancel changes nothing
    model16::ui::CProductInfoDlg product(*p.app, image, nullptr);
    product.show();
    QCOMPARE(product.TypeList()->currentText(), QStringLiteral("V16-V"));
    QCOMPARE(product.BandList()->currentText(), QStringLiteral("136 - 174MHz"));
    Picture(product, "product-info", chinese);
    product.TypeList()->setCurrentIndex(1);  // refills the bands
    QCOMPARE(product.BandList()->currentText(), QStringLiteral("400 - 470MHz"));
    product.BandList()->setCurrentIndex(1);
    product.BandList()->setFocus();
    QTest::keyClick(product.BandList(), Qt::Key_F1);
    QVERIFY(p.HelpPage().endsWith(QStringLiteral("/1014.html")));
    Click(&product, button);
    if (*button == '2') QVERIFY(image == before && p.app->MainFrame()->Title() == newTitle);
    if (*button == '1') limits = product.Result()->limits;
  }
  QCOMPARE(limits, (model16::BandLimits{43000000, 45000000}));
  QCOMPARE(p.app->MainFrame()->Title(), title);
  QCOMPARE((std::pair{int(image[0x3D2]), int(image[0x3D3])}), (std::pair{1, 1}));
  QCOMPARE(Registry("Software\\Varo16").QueryDword("Field").value_or(99), 1u);

  model16::ui::CProcessDlg process(*p.app, nullptr);
  process.Offer(p.app->Tr("Read Data", "读数据"), 63);
  QSignalSpy start(&process, &model16::ui::CProcessDlg::startRequested);
  QTest::mouseClick(process.OkButton(), Qt::LeftButton);  // disables itself, asks to start
  QVERIFY(!process.OkButton()->isEnabled() && start.count() == 1);
  for (int block = 1; block <= 30; ++block) process.Step(block);
  process.Step(64);  // past the range: not shown
  QCOMPARE(process.CountLabel()->text(), QStringLiteral("30"));
  Picture(process, "process", chinese);
}

// Cancel keeps the image; OK writes each changed field into its own bits.
void DialogsTest::optionalFeaturesStoresOnOkOnly() {
  Program p(false);
  MemoryImage& image = p.Image();
  image[0x130] |= 0x80;
  const MemoryImage before = image;
  for (const char* button : {"2", "1"}) {
    model16::ui::COptionalFeaturesDlg dlg(*p.app, image, nullptr);
    dlg.show();
    dlg.List(OptionList::kTimeOutTimer)->setCurrentIndex(39);  // 600s
    dlg.List(OptionList::kTotPreAlert)->setCurrentIndex(0);    // Off
    dlg.List(OptionList::kCallTone)->setCurrentIndex(16);
    QTest::mouseClick(dlg.BatterySaverBox(), Qt::LeftButton);
    Click(&dlg, button);
  }
  MemoryImage expected = before;
  expected[0x130] = 0x80 | 40;
  expected[0x131] = static_cast<std::uint8_t>((before[0x131] & 0xF0) | 1);
  expected[0x3F0] = 16;
  expected[0x135] = before[0x135] & 0xFE;
  QVERIFY(image == expected);
}

// Digits, Backspace, Delete and arrows pass without Shift; F1 opens the help
// of the focused list; all else (Enter, Esc, Tab, Space...) is dropped.
void DialogsTest::optionalFeaturesKeyboardFilter() {
  Program p(false);
  model16::ui::COptionalFeaturesDlg dlg(*p.app, p.Image(), nullptr);
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
  QVERIFY(p.HelpPage().endsWith(QStringLiteral("/1116.html")));
}

void DialogsTest::scanInfoArrowsFocusAndChannelCheck() {
  Program p(false);
  MemoryImage& image = p.Image();
  model16::ui::CScanInfoDlg dlg(*p.app, image, nullptr);
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
  QString message;
  test::WhenModal([&message](QWidget* w) {
    message = test::MessageText(w);
    test::Press(w, QStringLiteral("OK"));
  });
  Click(&dlg, "1");
  QCOMPARE(message, QStringLiteral("Please select channel inputed"));
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
// from the Program menu after the table was stored into the image, Optional
// Features from the Edit menu, Product Information from the tree (its band
// limits reach the view's table editor).
void DialogsTest::commandsRunTheDialogsOnTheDocument() {
  Program p(false);
  QVERIFY(p.app);
  shell::CMainFrame* frame = p.app->MainFrame();
  auto* view = static_cast<model16::ui::CVaro_16View*>(&frame->ActiveChild()->View());
  MemoryImage& image = p.Image();

  // Channel 3 typed into the table only.
  shell::CMSFlexGrid& grid = view->Grid();
  const std::vector<std::string> defaults = model16::NewRowDefaults(false);
  grid.SetTextMatrix(3, model16::kColRx, "151.00000");
  grid.SetTextMatrix(3, model16::kColTx, "151.00000");
  for (long col = model16::kColDec; col < model16::kTableCols; ++col)
    grid.SetTextMatrix(3, col, defaults[static_cast<std::size_t>(col - model16::kColDec)]);
  QString channel3;
  test::WhenModal([&](QWidget* w) {
    QVERIFY(qobject_cast<model16::ui::CScanInfoDlg*>(w));
    channel3 = QString::fromStdString(model16::BcdToFrequencyText(&image[0x010 + 2 * 16]));
    Click(w, "2");
  });
  frame->Popup(129, 2)->actions().at(2)->trigger();
  QCOMPARE(channel3, QStringLiteral("151.00000"));

  test::WhenModal([](QWidget* w) {
    auto* dlg = qobject_cast<model16::ui::COptionalFeaturesDlg*>(w);
    QVERIFY(dlg);
    dlg->List(OptionList::kCallTone)->setCurrentIndex(16);
    Click(w, "1");
  });
  frame->Popup(129, 1)->actions().at(2)->trigger();
  QCOMPARE(int(image[0x3F0]), 16);

  test::WhenModal([](QWidget* w) {
    auto* dlg = qobject_cast<model16::ui::CProductInfoDlg*>(w);
    QVERIFY(dlg);
    dlg->TypeList()->setCurrentIndex(1);
    dlg->BandList()->setCurrentIndex(1);
    Click(w, "1");
  });
  QTreeWidget* tree = frame->ControlBar()->Tree();
  QTreeWidgetItem* product = tree->topLevelItem(0)->child(0);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(product).center());
  QCOMPARE(view->Limits(), (model16::BandLimits{43000000, 45000000}));
  QCOMPARE(frame->Title(), QStringLiteral("Varo16 Programmer  [ Type:V16-U  Fre:430 - 450MHz ]"));
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
