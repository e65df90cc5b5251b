// The Optional Features, Scan Information and Product Information dialogs of
// Varo16, driven offscreen on the document of a started program.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "Varo16Fixture.h"
#include "model16/ui/COptionalFeaturesDlg.h"
#include "model16/ui/CProductInfoDlg.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "platform/Registry.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/HelpWindow.h"

using namespace varo;
using model16::MemoryImage;
using model16::OptionList;

namespace {

struct Program {
  explicit Program(const std::string& language) : folder(language) {
    folder.CopyDelivered(language == "Chinese" ? "chHelp" : "enHelp");
    app = folder.Start();
  }
  MemoryImage& Image() const {
    return static_cast<model16::ui::CVaro_16Doc&>(app->MainFrame()->ActiveChild()->Document())
        .Image();
  }
  test::Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
};

void Click(QWidget* dialog, const char* name) {
  auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
  QVERIFY2(button, name);
  QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next message box with OK and keeps its text.
void AnswerMessage(QString* text) {
  test::WhenModal([text](QWidget* w) {
    *text = test::MessageText(w);
    test::Press(w, QStringLiteral("OK"));
  });
}

// The offscreen platform draws no window frame: the pictures get a plain
// title bar with the caption above the client area.
void Picture(QWidget& dialog, const QString& name) {
  const QByteArray dir = qgetenv("VARO_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  const QPixmap client = dialog.grab();
  const int bar = 24;
  QImage image(client.width() + 2, client.height() + bar + 1, QImage::Format_ARGB32);
  image.fill(QColor(0x3b, 0x5a, 0x85));
  QPainter painter(&image);
  painter.drawPixmap(1, bar, client);
  QFont font = dialog.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, image.width() - 12, bar), Qt::AlignLeft | Qt::AlignVCenter,
                   dialog.windowTitle());
  painter.end();
  image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

QString Lang(bool chinese) { return chinese ? QStringLiteral("zh") : QStringLiteral("en"); }

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void optionalFeaturesShowsAndStores_data();
  void optionalFeaturesShowsAndStores();
  void optionalFeaturesKeyboardFilter();
  void scanInfoOpensAndStores_data();
  void scanInfoOpensAndStores();
  void scanInfoArrowsFocusAndChannelCheck();
  void productInfoChoosesTypeAndBand_data();
  void productInfoChoosesTypeAndBand();
};

void DialogsTest::optionalFeaturesShowsAndStores_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("English") << false
                           << QStringList{"60s", "8", "4", "Chinese", "Off", "5", "1.0"};
  QTest::newRow("Chinese") << true << QStringList{"60s", "8", "4", "中文", "关", "5", "1.0"};
}

void DialogsTest::optionalFeaturesShowsAndStores() {
  QFETCH(bool, chinese);
  QFETCH(QStringList, shown);
  Program p(chinese ? "Chinese" : "English");
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  const MemoryImage before = image;

  auto open = [&] {
    auto dlg = std::make_unique<model16::ui::COptionalFeaturesDlg>(*p.app, image, nullptr);
    dlg->show();
    return dlg;
  };
  {
    auto dlg = open();
    QStringList texts;
    for (int i = 0; i < model16::kOptionListCount; ++i)
      texts << dlg->List(static_cast<OptionList>(i))->currentText();
    QCOMPARE(texts, shown);
    QVERIFY(dlg->BeepBox()->isChecked());
    QVERIFY(dlg->BatterySaverBox()->isChecked());
    Picture(*dlg, QStringLiteral("varo16-optional-features-%1.png").arg(Lang(chinese)));
    Click(dlg.get(), "1");
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QVERIFY(image == before);  // OK without changes
  }
  // Changes reach the image on OK only, each field in its own bits.
  image[0x130] |= 0x80;
  for (bool ok : {false, true}) {
    const MemoryImage start = image;
    auto dlg = open();
    dlg->List(OptionList::kTimeOutTimer)->setCurrentIndex(39);  // 600s
    dlg->List(OptionList::kTotPreAlert)->setCurrentIndex(0);    // Off
    dlg->List(OptionList::kCallTone)->setCurrentIndex(16);
    QTest::mouseClick(dlg->BatterySaverBox(), Qt::LeftButton);
    Click(dlg.get(), ok ? "1" : "2");
    if (!ok) {
      QVERIFY(image == start);
      continue;
    }
    QCOMPARE(int(image[0x130]), 0x80 | 40);
    QCOMPARE(int(image[0x131]), (before[0x131] & 0xF0) | 1);
    QCOMPARE(int(image[0x3F0]), 16);
    QCOMPARE(int(image[0x135]), before[0x135] & 0xFE);
    QCOMPARE(int(image[0x136]), int(before[0x136]));
  }
}

void DialogsTest::optionalFeaturesKeyboardFilter() {
  Program p("English");
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  model16::ui::COptionalFeaturesDlg dlg(*p.app, image, nullptr);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  QComboBox* squelch = dlg.List(OptionList::kSquelchLevel);
  squelch->setFocus();
  QCOMPARE(squelch->currentIndex(), 4);

  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int index;  // the squelch list's selection afterwards
  };
  // Dropped keys leave the dialog, the focus and the selection alone; the
  // arrows pass, but not with Shift.
  for (const Key& k : {Key{Qt::Key_Return, {}, 4}, Key{Qt::Key_Escape, {}, 4},
                       Key{Qt::Key_Tab, {}, 4}, Key{Qt::Key_Space, {}, 4},
                       Key{Qt::Key_Down, {}, 5}, Key{Qt::Key_Down, Qt::ShiftModifier, 5},
                       Key{Qt::Key_Up, {}, 4}, Key{Qt::Key_End, {}, 4}}) {
    QTest::keyClick(squelch, k.key, k.modifiers);
    QVERIFY(dlg.isVisible());
    QCOMPARE(QApplication::focusWidget(), squelch);
    QCOMPARE(squelch->currentIndex(), k.index);
  }
  QTest::keyClick(squelch, Qt::Key_F1);
  QVERIFY(p.app->Help());
  QVERIFY(p.app->Help()->CurrentPage().endsWith(QStringLiteral("/1116.html")));
  p.app->Help()->close();
  Click(&dlg, "2");
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
}

void DialogsTest::scanInfoOpensAndStores_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QString>("priority");
  QTest::newRow("English") << false << QStringLiteral("None");
  QTest::newRow("Chinese") << true << QStringLiteral("无");
}

void DialogsTest::scanInfoOpensAndStores() {
  QFETCH(bool, chinese);
  QFETCH(QString, priority);
  Program p(chinese ? "Chinese" : "English");
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  const MemoryImage before = image;
  {
    model16::ui::CScanInfoDlg dlg(*p.app, image, nullptr);
    dlg.show();
    QCOMPARE(dlg.PriorityList()->currentText(), priority);
    QVERIFY(dlg.Box(1003)->text().isEmpty());
    QCOMPARE(dlg.Box(1004)->text(), QStringLiteral("0.9"));
    QCOMPARE(dlg.Box(1005)->text(), QStringLiteral("1.5"));
    for (int id : {1003, 1004, 1005}) QVERIFY(!dlg.Box(id)->isEnabled());
    QVERIFY(!dlg.Arrow(1008, 1)->isEnabled());
    QCOMPARE(dlg.RevertList()->currentIndex(), -1);
    QCOMPARE(dlg.Box(1006)->text(), QStringLiteral("48"));
    QCOMPARE(dlg.Box(1007)->text(), QStringLiteral("48"));
    Picture(dlg, QStringLiteral("varo16-scan-info-%1.png").arg(Lang(chinese)));
    Click(&dlg, "1");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(image == before);  // OK without changes writes the same bytes
  }
  // Selected priority with "Priority+Talk back": revert code 3, shown again
  // on reopening; Cancel keeps the image.
  for (bool ok : {false, true}) {
    const MemoryImage start = image;
    model16::ui::CScanInfoDlg dlg(*p.app, image, nullptr);
    dlg.show();
    dlg.PriorityList()->setCurrentIndex(2);
    QCOMPARE(dlg.RevertList()->count(), 2);
    dlg.RevertList()->setCurrentIndex(1);
    Click(&dlg, ok ? "1" : "2");
    if (!ok) QVERIFY(image == start);
  }
  QCOMPARE(int(image[0x160]), 2);
  QCOMPARE(int(image[0x164]), 3);
  model16::ui::CScanInfoDlg again(*p.app, image, nullptr);
  QCOMPARE(again.RevertList()->currentIndex(), 1);
}

void DialogsTest::scanInfoArrowsFocusAndChannelCheck() {
  Program p("English");
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  model16::ui::CScanInfoDlg dlg(*p.app, image, nullptr);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowActive(&dlg));
  dlg.PriorityList()->setCurrentIndex(1);  // Fixed
  QVERIFY(dlg.Box(1003)->isEnabled());
  QCOMPARE(dlg.RevertList()->count(), 4);

  // The upper arrow raises, the lower one lowers; both wrap at the ends.
  struct Step {
    int spin;
    int box;
    QString from;
    int change;
    QString to;
  };
  for (const Step& s : {Step{1008, 1004, "5", 1, "0.5"}, Step{1008, 1004, "0.5", -1, "5"},
                        Step{1009, 1005, "0.85", 1, "0.9"}, Step{1009, 1005, "0.9", -1, "0.85"},
                        Step{1010, 1006, "300", 1, "0"}, Step{1011, 1007, "0", -1, "300"}}) {
    dlg.Box(s.box)->setText(s.from);
    QTest::mouseClick(dlg.Arrow(s.spin, s.change), Qt::LeftButton);
    QCOMPARE(dlg.Box(s.box)->text(), s.to);
  }
  // Leaving a box brings its value into range and onto the raster.
  struct Typed {
    int box;
    QString text;
    QString settled;
  };
  for (const Typed& t : {Typed{1005, "7", "5"}, Typed{1005, "0.72", "0.7"},
                         Typed{1004, "0.1", "0.5"}, Typed{1006, "999", "300"}}) {
    dlg.Box(t.box)->setFocus();
    dlg.Box(t.box)->setText(t.text);
    dlg.Box(1003)->setFocus();
    QCOMPARE(dlg.Box(t.box)->text(), t.settled);
  }

  // Channel 3 has no receive frequency in a new document: message, the
  // dialog stays open and nothing is written.
  const MemoryImage before = image;
  dlg.Box(1003)->setText(QStringLiteral("3"));
  QString message;
  AnswerMessage(&message);
  Click(&dlg, "1");
  QCOMPARE(message, QStringLiteral("Please select channel inputed"));
  QVERIFY(dlg.isVisible());
  QVERIFY(image == before);

  // With channel 3 programmed, Enter accepts; the box holding the focus is
  // settled first, so the typed 999 is stored as 300.
  image[0x010 + 2 * 16 + 3] = 0x44;
  dlg.Box(1007)->setFocus();
  dlg.Box(1007)->setText(QStringLiteral("999"));
  QTest::keyClick(dlg.Box(1007), Qt::Key_Return);
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(int(image[0x160]), 1);
  QCOMPARE(int(image[0x161]), 3);
  QCOMPARE(int(image[0x162]), 1);  // 0.5 s
  QCOMPARE(int(image[0x163]), 5);   // 0.7 s
  QCOMPARE(int(image[0x165]) + 256 * image[0x166], 300);
  QCOMPARE(int(image[0x167]) + 256 * image[0x168], 300);
}

void DialogsTest::productInfoChoosesTypeAndBand_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<QString>("title");
  QTest::newRow("English") << false
                           << QStringLiteral("Varo16 Programmer  [ Type:V16-U  Fre:430 - 450MHz ]");
  QTest::newRow("Chinese") << true
                           << QStringLiteral("Varo16 写频软件  [ 类型:V16-U  频率:430 - 450MHz ]");
}

void DialogsTest::productInfoChoosesTypeAndBand() {
  QFETCH(bool, chinese);
  QFETCH(QString, title);
  Program p(chinese ? "Chinese" : "English");
  QVERIFY(p.app);
  MemoryImage& image = p.Image();
  Registry registry("Software\\Varo16");

  for (bool ok : {false, true}) {
    const MemoryImage start = image;
    const QString startTitle = p.app->MainFrame()->Title();
    model16::ui::CProductInfoDlg dlg(*p.app, image, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    // A new document: the registry's first type and band.
    QCOMPARE(dlg.TypeList()->currentText(), QStringLiteral("V16-V"));
    QCOMPARE(dlg.BandList()->currentText(), QStringLiteral("136 - 174MHz"));
    QCOMPARE(dlg.BandList()->count(), 3);
    if (!ok) Picture(dlg, QStringLiteral("varo16-product-info-%1.png").arg(Lang(chinese)));
    dlg.TypeList()->setCurrentIndex(1);
    QCOMPARE(dlg.BandList()->currentText(), QStringLiteral("400 - 470MHz"));
    dlg.BandList()->setFocus();
    QTest::keyClick(dlg.BandList(), Qt::Key_F1);
    QVERIFY(p.app->Help()->CurrentPage().endsWith(QStringLiteral("/1014.html")));
    p.app->Help()->close();
    dlg.BandList()->setCurrentIndex(1);
    Click(&dlg, ok ? "1" : "2");
    if (!ok) {
      QVERIFY(image == start);
      QCOMPARE(p.app->MainFrame()->Title(), startTitle);
      QCOMPARE(registry.QueryDword("Type").value_or(0), 0u);
      continue;
    }
    QCOMPARE(int(image[0x3D2]), 1);
    QCOMPARE(int(image[0x3D3]), 1);
    QCOMPARE(registry.QueryDword("Type").value_or(99), 1u);
    QCOMPARE(registry.QueryDword("Field").value_or(99), 1u);
    QCOMPARE(p.app->MainFrame()->Title(), title);
    QVERIFY(dlg.Result());
    QCOMPARE(dlg.Result()->limits.lower, 43000000);
    QCOMPARE(dlg.Result()->limits.upper, 45000000);
  }
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
