// Read and Write of a started Varo199V3 through its Process dialog, against
// the simulated 199-channel radio on a real pseudo-terminal that stands
// behind the program's own COM1 (VARO_PORT_VARO199V3_COM1).

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "Varo199Fixture.h"
#include "ini/Registry.h"
#include "model199/ChannelCodec.h"
#include "model199/ChannelTable.h"
#include "model199/MemoryImage.h"
#include "model199/Model199.h"
#include "qt/support/FleetWindow.h"
#include "qt/support/RadioBench.h"
#include "radio/Frequency.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CProcessDlg.h"
#include "shell/CommandIds.h"
#include "shell/TransferController.h"

using namespace varo;
using model199::MemoryImage;
using radio::CloneLink;
using radiosim::Fault;
using shell::TransferController;
using Outcome = CloneLink::Outcome;

namespace {

constexpr std::size_t kSize = 8192;
// The two stretches the link moves, written out on their own.
bool Moved(std::size_t at) { return at < 0x12D0 || at >= 0x1FC0; }

// What the radio holds: the priority channel and channels 3 and 199 with
// names, type 2 ("V199-U") with its third band, and every byte the link does
// not move different from a new document's.
MemoryImage RadioContents() {
  MemoryImage image = model199::NewImage();
  for (const std::size_t record : {std::size_t{0}, std::size_t{3}, std::size_t{199}}) {
    const auto count = static_cast<std::uint32_t>(45000000 + 2500 * record);  // in the band
    radio::CountToBcd(count, &image[16 * record]);
    radio::CountToBcd(count + 500000, &image[16 * record + 4]);
    image[16 * record + 12] = 0xDF;  // Middle, Lock
    for (std::size_t i = 0; i < 3; ++i)
      image[0x0C90 + 8 * record + i] = static_cast<std::uint8_t>(10 + record % 26 + i);
  }
  image[0x1FD6] = 1;
  image[0x1FD7] = 2;
  for (std::size_t i = 0; i < kSize; ++i)
    if (!Moved(i)) image[i] ^= 0x5A;
  return image;
}

// A started program and a radio behind its COM1.
struct Bench : test::Session199 {
  explicit Bench(const std::string& language = "English", Fault fault = {})
      : test::Session199(language),
        radio(radiosim::Radio199Config(), fault, RadioContents(), "VARO_PORT_VARO199V3_COM1") {
    if (Frame()) Frame()->UpdateCommandUI();
  }

  TransferController& Transfer() const { return View()->Transfer(); }

  // Offers the transfer through `choose`, presses OK and waits until the
  // dialog has gone; `during` runs once when the count shows `at`.
  bool Run(const std::function<void()>& choose, const QString& at = {},
           const std::function<void(shell::CProcessDlg*)>& during = {}) {
    choose();
    QPointer<shell::CProcessDlg> dialog = Transfer().ProcessDialog();
    if (!dialog) return false;
    range = dialog->ProgressBar()->maximum();
    QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, dialog, [&, dialog] {
      if (during && dialog->CountLabel()->text() == at) during(dialog);
    });
    QObject::connect(&Transfer(), &TransferController::transferFinished, dialog,
                     [this, dialog] { count = dialog->CountLabel()->text(); });
    QSignalSpy finished(&Transfer(), &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    return finished.wait(60000) && QTest::qWaitFor([&] { return !dialog; });
  }

  test::RadioBehindPort radio;
  int range = 0;
  QString count;
};

}  // namespace

Q_DECLARE_METATYPE(Fault::Kind)

class TransferTest199 : public QObject {
  Q_OBJECT

 private slots:
  void readAndWrite_data();
  void readAndWrite();
  void faultKeepsTableImageAndTitle_data();
  void faultKeepsTableImageAndTitle();
  void fleetOfFiveTheThirdFailing_data();
  void fleetOfFiveTheThirdFailing();
  void fleetStopWhileWaiting();
};

void TransferTest199::readAndWrite_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QStringList>("texts");  // read and write captions, port pane, title
  QTest::newRow("English") << "English"
                           << QStringList{"Read Data", "Write Data", "COM1: simulated radio",
                                          "Varo199V3 Programmer  [ Type:V199-U  Fre:450 - 470MHz ]"};
  QTest::newRow("Chinese") << "Chinese"
                           << QStringList{"读数据", "写数据", "COM1：模拟电台",
                                          "Varo199V3 写频软件  [ 类型:V199-U  频率:450 - 470MHz ]"};
}

// A full read from the Program menu and a write by Ctrl+W through the
// program's own view, against the radio behind its own COM1: the read
// replaces the two stretches of the image, fills the 200 rows and runs the
// band step; after edits to the table (and to bytes the link does not move),
// the write leaves the radio's memory decoding to exactly the edited table,
// and nothing outside the two stretches reaches the radio.
void TransferTest199::readAndWrite() {
  QFETCH(QString, language);
  QFETCH(QStringList, texts);
  const bool chinese = language == QLatin1String("Chinese");
  Bench b(language.toStdString());
  QVERIFY(b.app && b.app->NewDocumentFlag());
  shell::CMainFrame* frame = b.Frame();
  QCOMPARE(frame->PortPane()->text(), texts[2]);
  QCOMPARE(frame->PortPane()->toolTip().section(QLatin1Char('='), 0, 0),
           QStringLiteral("VARO_PORT_VARO199V3_COM1"));
  const MemoryImage before = b.Image();
  if (!qEnvironmentVariableIsEmpty("VARO_SCREENSHOT_DIR")) {
    frame->showNormal();  // the picture at the size of the other pictures
    frame->resize(1100, 680);
  }

  QString caption;
  QList<bool> held;  // commands that would change the document, during the read
  QAction* read = frame->Popup(129, 2)->actions().at(0);
  QVERIFY(b.Run([&] { read->trigger(); }, QStringLiteral("150"), [&](shell::CProcessDlg* dialog) {
    caption = dialog->windowTitle();
    for (int id : {shell::ID_READ, shell::ID_WRITE, shell::ID_FILE_NEW, shell::ID_FILE_OPEN,
                   shell::ID_FILE_SAVE, shell::ID_OPTIONAL_FEATURES, shell::ID_PRODUCT_INFO,
                   shell::ID_LANGUAGE})
      held << frame->IsCommandEnabled(id);
    test::MaybeScreenshot(frame, chinese ? "varo199-read-zh.png" : "varo199-read-en.png", true,
                          dialog);
  }));
  QCOMPARE(b.Transfer().LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE((QStringList{caption, b.count}), (QStringList{texts[0], "305"}));
  QCOMPARE(b.range, 305);
  QCOMPARE(held, QList<bool>(8, false));
  QVERIFY(frame->IsCommandEnabled(shell::ID_OPTIONAL_FEATURES));
  MemoryImage expected = RadioContents();
  for (std::size_t i = 0; i < kSize; ++i)
    if (!Moved(i)) expected[i] = before[i];
  QVERIFY(b.Image() == expected);
  QCOMPARE(test::TableTexts(*b.Grid()), test::TableTexts(model199::Model199(), expected, chinese));
  Registry registry("Software\\Varo199V3");
  QCOMPARE(registry.QueryDword("Type").value_or(99), 1u);
  QCOMPARE(registry.QueryDword("Field").value_or(99), 2u);
  QCOMPARE(frame->Title(), texts[3]);
  QVERIFY(!b.app->NewDocumentFlag());

  // Edited: a new channel 150 typed with its name, channel 3 deleted, the
  // priority channel's power; then every byte the link does not move.
  b.Activate();
  b.Type(151, model199::kColRx, QStringLiteral("455.5"));
  b.Type(151, model199::kColName, QStringLiteral("new-1"));
  b.Click(4, model199::kColRx);
  qobject_cast<QLineEdit*>(b.Editor(model199::kColRx))->clear();
  QTest::keyClick(b.Editor(model199::kColRx), Qt::Key_Return);
  b.Grid()->SetTextMatrix(1, model199::kColPower, chinese ? "低" : "Low");
  for (std::size_t i = 0; i < kSize; ++i)
    if (!Moved(i)) b.Image()[i] ^= 0xA5;
  const QStringList edited = test::TableTexts(*b.Grid());
  QVERIFY(b.Run([&] {
    QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier);
    caption = b.Transfer().ProcessDialog()->windowTitle();
  }));
  QCOMPARE(b.Transfer().LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE((QStringList{caption, b.count}), (QStringList{texts[1], "305"}));
  QCOMPARE(b.radio->CompletedWrites(), 1);
  const std::vector<std::uint8_t> written = b.radio->Memory();
  MemoryImage radio = model199::NewImage();
  std::copy(written.begin(), written.end(), radio.bytes.begin());
  QCOMPARE(test::TableTexts(model199::Model199(), radio, chinese), edited);
  QCOMPARE(edited.mid(150 * 7, 7).last(), QStringLiteral("NEW-1"));
  const MemoryImage old = RadioContents();
  for (std::size_t i = 0; i < kSize; ++i)
    QVERIFY2(written[i] == (Moved(i) ? b.Image()[i] : old[i]), qPrintable(QString::number(i, 16)));
}

void TransferTest199::faultKeepsTableImageAndTitle_data() {
  QTest::addColumn<bool>("read");
  QTest::addColumn<Fault::Kind>("fault");
  QTest::addColumn<int>("frame");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<int>("outcome");
  QTest::addColumn<int>("message");
  QTest::newRow("short reply in the settings block")
      << true << Fault::Kind::kShortReply << 606 << "OK" << int(Outcome::kInterrupted) << 61454;
  QTest::newRow("read not acknowledged")
      << true << Fault::Kind::kNoAck << 5 << "OK" << int(Outcome::kInterrupted) << 61454;
  QTest::newRow("write not acknowledged")
      << false << Fault::Kind::kNoAck << 300 << "OK" << int(Outcome::kInterrupted) << 61454;
  QTest::newRow("garbled handshake") << true << Fault::Kind::kGarbage << 0 << "Cancel"
                                     << int(Outcome::kHandshakeFailed) << 61451;
}

// The message (captioned with the application name) is answered; the
// table, the image (but for a write's commit of the table), the title and
// the new-document flag stay as they were.
void TransferTest199::faultKeepsTableImageAndTitle() {
  QFETCH(bool, read);
  QFETCH(Fault::Kind, fault);
  QFETCH(int, frame);
  QFETCH(QString, answer);
  QFETCH(int, outcome);
  QFETCH(int, message);
  Bench b("English", Fault{fault, frame});
  QVERIFY(b.app);
  b.Type(1, model199::kColRx, QStringLiteral("145.0125"));
  MemoryImage image = b.Image();
  if (!read) model199::TableToImage(*b.Grid(), image);
  const QStringList table = test::TableTexts(*b.Grid());
  const QString title = b.Frame()->Title();

  QStringList shown;
  test::Answer(&shown, answer);
  QVERIFY(b.Run([&] { read ? b.Transfer().Read() : b.Transfer().Write(); }));
  QCOMPARE(int(*b.Transfer().LastOutcome()), outcome);
  QCOMPARE(shown, (QStringList{"Varo Radio", b.app->Str(message)}));
  QVERIFY(b.Image() == image);
  QCOMPARE(test::TableTexts(*b.Grid()), table);
  QCOMPARE(b.Frame()->Title(), title);
  QVERIFY(b.app->NewDocumentFlag() && !b.Transfer().busy());
}

void TransferTest199::fleetOfFiveTheThirdFailing_data() {
  QTest::addColumn<QString>("language");
  QTest::newRow("English") << "English";
  QTest::newRow("Chinese") << "Chinese";
}

// Write to Several Radios: five radios, the third losing the frame of
// channel 1 (write frame 2, after the priority channel's two).
void TransferTest199::fleetOfFiveTheThirdFailing() {
  QFETCH(QString, language);
  test::CheckFleetOfFive<test::Session199>(
      language, radiosim::Radio199Config(), "VARO_PORT_VARO199V3_COM1", 2, 2, model199::kColRx,
      QStringLiteral("150.0125"),
      QStringLiteral("varo199-fleet-%1.png").arg(language == QLatin1String("English") ? "en" : "zh"));
}

void TransferTest199::fleetStopWhileWaiting() {
  test::CheckFleetStopWhileWaiting<test::Session199>("VARO_PORT_VARO199V3_COM1",
                                                    QStringLiteral("/enHelp/Varo199V3/32810.html"));
}

QTEST_MAIN(TransferTest199)
#include "TransferTest199.moc"
