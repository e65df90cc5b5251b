// What keeps a dealer's edits from being lost, driven through a started
// Varo16: undo and redo of every change, the question before unsaved changes
// go, the modified mark in the titles, and the band check of the table and
// before a write.

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "Varo16Fixture.h"
#include "model16/ui/COptionalFeaturesDlg.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16View.h"
#include "platform/SerialPort.h"
#include "shell/CChildFrame.h"
#include "shell/CLanguageDlg.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CProcessDlg.h"
#include "shell/CProductInfoDlg.h"
#include "shell/RadioDocument.h"
#include "shell/CommandIds.h"
#include "shell/TransferController.h"

using namespace varo;
using test::Session;

namespace {

const QStringList kEmptyRow(8, QString());

// Answers the modal windows expected next, in order: "question" (the
// save-changes box, answered with `answer`, its text noted in `seen`),
// "file" (a file dialog, cancelled), "language" (the Language dialog: Chinese
// and OK), "box" (any other message box, answered with OK and noted).
void Expect(QStringList kinds, const QString& answer, QStringList* seen) {
  if (kinds.isEmpty()) return;
  const QString kind = kinds.takeFirst();
  test::WhenModal([=](QWidget* w) {
    *seen << kind;
    if (kind == QLatin1String("file")) {
      QVERIFY(qobject_cast<QFileDialog*>(w));
      QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    } else if (kind == QLatin1String("language")) {
      QVERIFY(qobject_cast<shell::CLanguageDlg*>(w));
      QTest::mouseClick(w->findChild<QRadioButton*>(QStringLiteral("1007")), Qt::LeftButton);
      test::Press(w, QStringLiteral("1"));
    } else {
      auto* box = qobject_cast<QMessageBox*>(w);
      QVERIFY(box);
      *seen << box->text();
      test::Press(w, kind == QLatin1String("question") ? answer : QStringLiteral("OK"));
    }
    Expect(kinds, answer, seen);
  });
}

}  // namespace

class SafetyTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void undoBringsBackARowATypoCleared_data();
  void undoBringsBackARowATypoCleared();
  void dialogOkIsOneUndoStep_data();
  void dialogOkIsOneUndoStep();
  void changesAreAskedAboutBeforeTheyGo_data();
  void changesAreAskedAboutBeforeTheyGo();
  void titlesMarkUnsavedChanges();
  void bandChangeMarksChannelsAndWriteAsks_data();
  void bandChangeMarksChannelsAndWriteAsks();
};

void SafetyTest::undoBringsBackARowATypoCleared_data() {
  QTest::addColumn<QKeySequence>("redo");
  QTest::newRow("Ctrl+Y") << QKeySequence(Qt::CTRL | Qt::Key_Y);
  QTest::newRow("Ctrl+Shift+Z") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

// A receive frequency mistyped out of the band clears the whole channel; one
// Ctrl+Z brings every cell of it back, redo clears it again, and the image
// follows the table each way.
void SafetyTest::undoBringsBackARowATypoCleared() {
  QFETCH(QKeySequence, redo);
  Session s;
  QVERIFY(s.app);
  s.Type(2, 1, QStringLiteral("145.0125"));
  s.Click(2, 5);
  qobject_cast<QComboBox*>(s.Editor(5))->setCurrentIndex(1);  // Low
  QTest::keyClick(s.Editor(5), Qt::Key_Return);
  const QStringList row = s.Row(2);
  QCOMPARE(row.value(4), QStringLiteral("Low"));
  const model16::MemoryImage edited = s.View()->Doc().Capture().image;

  QStringList seen;
  test::Answer(&seen);
  s.Type(2, 1, QStringLiteral("1450.125"));
  QCOMPARE(seen, (QStringList{"Caution", "Out of range,please input again."}));
  QCOMPARE(s.Row(2), kEmptyRow);
  s.Activate();  // the offscreen platform hands nothing back after a message

  QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(s.Row(2), row);
  QVERIFY(s.Image() == edited);
  QTest::keySequence(s.Grid(), redo);
  QCOMPARE(s.Row(2), kEmptyRow);
  QVERIFY(s.Image() != edited);
  // Back past the first edit: a new document's table and nothing to undo.
  for (int i = 0; i < 3; ++i) QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(s.Row(2), kEmptyRow);
  QVERIFY(!s.Frame()->Action(shell::ID_EDIT_UNDO)->isEnabled());
  QVERIFY(!s.View()->Doc().IsModified());
}

void SafetyTest::dialogOkIsOneUndoStep_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QList<int>>("offsets");  // bytes the OK changes
  QTest::newRow("Optional Features") << int(shell::ID_OPTIONAL_FEATURES)
                                     << QList<int>{0x130, 0x135};
  QTest::newRow("Scan Info") << int(shell::ID_SCAN_INFO) << QList<int>{0x160, 0x165};
  QTest::newRow("Product Information") << int(shell::ID_PRODUCT_INFO)
                                       << QList<int>{0x3D2, 0x3D3};
}

// Each dialog's OK, changing several fields, is undone by one Ctrl+Z and
// done again by one Ctrl+Y: the image, and for the product choice the
// caption and the band limits too.
void SafetyTest::dialogOkIsOneUndoStep() {
  QFETCH(int, command);
  QFETCH(QList<int>, offsets);
  Session s;
  QVERIFY(s.app);
  // The image as Save would write it, the table stored into it.
  const auto image = [&s] { return s.View()->Doc().Capture().image; };
  const model16::MemoryImage before = image();
  const QString title = s.Frame()->Title();
  const radio::BandLimits limits = s.View()->Limits();
  test::WhenModal([](QWidget* w) {
    if (auto* options = qobject_cast<model16::ui::COptionalFeaturesDlg*>(w)) {
      options->List(model16::OptionList::kTimeOutTimer)->setCurrentIndex(39);
      QTest::mouseClick(options->BatterySaverBox(), Qt::LeftButton);
    } else if (auto* scan = qobject_cast<model16::ui::CScanInfoDlg*>(w)) {
      scan->PriorityList()->setCurrentIndex(2);
      scan->Box(1006)->setText(QStringLiteral("120"));
    } else if (auto* product = qobject_cast<shell::CProductInfoDlg*>(w)) {
      product->TypeList()->setCurrentIndex(1);
      product->BandList()->setCurrentIndex(1);
    }
    test::Press(w, QStringLiteral("1"));
  });
  QVERIFY(s.Frame()->RouteCommand(command));
  s.Activate();
  const model16::MemoryImage after = image();
  for (int offset : offsets)
    QVERIFY2(after[std::size_t(offset)] != before[std::size_t(offset)], qPrintable(QString::number(offset, 16)));
  QVERIFY(s.View()->Doc().IsModified());

  QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(s.Image() == before);
  QCOMPARE(s.Frame()->Title(), title);
  QCOMPARE(s.View()->Limits(), limits);
  QVERIFY(!s.View()->Doc().IsModified());
  QTest::keyClick(s.Grid(), Qt::Key_Y, Qt::ControlModifier);
  QVERIFY(s.Image() == after);
  QCOMPARE(s.Frame()->Title() != title, command == shell::ID_PRODUCT_INFO);
}

void SafetyTest::changesAreAskedAboutBeforeTheyGo_data() {
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("answer");      // "": the document is not modified
  QTest::addColumn<QStringList>("windows");  // the modal windows, in order
  QTest::addColumn<bool>("goesOn");
  const struct {
    const char* name;
    int command;
    QStringList after;   // windows once the question is passed
    QStringList before;  // windows before it
  } commands[] = {
      {"Close", shell::ID_FILE_CLOSE, {}, {}},
      {"Open", shell::ID_FILE_OPEN, {"file"}, {}},
      {"Read", shell::ID_READ, {}, {}},
      {"Language", shell::ID_LANGUAGE, {}, {"language"}},
      {"Exit", shell::ID_APP_EXIT, {}, {}},
  };
  for (const auto& c : commands) {
    QTest::addRow("%s, unmodified", c.name) << c.command << QString() << c.before + c.after << true;
    QTest::addRow("%s, Cancel", c.name)
        << c.command << "Cancel" << c.before + QStringList{"question"} << false;
    QTest::addRow("%s, Discard", c.name)
        << c.command << "Discard" << c.before + QStringList{"question"} + c.after << true;
  }
}

// Close, Open, Read, a language change and Exit ask "Save changes to ...?"
// about a modified document: Cancel keeps the document, its window, the
// program and its language as they were; Discard goes on. A document without
// changes is not asked about.
void SafetyTest::changesAreAskedAboutBeforeTheyGo() {
  QFETCH(int, command);
  QFETCH(QString, answer);
  QFETCH(QStringList, windows);
  QFETCH(bool, goesOn);
  Session s;
  QVERIFY(s.app);
  QStringList started;
  s.app->startProgram = [&started](const std::string& path) {
    started << QString::fromStdString(path);
    return true;
  };
  if (!answer.isEmpty()) s.Type(1, 1, QStringLiteral("150"));

  QStringList seen;
  Expect(windows, answer, &seen);
  s.Frame()->RouteCommand(command);
  QTRY_COMPARE(seen.filter(QRegularExpression(QStringLiteral("^[a-z]+$"))), windows);
  if (windows.contains(QStringLiteral("question"))) {
    QVERIFY(seen.contains(QStringLiteral("Save changes to Channel Information?")));
  }

  bool wentOn = false;
  switch (command) {
    case shell::ID_FILE_CLOSE: wentOn = !s.Child()->isVisible(); break;
    case shell::ID_FILE_OPEN: wentOn = seen.contains(QStringLiteral("file")); break;
    case shell::ID_READ:
      wentOn = s.View()->Transfer().ProcessDialog() != nullptr;
      if (wentOn) s.View()->Transfer().ProcessDialog()->reject();
      break;
    case shell::ID_LANGUAGE: wentOn = !started.isEmpty() && !s.Frame()->isVisible(); break;
    case shell::ID_APP_EXIT: wentOn = !s.Frame()->isVisible(); break;
  }
  QCOMPARE(wentOn, goesOn);
  if (goesOn) return;
  QVERIFY(s.Frame()->isVisible() && s.Child()->isVisible());
  QVERIFY(s.View()->Doc().IsModified());
  QCOMPARE(s.Row(1).first(), QStringLiteral("150.00000"));
  QCOMPARE(s.app->Ini().GetValue("Setup", "Language", ""), std::string("English"));
}

// The document window's title and the main window's caption show a '*' while
// there are unsaved changes; Save takes it away, undoing past the save
// brings it back and redoing to the saved state takes it away again.
void SafetyTest::titlesMarkUnsavedChanges() {
  Session s;
  QVERIFY(s.app);
  const QString caption = s.Frame()->Title();
  const auto titles = [&s] { return QStringList{s.Child()->windowTitle(), s.Frame()->windowTitle()}; };
  QCOMPARE(titles(), (QStringList{"Channel Information", caption}));
  s.Type(1, 1, QStringLiteral("150"));
  QCOMPARE(titles(), (QStringList{"Channel Information*", "*" + caption}));

  const QString path = QString::fromStdString(s.folder.Path("channels.dat"));
  test::WhenModal([&path](QWidget* w) { test::AcceptFileDialog(w, path); });
  QTest::keyClick(s.Grid(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(titles(), (QStringList{"channels.dat", caption}));
  s.Activate();
  QTest::keyClick(s.Grid(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(titles(), (QStringList{"channels.dat*", "*" + caption}));
  QTest::keyClick(s.Grid(), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(titles(), (QStringList{"channels.dat", caption}));
}

void SafetyTest::bandChangeMarksChannelsAndWriteAsks_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("tip");
  QTest::addColumn<QString>("message");  // after Product Information's OK
  QTest::addColumn<QString>("warning");  // before a write
  QTest::addColumn<QString>("writeAnyway");
  QTest::addColumn<QString>("cancel");
  QTest::newRow("English")
      << "English" << "Outside the band 146 - 174MHz"
      << "These channels lie outside the band 146 - 174MHz: 1, 6.\n"
         "Their frequencies are marked in the table; correct them before writing to the radio."
      << "These channels lie outside the band 146 - 174MHz: 1, 6.\n"
         "The radio may not work on them. Write anyway?"
      << "Write anyway" << "Cancel";
  QTest::newRow("Chinese")
      << "Chinese" << "超出频段 146 - 174MHz"
      << "以下信道超出频段 146 - 174MHz：1, 6。\n这些频率已在信道表中标出，请在写频前修改。"
      << "以下信道超出频段 146 - 174MHz：1, 6。\n电台可能无法在这些信道上工作。仍然写入吗？"
      << "仍然写入" << "取消";
}

// Product Information narrows the band, leaving out channels 1 and 6: a
// message names them, and their frequency cells are marked with the colour
// and a tooltip. Write then warns naming them: Cancel opens no port and
// offers no transfer; "Write anyway" offers it. A channel brought into the
// band loses its marks. With VARO_SCREENSHOT_DIR set, the main window, the
// message, the marked table and the question before the changes go are
// pictures for the documentation.
void SafetyTest::bandChangeMarksChannelsAndWriteAsks() {
  QFETCH(QString, language);
  QFETCH(QString, tip);
  QFETCH(QString, message);
  QFETCH(QString, warning);
  QFETCH(QString, writeAnyway);
  QFETCH(QString, cancel);
  const QString lang = language == QLatin1String("Chinese") ? "zh" : "en";
  Session s(language.toStdString());
  QVERIFY(s.app);
  s.Frame()->showNormal();
  s.Frame()->resize(1100, 680);
  const std::pair<long, const char*> channels[] = {
      {1, "145.0125"}, {2, "146.5"}, {3, "150.0125"}, {5, "162.55"}, {6, "136.025"}};
  for (const auto& [row, rx] : channels) s.Type(row, 1, QString::fromLatin1(rx));
  s.Click(2, 3);
  qobject_cast<QComboBox*>(s.Editor(3))->setCurrentIndex(13);
  QTest::keyClick(s.Editor(3), Qt::Key_Return);
  s.Click(3, 8);
  QTest::qWait(50);
  test::MaybeScreenshot(s.Frame(), QStringLiteral("varo16-main-%1.png").arg(lang));
  QTest::keyClick(s.Editor(8), Qt::Key_Escape);

  QStringList seen;
  test::WhenModal([&seen, lang](QWidget* w) {
    auto* product = qobject_cast<shell::CProductInfoDlg*>(w);
    QVERIFY(product);
    product->BandList()->setCurrentIndex(1);  // 146 - 174MHz
    test::Press(w, QStringLiteral("1"));
    test::WhenModal([&seen, lang](QWidget* box) {
      test::MaybeScreenshot(box, QStringLiteral("varo16-band-message-%1.png").arg(lang), true);
      seen << qobject_cast<QMessageBox*>(box)->text();
      qobject_cast<QMessageBox*>(box)->accept();
    });
  });
  s.app->OnProductInfo();
  QCOMPARE(seen, QStringList{message});
  s.Activate();
  QTest::qWait(50);
  test::MaybeScreenshot(s.Frame(), QStringLiteral("varo16-band-%1.png").arg(lang), true);

  shell::CMSFlexGrid* grid = s.Grid();
  QCOMPARE((QStringList{grid->CellMark(1, 1), grid->CellMark(1, 2), grid->CellMark(6, 1),
                        grid->CellMark(3, 1)}),
           (QStringList{tip, tip, tip, QString()}));
  QCOMPARE(grid->item(0, 0)->background().color(), shell::CMSFlexGrid::MarkColor());

  int ports = 0;
  s.View()->Transfer().SetMakePort([&ports] {
    ++ports;
    return CreateSerialPort();
  });
  for (const QString& button : {cancel, writeAnyway}) {
    seen.clear();
    test::WhenModal([&seen, button](QWidget* w) {
      seen << qobject_cast<QMessageBox*>(w)->text();
      test::Press(w, button);
    });
    QTest::keyClick(s.Frame(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(seen, QStringList{warning});
    s.Activate();
    QCOMPARE(s.View()->Transfer().ProcessDialog() != nullptr, button == writeAnyway);
  }
  s.View()->Transfer().ProcessDialog()->reject();
  QCOMPARE(ports, 0);

  s.Type(1, 1, QStringLiteral("150"));
  s.Type(1, 2, QStringLiteral("151"));
  QCOMPARE((QStringList{grid->CellMark(1, 1), grid->CellMark(1, 2)}),
           (QStringList{QString(), QString()}));
  QCOMPARE(s.View()->OutOfBand().size(), std::size_t{1});

  s.Activate();
  test::WhenModal([lang](QWidget* box) {
    test::MaybeScreenshot(box, QStringLiteral("varo16-save-changes-%1.png").arg(lang), true);
    qobject_cast<QMessageBox*>(box)->reject();
  });
  s.Frame()->RouteCommand(shell::ID_FILE_CLOSE);
  QVERIFY(s.Child()->isVisible());
}

QTEST_MAIN(SafetyTest)
#include "SafetyTest.moc"
