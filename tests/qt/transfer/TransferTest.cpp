// Read, Write and Verify with Radio through the Process dialog of both
// started programmers, against the simulated radio on a real pseudo-terminal
// that stands behind the program's COM1; Write to Several Radios against a
// fleet of them.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "ini/Registry.h"
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "model16/Model16.h"
#include "model199/MemoryImage.h"
#include "platform/SerialPort.h"
#include "qt/support/BothPrograms.h"
#include "qt/support/FleetWindow.h"
#include "qt/support/RadioBench.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"
#include "radiosim/CloneRadio.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CProcessDlg.h"
#include "shell/CVerifyResultDlg.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/RadioDocument.h"
#include "shell/TransferController.h"

using namespace varo;
using radio::MemoryImage;
using radiosim::Fault;
using shell::TransferController;
using test::Run;
using test::SessionBase;
using Outcome = radio::CloneLink::Outcome;

namespace {

// The radio behind a programmer's COM1 and what a transfer moves.
struct Radio {
  QString name;  // the program
  QString type;  // the product type the radio holds
  radiosim::RadioConfig config;
  std::string variable;                          // puts it behind COM1
  std::function<bool(std::size_t)> read;         // the bytes a read replaces
  std::function<bool(std::size_t)> write;        // the bytes a write sends
  std::function<bool(std::size_t)> beyondTable;  // bytes no channel row holds
  QStringList blocks;                            // the count after a read and a write
  long newRow;                                   // a row the radio leaves empty
  MemoryImage contents;
};

// What the radio holds: channels in the band (the 199-channel radio's
// priority channel and channels 3 and 199, with names; the 16-channel radio's
// channels 1 to 3), type 2 with its third band (450 - 470MHz), and every byte a
// read does not replace different from a new document's.
Radio RadioOf(const QString& program) {
  Radio r;
  if (program == QLatin1String("16")) {
    r = {"Varo16", "V16-U", radiosim::Radio16Config(), "VARO_PORT_COM1",
         [](std::size_t at) { return at < 0x3F8; },
         [](std::size_t at) { return at < 0x3E0 || at == 0x3F0; },  // and the Call Tone
         [](std::size_t at) { return at >= 0x3E0; }, {"63", "62"}, 5, model16::NewImage()};
    for (std::size_t ch = 0; ch < 3; ++ch) {
      const auto count = static_cast<std::uint32_t>(45000000 + 12500 * ch);
      radio::CountToBcd(count, &r.contents[0x010 + 16 * ch]);
      radio::CountToBcd(count + 500000, &r.contents[0x014 + 16 * ch]);
    }
    r.contents[0x3D2] = 1;
    r.contents[0x3D3] = 2;
  } else {
    // The two stretches the link moves, written out on their own.
    const auto moved = [](std::size_t at) { return at < 0x12D0 || at >= 0x1FC0; };
    r = {"Varo199V3", "V199-U", radiosim::Radio199Config(), "VARO_PORT_VARO199V3_COM1",
         moved, moved, [moved](std::size_t at) { return !moved(at); }, {"305", "305"}, 151,
         model199::NewImage()};
    for (const std::size_t record : {std::size_t{0}, std::size_t{3}, std::size_t{199}}) {
      const auto count = static_cast<std::uint32_t>(45000000 + 2500 * record);
      radio::CountToBcd(count, &r.contents[16 * record]);
      radio::CountToBcd(count + 500000, &r.contents[16 * record + 4]);
      r.contents[16 * record + 12] = 0xDF;  // Middle, Lock
      for (std::size_t i = 0; i < 3; ++i)
        r.contents[0x0C90 + 8 * record + i] = static_cast<std::uint8_t>(10 + record % 26 + i);
    }
    r.contents[0x1FD6] = 1;
    r.contents[0x1FD7] = 2;
  }
  for (std::size_t i = 0; i < r.contents.size(); ++i)
    if (!r.read(i)) r.contents[i] ^= 0x5A;
  return r;
}

// What a transfer showed.
struct Ran {
  bool ended = false;  // finished, and the Process dialog has gone
  QString caption;
  int range = 0;
  QString count;       // the dialog's last count
};

// Offers a transfer through `choose`, presses OK and waits until the dialog
// has gone; `step` runs at each step of the progress bar.
Ran Transfer(SessionBase& s, const std::function<void()>& choose,
             const std::function<void(shell::CProcessDlg*, int)>& step = {}) {
  Ran ran;
  TransferController& transfer = s.ChannelView()->Transfer();
  choose();
  QPointer<shell::CProcessDlg> dialog = transfer.ProcessDialog();
  if (!dialog) return ran;
  ran.caption = dialog->windowTitle();
  ran.range = dialog->ProgressBar()->maximum();
  if (step) {
    QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, dialog,
                     [step, dialog](int value) { step(dialog, value); });
  }
  QObject::connect(&transfer, &TransferController::transferFinished, dialog,
                   [&ran, dialog] { ran.count = dialog->CountLabel()->text(); });
  QSignalSpy finished(&transfer, &TransferController::transferFinished);
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  ran.ended = finished.wait(60000) && QTest::qWaitFor([&] { return !dialog; });
  if (dialog) QObject::disconnect(&transfer, nullptr, dialog, nullptr);
  return ran;
}

// The commands a running transfer holds back, and whether each is enabled in
// every menu item and toolbar button that carries it, and in the tree.
QList<bool> GuardedStates(shell::CMainFrame* frame, bool scanInfo) {
  QList<int> ids = {shell::ID_READ, shell::ID_WRITE, shell::ID_FILE_NEW, shell::ID_FILE_OPEN,
                    shell::ID_FILE_SAVE, shell::ID_FILE_SAVE_AS, shell::ID_FILE_CLOSE,
                    shell::ID_LANGUAGE, shell::ID_COM_SETUP, shell::ID_PRODUCT_INFO,
                    shell::ID_OPTIONAL_FEATURES, shell::ID_FILE_PRINT,
                    shell::ID_FILE_PRINT_PREVIEW, shell::ID_FILE_PRINT_PDF,
                    shell::ID_FILE_PRINT_SETUP, shell::ID_APP_ABOUT};
  if (scanInfo) ids << shell::ID_SCAN_INFO;
  QList<bool> states;
  for (int id : ids) {
    QList<bool> carriers;
    for (QAction* action : frame->findChildren<QAction*>())
      if (action->property("commandId").toInt() == id) carriers << action->isEnabled();
    states << (!carriers.isEmpty() && !carriers.contains(false));
  }
  QTreeWidgetItem* pages = frame->ControlBar()->Tree()->topLevelItem(0);
  states << !pages->child(0)->isDisabled() << !pages->child(2)->isDisabled();
  return states;
}

// The table `model` decodes from the radio's memory.
QStringList Held(const radio::RadioModel& model, const std::vector<std::uint8_t>& memory,
                 bool chinese) {
  MemoryImage image(model.imageSize);
  image.bytes = memory;
  return test::TableTexts(model, image, chinese);
}

}  // namespace

Q_DECLARE_METATYPE(Fault::Kind)

class TransferTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void readAndWriteFromTheMenus_data() { test::ProgramsAndLanguages(); }
  void readAndWriteFromTheMenus();
  void faultKeepsTableImageAndTitle_data();
  void faultKeepsTableImageAndTitle();
  void cancelBeforeOkNeverOpensThePort_data() { test::Programs(); }
  void cancelBeforeOkNeverOpensThePort();
  void cancelDuringWriteEndsAfterTheBlock();
  void editorsOpenedAroundATransfer();
  void verifyNamesWhatTheRadioHoldsOtherwise_data();
  void verifyNamesWhatTheRadioHoldsOtherwise();
  void fleetOfFiveTheThirdFailing_data() { test::ProgramsAndLanguages(); }
  void fleetOfFiveTheThirdFailing();
  void fleetStopWhileWaiting_data() { test::Programs(); }
  void fleetStopWhileWaiting();
};

// Read from the Program menu and Write by Ctrl+W, through the program's own
// view against the radio behind its own COM1. From the first progress step
// until the Process dialog has gone, the guarded commands are disabled. The
// read replaces the received range of the image, fills the table and runs the
// band step, and is one undo step that leaves nothing unsaved. The write,
// after edits to the table (a new channel, a deleted one, a channel changed
// in the table only) and to every byte no channel row holds, leaves the
// radio's memory decoding to exactly the edited table and sends nothing else
// but the Call Tone.
void TransferTest::readAndWriteFromTheMenus() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  const bool chinese = language == QLatin1String("Chinese");
  const bool is16 = program == QLatin1String("16");
  Run(program, language.toStdString(), [&](SessionBase& s, long first) {
    const Radio r = RadioOf(program);
    test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
    shell::CMainFrame* frame = s.Frame();
    frame->UpdateCommandUI();
    QVERIFY(s.Application().NewDocumentFlag());
    QCOMPARE(frame->PortPane()->text(), chinese ? QStringLiteral("COM1：模拟电台")
                                                : QStringLiteral("COM1: simulated radio"));
    QCOMPARE(frame->PortPane()->toolTip().section(QLatin1Char('='), 0, 0),
             QString::fromStdString(r.variable));
    if (!qEnvironmentVariableIsEmpty("VARO_SCREENSHOT_DIR")) {
      frame->showNormal();  // the picture at the size of the other pictures
      frame->resize(1100, 680);
    }
    TransferController& transfer = s.ChannelView()->Transfer();
    const radio::RadioModel& model = s.ChannelView()->Model();
    const QList<bool> allOn(is16 ? 19 : 18, true), allOff(allOn.size(), false);
    QCOMPARE(GuardedStates(frame, is16), allOn);
    const MemoryImage before = s.Image();
    QSignalSpy busy(&transfer, &TransferController::busyChanged);
    QList<bool> during;
    const auto guarded = [&](shell::CProcessDlg*, int value) {
      if (value == 1) during = GuardedStates(frame, is16);
    };

    QAction* read = frame->Popup(129, 2)->actions().at(0);
    Ran ran = Transfer(s, [&] {
      read->trigger();
      transfer.Write();  // while the dialog is up the direction stays
      QCOMPARE(transfer.direction(), TransferController::Direction::kRead);
    }, [&](shell::CProcessDlg* dialog, int value) {
      guarded(dialog, value);
      if (!is16 && dialog->CountLabel()->text() == QLatin1String("150")) {
        test::MaybeScreenshot(frame, chinese ? "varo199-read-zh.png" : "varo199-read-en.png",
                              true, dialog);
      }
    });
    QVERIFY(ran.ended);
    QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
    QCOMPARE((QStringList{ran.caption, ran.count, QString::number(ran.range)}),
             (QStringList{chinese ? "读数据" : "Read Data", r.blocks[0], r.blocks[0]}));
    QCOMPARE(during, allOff);
    QCOMPARE(GuardedStates(frame, is16), allOn);
    QCOMPARE(busy.count(), 2);  // busy from the offer to the end
    MemoryImage expected = r.contents;
    for (std::size_t i = 0; i < expected.size(); ++i)
      if (!r.read(i)) expected[i] = before[i];
    QVERIFY(s.Image() == expected);
    QCOMPARE(test::TableTexts(*s.Grid()), test::TableTexts(model, expected, chinese));
    QVERIFY(frame->IdleText().contains(QRegularExpression(
        chinese ? "^已从 COM1 读频，用时 \\d+\\.\\d 秒$" : "^Read from COM1 in \\d+\\.\\d s$")));
    QVERIFY(!s.ChannelView()->Doc().IsModified() && s.ChannelView()->Doc().CanUndo());
    Registry registry("Software\\" + r.name.toStdString());
    QCOMPARE(registry.QueryDword("Type").value_or(99), 1u);
    QCOMPARE(registry.QueryDword("Field").value_or(99), 2u);
    QCOMPARE(frame->Title(), (chinese ? QStringLiteral("%1 写频软件  [ 类型:%2  频率:450 - 470MHz ]")
                                      : QStringLiteral("%1 Programmer  [ Type:%2  Fre:450 - 470MHz ]"))
                                 .arg(r.name, r.type));
    QCOMPARE(s.ChannelView()->Limits(), (radio::BandLimits{45000000, 47000000}));
    QVERIFY(!s.Application().NewDocumentFlag());

    s.Activate();
    s.Type(r.newRow, 1, QStringLiteral("455.5"));
    if (!is16) s.Type(r.newRow, 7, QStringLiteral("new-1"));
    s.Click(first + 2, 1);  // channel 3 deleted
    qobject_cast<QLineEdit*>(s.Editor(1))->clear();
    QTest::keyClick(s.Editor(1), Qt::Key_Return);
    s.Grid()->SetTextMatrix(1, 1, "455.50000");
    s.Grid()->SetTextMatrix(1, 5, chinese ? "低" : "Low");
    for (std::size_t i = 0; i < s.Image().size(); ++i)
      if (r.beyondTable(i)) s.Image()[i] ^= 0xA5;
    const QStringList edited = test::TableTexts(*s.Grid());
    if (!is16) QCOMPARE(s.Row(r.newRow).last(), QStringLiteral("NEW-1"));
    ran = Transfer(s, [frame] { QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier); }, guarded);
    QVERIFY(ran.ended);
    QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
    QCOMPARE((QStringList{ran.caption, ran.count}),
             (QStringList{chinese ? "写数据" : "Write Data", r.blocks[1]}));
    QCOMPARE(during, allOff);
    QCOMPARE(GuardedStates(frame, is16), allOn);
    QCOMPARE(radio->CompletedWrites(), 1);
    QVERIFY(frame->IdleText().contains(QRegularExpression(
        chinese ? "^已写入 COM1，用时 \\d+\\.\\d 秒$" : "^Written to COM1 in \\d+\\.\\d s$")));
    const std::vector<std::uint8_t> written = radio->Memory();
    QCOMPARE(Held(model, written, chinese), edited);
    for (std::size_t i = 0; i < written.size(); ++i) {
      QVERIFY2(written[i] == (r.write(i) ? s.Image()[i] : r.contents[i]),
               qPrintable(QString::number(i, 16)));
    }
  });
}

void TransferTest::faultKeepsTableImageAndTitle_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("language");
  QTest::addColumn<bool>("read");
  QTest::addColumn<Fault::Kind>("fault");
  QTest::addColumn<int>("frame");
  QTest::addColumn<QString>("port");    // where COM1 leads instead of the radio
  QTest::addColumn<QString>("answer");
  QTest::addColumn<int>("outcome");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("status");
  const QString interrupt = "Program Interrupt, Please reset the radio and try again";
  const QString noPort = "Could not Open the Port,Please check whether the Port are occupied or "
                         "the device are ok\nNothing at /dev/varo-no-such-port: the cable is "
                         "unplugged, or the port map points elsewhere (varo-cli ports lists the "
                         "serial devices).";
  const QString garbled = "Communication Error,Please check all the connections and the radio power";
  const QString readFailed = "Read from COM1 failed";
  const QString writeFailed = "Write to COM1 failed; the radio may hold part of the data";
  const auto row = [](const char* name, const char* program, bool read, Fault::Kind fault,
                      int frame) -> QTestData& {
    return QTest::newRow(name) << program << "English" << read << fault << frame;
  };
  const auto port = [](const char* name, const char* program, const char* language, bool read)
      -> QTestData& {
    return QTest::newRow(name) << program << language << read << Fault::Kind::kNone << 0
                               << "/dev/varo-no-such-port" << (*language == 'E' ? "OK" : "确定")
                               << int(Outcome::kPortNotOpened);
  };
  row("Varo16 short read reply", "16", true, Fault::Kind::kShortReply, 5)
      << "" << "OK" << int(Outcome::kInterrupted) << interrupt << readFailed;
  row("Varo16 write not acknowledged", "16", false, Fault::Kind::kNoAck, 5)
      << "" << "OK" << int(Outcome::kInterrupted) << interrupt << writeFailed;
  row("Varo16 garbled handshake", "16", true, Fault::Kind::kGarbage, 5)
      << "" << "Cancel" << int(Outcome::kHandshakeFailed) << garbled << readFailed;
  row("Varo199V3 short reply in the settings block", "199", true, Fault::Kind::kShortReply, 606)
      << "" << "OK" << int(Outcome::kInterrupted) << interrupt << readFailed;
  row("Varo199V3 read not acknowledged", "199", true, Fault::Kind::kNoAck, 5)
      << "" << "OK" << int(Outcome::kInterrupted) << interrupt << readFailed;
  row("Varo199V3 write not acknowledged", "199", false, Fault::Kind::kNoAck, 300)
      << "" << "OK" << int(Outcome::kInterrupted) << interrupt << writeFailed;
  row("Varo199V3 garbled handshake", "199", true, Fault::Kind::kGarbage, 0)
      << "" << "Cancel" << int(Outcome::kHandshakeFailed) << garbled << readFailed;
  // 61453 as the module has it, then why and what to do.
  port("Varo16 no such port", "16", "English", true) << noPort << readFailed;
  port("Varo199V3 no such port", "199", "English", true) << noPort << readFailed;
  port("Varo16 no such port, Chinese", "16", "Chinese", false)
      << "无法打开串口，请检查串口是否被占用或设备是否正常。\n/dev/varo-no-such-port "
         "处没有设备：编程线未连接，或端口设置指向别处。（varo-cli ports 列出所有串口设备）"
      << "向 COM1 写频失败，电台中可能只有部分数据";
}

// The message (captioned with the application name) is answered; the table,
// the image (but for a write's commit of the table), the title and the
// new-document flag stay as they were, and the status bar says what failed.
void TransferTest::faultKeepsTableImageAndTitle() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  QFETCH(bool, read);
  QFETCH(Fault::Kind, fault);
  QFETCH(int, frame);
  QFETCH(QString, port);
  QFETCH(QString, answer);
  QFETCH(int, outcome);
  QFETCH(QString, message);
  QFETCH(QString, status);
  Run(program, language.toStdString(), [&](SessionBase& s, long first) {
    const Radio r = RadioOf(program);
    test::RadioBehindPort radio(r.config, Fault{fault, frame}, r.contents, r.variable);
    if (!port.isEmpty()) setenv(r.variable.c_str(), port.toLocal8Bit().constData(), 1);
    s.Type(first, 1, QStringLiteral("145.0125"));
    MemoryImage image = s.Image();
    if (!read) s.ChannelView()->Model().tableToImage(*s.Grid(), image);
    const QStringList table = test::TableTexts(*s.Grid());
    const QString title = s.Frame()->Title();
    TransferController& transfer = s.ChannelView()->Transfer();

    QStringList shown;
    test::Answer(&shown, answer);
    QVERIFY(Transfer(s, [&] { read ? transfer.Read() : transfer.Write(); }).ended);
    QCOMPARE(int(*transfer.LastOutcome()), outcome);
    QCOMPARE(shown, (QStringList{s.Application().AppName(), message}));
    QCOMPARE(s.Application().AppName(), language == QLatin1String("Chinese")
                                            ? QStringLiteral("Varo 无线电")
                                            : QStringLiteral("Varo Radio"));
    QVERIFY(s.Image() == image);
    QCOMPARE(test::TableTexts(*s.Grid()), table);
    QCOMPARE(s.Frame()->Title(), title);
    QVERIFY(s.Application().NewDocumentFlag() && !transfer.busy());
    QCOMPARE(s.Frame()->IdleText(), status);
  });
}

// Cancel, Esc or closing the window before OK: no port is made, nothing is
// sent, the controller is free again.
void TransferTest::cancelBeforeOkNeverOpensThePort() {
  QFETCH(QString, program);
  Run(program, "English", [&](SessionBase& s, long) {
    const Radio r = RadioOf(program);
    test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
    TransferController& transfer = s.ChannelView()->Transfer();
    int ports = 0;
    transfer.SetMakePort([&ports] {
      ++ports;
      return CreateSerialPort();
    });
    for (int how = 0; how < 3; ++how) {
      transfer.Write();
      QPointer<shell::CProcessDlg> dialog = transfer.ProcessDialog();
      QVERIFY(dialog && dialog->isVisible() && transfer.busy());
      if (how == 0) QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
      if (how == 1) QTest::keyClick(dialog, Qt::Key_Escape);
      if (how == 2) dialog->close();
      QVERIFY(!transfer.busy());
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QVERIFY(!dialog);
    }
    QTest::qWait(50);
    QCOMPARE(ports, 0);
    QVERIFY(radio->Received().empty());
    QVERIFY(!transfer.LastOutcome());
  });
}

// Cancel, or a close request to the main window, during a Varo16 write: the
// link stops at its next pump, whole blocks only have gone out, and a
// requested close happens once the transfer has ended.
void TransferTest::cancelDuringWriteEndsAfterTheBlock() {
  for (bool closeWindow : {false, true}) {
    test::Session s;
    const Radio r = RadioOf("16");
    test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
    TransferController& transfer = s.View()->Transfer();
    const auto cancel = [&](shell::CProcessDlg* dialog, int value) {
      if (value != 10) return;
      QTimer::singleShot(0, dialog, [&, dialog] {
        closeWindow ? void(s.Frame()->close())
                    : QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
      });
    };
    QVERIFY(Transfer(s, [&] { transfer.Write(); }, cancel).ended);
    QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCancelled));
    const std::size_t frame = 4 + 8;                              // "W", address, length, data
    QCOMPARE(radio->Received().size() % frame, std::size_t(10));  // the handshake
    QVERIFY(radio->Received().size() <= 10 + 24 * frame);
    QCOMPARE(radio->CompletedWrites(), 0);
    QTRY_COMPARE(s.Frame()->isVisible(), !closeWindow);
  }
}

// An editor opened once the Process dialog is up goes into the table before
// a write stores the table; one opened while a read runs is committed before
// the table is refilled, so that leaving its cell later cannot write the
// stale text over the received channels.
void TransferTest::editorsOpenedAroundATransfer() {
  const Radio r = RadioOf("16");
  {
    test::Session s;
    test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
    TransferController& transfer = s.View()->Transfer();
    QVERIFY(Transfer(s, [&] {
      transfer.Write();
      s.Click(3, model16::kColRx);
      QTest::keyClicks(s.Editor(model16::kColRx), QStringLiteral("145.5"));
    }).ended);
    QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
    QCOMPARE(radio::BcdToFrequencyText(radio->Memory().data() + 0x030), std::string("145.50000"));
    QCOMPARE(s.Row(3).first(), QStringLiteral("145.50000"));
  }
  {
    test::Session s;
    test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
    TransferController& transfer = s.View()->Transfer();
    bool opened = false;
    QVERIFY(Transfer(s, [&] { transfer.Read(); }, [&](shell::CProcessDlg* dialog, int value) {
      if (value != 10) return;
      QTimer::singleShot(0, dialog, [&] {
        s.Click(3, model16::kColRx);
        QTest::keyClicks(s.Editor(model16::kColRx), QStringLiteral("150"));
        opened = true;
      });
    }).ended);
    QVERIFY(opened);  // during the read
    QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
    const QStringList received = test::TableTexts(model16::Model16(), r.contents, false);
    QVERIFY(!s.Editor(model16::kColRx)->isVisible());
    QCOMPARE(test::TableTexts(*s.Grid()), received);
    s.Grid()->SetRow(5);  // leaving the cell commits nothing more
    QCOMPARE(test::TableTexts(*s.Grid()), received);
  }
}

void TransferTest::verifyNamesWhatTheRadioHoldsOtherwise_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QStringList>("matches");  // summary, status
  QTest::addColumn<QStringList>("differs");  // summary, differences..., status
  QTest::newRow("English")
      << "English"
      << QStringList{QStringLiteral("The radio matches the document."),
                     "^Verified with COM1 in \\d+\\.\\d s: the radio matches$"}
      << QStringList{"The radio differs from the document in 2 places:",
                     "Channel 2, QT/DQT Dec: document None, radio 67.0",
                     "Sequelch Level: document 4, radio 6",
                     "^Verified with COM1 in \\d+\\.\\d s: 2 differences$"};
  QTest::newRow("Chinese")
      << "Chinese"
      << QStringList{QStringLiteral("电台与文档一致。"), "^已与 COM1 核对，用时 \\d+\\.\\d 秒：电台与文档一致$"}
      << QStringList{"电台与文档有 2 处不同：", "信道 2，QT/DQT解码：文档 无，电台 67.0",
                     "静噪电平：文档 4，电台 6", "^已与 COM1 核对，用时 \\d+\\.\\d 秒：2 处不同$"};
}

// Verify with Radio from Varo16's Program menu, after a read: the radio
// matches. A radio whose memory then differs in channel 2's decode tone and
// in the squelch level is named by exactly those. The document stays as it
// was.
void TransferTest::verifyNamesWhatTheRadioHoldsOtherwise() {
  QFETCH(QString, language);
  QFETCH(QStringList, matches);
  QFETCH(QStringList, differs);
  test::Session s(language.toStdString());
  const Radio r = RadioOf("16");
  test::RadioBehindPort radio(r.config, {}, r.contents, r.variable);
  // Runs the command's transfer and, for Verify, notes what the result
  // window shows.
  const auto run = [&](int command) {
    QStringList shown;
    if (command == shell::ID_VERIFY) test::WhenModal([&shown, &language](QWidget* w) {
      auto* result = qobject_cast<shell::CVerifyResultDlg*>(w);
      if (!result) return;
      shown << result->Summary() << result->Differences();
      if (!result->Differences().isEmpty()) {
        test::MaybeScreenshot(w, QStringLiteral("varo16-verify-%1.png")
                                     .arg(language == QLatin1String("English") ? "en" : "zh"),
                              true);
      }
      test::Press(w, QStringLiteral("1"));
    });
    if (!Transfer(s, [&] { s.Frame()->RouteCommand(command); }).ended) shown << "timed out";
    s.Activate();
    return shown;
  };
  run(shell::ID_READ);
  const MemoryImage image = s.Image();
  const QStringList table = test::TableTexts(*s.Grid());
  QCOMPARE(run(shell::ID_VERIFY), matches.mid(0, 1));
  QVERIFY(s.Frame()->IdleText().contains(QRegularExpression(matches.last())));

  MemoryImage changed = r.contents;
  radio::MemoryGrid grid(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(changed, grid, false);
  grid.SetTextMatrix(2, model16::kColDec, "67.0");
  model16::TableToImage(grid, changed);
  changed[model16::kSquelchLevel] = 6;
  radio->SetMemory(changed.bytes);
  QCOMPARE(run(shell::ID_VERIFY), differs.mid(0, differs.size() - 1));
  QVERIFY(s.Frame()->IdleText().contains(QRegularExpression(differs.last())));
  QVERIFY(s.Image() == image);
  QCOMPARE(test::TableTexts(*s.Grid()), table);
  QVERIFY(!s.View()->Doc().IsModified());
}

// Write to Several Radios: five radios, the third losing the frame of
// channel 1 (write frame 2; in Varo199V3, after the priority channel's two).
void TransferTest::fleetOfFiveTheThirdFailing() {
  QFETCH(QString, program);
  QFETCH(QString, language);
  const bool chinese = language == QLatin1String("Chinese");
  Run(program, language.toStdString(), [&](SessionBase& s, long first) {
    const Radio r = RadioOf(program);
    test::CheckFleetOfFive(s, chinese, r.config, r.variable, first, QStringLiteral("145.0125"),
                           QStringLiteral("varo%1-fleet-%2.png").arg(program, chinese ? "zh" : "en"));
  });
}

void TransferTest::fleetStopWhileWaiting() {
  QFETCH(QString, program);
  Run(program, "English", [&](SessionBase& s, long) {
    test::CheckFleetStopWhileWaiting(
        s, RadioOf(program).variable,
        program == QLatin1String("16") ? "/enHelp/32810.html" : "/enHelp/Varo199V3/32810.html");
  });
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
