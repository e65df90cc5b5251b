// Read and Write through the Process dialog and the transfer controller of a
// started Varo16, against the simulated radio on a real pseudo-terminal that
// stands behind COM1.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "Varo16Fixture.h"
#include "qt/support/FleetWindow.h"
#include "qt/support/RadioBench.h"
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "shell/CProcessDlg.h"
#include "shell/CVerifyResultDlg.h"
#include "shell/RadioDocument.h"
#include "model16/Layout.h"
#include "model16/ui/CVaro_16View.h"
#include "shell/TransferController.h"
#include "ini/Registry.h"
#include "platform/SerialPort.h"
#include "model16/Model16.h"
#include "radio/Frequency.h"
#include "radiosim/CloneRadio.h"
#include "radiosim/SimulatedRadio.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"

using namespace varo;
using radio::CloneLink;
using radio::GridControl;
using model16::kImageSize;
using model16::MemoryImage;
using model16::NewImage;
using shell::TransferController;
using Outcome = CloneLink::Outcome;
using radiosim::Fault;

namespace {

// The bytes a read replaces: 0x000-0x3F7.
constexpr std::size_t kReadEnd = 0x3F8;

// What the radio holds: three channels, type 2 ("V16-U") with its third band,
// and bytes past the read range that differ from a new document's.
MemoryImage RadioContents() {
  MemoryImage image = NewImage();
  for (std::size_t ch = 0; ch < 3; ++ch) {
    const auto count = static_cast<std::uint32_t>(45000000 + 12500 * ch);
    radio::CountToBcd(count, &image[0x010 + 16 * ch]);
    radio::CountToBcd(count + 500000, &image[0x014 + 16 * ch]);
  }
  image[0x3D2] = 1;
  image[0x3D3] = 2;
  for (std::size_t i = kReadEnd; i < kImageSize; ++i) image[i] ^= 0x5A;
  return image;
}

// A started program and a radio behind COM1; besides the view's own, a
// controller on the view that counts the ports it makes and can be given
// another port name.
struct Bench : test::Session {
  explicit Bench(const std::string& language = "English", Fault fault = {})
      : test::Session(language),
        radio(radiosim::Radio16Config(), fault, RadioContents(), "VARO_PORT_COM1") {
    TransferController::Hooks hooks;
    hooks.commitCell = [this] { View()->CommitCell(); };
    hooks.portName = [this] { return portName.isEmpty() ? View()->PortName() : portName; };
    hooks.makePort = [this] {
      ++portsMade;
      return CreateSerialPort();
    };
    controller = new TransferController(*app, model16::Model16(), Image(), View()->Grid(), hooks,
                                        View());
  }

  // Offers the transfer and presses OK; true when it ended in time.
  bool Run(bool read) {
    read ? controller->Read() : controller->Write();
    dialog = controller->ProcessDialog();
    QSignalSpy finished(controller, &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    return finished.wait(60000);
  }

  test::RadioBehindPort radio;
  TransferController* controller = nullptr;
  QPointer<shell::CProcessDlg> dialog;
  QString portName;
  int portsMade = 0;
};

// The commands a running transfer holds back, and whether each is enabled in
// every menu item and toolbar button that carries it, and in the tree.
QList<bool> GuardedStates(shell::CMainFrame* frame) {
  QList<bool> states;
  for (int id : {shell::ID_READ, shell::ID_WRITE, shell::ID_FILE_NEW, shell::ID_FILE_OPEN,
                 shell::ID_FILE_SAVE, shell::ID_FILE_SAVE_AS, shell::ID_FILE_CLOSE,
                 shell::ID_LANGUAGE, shell::ID_COM_SETUP, shell::ID_SCAN_INFO,
                 shell::ID_PRODUCT_INFO, shell::ID_OPTIONAL_FEATURES, shell::ID_FILE_PRINT,
                 shell::ID_FILE_PRINT_PREVIEW, shell::ID_FILE_PRINT_PDF,
                 shell::ID_FILE_PRINT_SETUP, shell::ID_APP_ABOUT}) {
    QList<bool> carriers;
    for (QAction* action : frame->findChildren<QAction*>())
      if (action->property("commandId").toInt() == id) carriers << action->isEnabled();
    states << (!carriers.isEmpty() && !carriers.contains(false));
  }
  QTreeWidgetItem* pages = frame->ControlBar()->Tree()->topLevelItem(0);
  states << !pages->child(0)->isDisabled() << !pages->child(2)->isDisabled();
  return states;
}

}  // namespace

Q_DECLARE_METATYPE(Fault::Kind)

class TransferTest : public QObject {
  Q_OBJECT

 private slots:
  void verifyNamesWhatTheRadioHoldsOtherwise_data();
  void verifyNamesWhatTheRadioHoldsOtherwise();
  void readAndWriteFromTheMenus_data();
  void readAndWriteFromTheMenus();
  void cancelBeforeOkNeverOpensThePort();
  void cancelDuringWriteEndsAfterTheBlock();
  void faultKeepsTableAndImage_data();
  void faultKeepsTableAndImage();
  void editorsOpenedAroundATransfer();
  void fleetOfFiveTheThirdFailing_data();
  void fleetOfFiveTheThirdFailing();
  void fleetStopWhileWaiting();
};

void TransferTest::readAndWriteFromTheMenus_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("readStatus");
  QTest::addColumn<QString>("writeStatus");
  QTest::newRow("English") << "English"
                           << "Read Data"
                           << "Varo16 Programmer  [ Type:V16-U  Fre:450 - 470MHz ]"
                           << "^Read from COM1 in \\d+\\.\\d s$"
                           << "^Written to COM1 in \\d+\\.\\d s$";
  QTest::newRow("Chinese") << "Chinese"
                           << "读数据"
                           << "Varo16 写频软件  [ 类型:V16-U  频率:450 - 470MHz ]"
                           << "^已从 COM1 读频，用时 \\d+\\.\\d 秒$"
                           << "^已写入 COM1，用时 \\d+\\.\\d 秒$";
}

// Read from the Program menu and Write by Ctrl+W, through the main window's
// own view against the radio behind COM1. From the first progress step until
// the Process dialog has gone, the guarded commands are disabled. The read
// replaces the received range of the image, fills the table and runs the
// band step; the write puts the edited table into the radio and sends
// nothing past it but the Call Tone.
void TransferTest::readAndWriteFromTheMenus() {
  QFETCH(QString, language);
  QFETCH(QString, caption);
  QFETCH(QString, title);
  QFETCH(QString, readStatus);
  QFETCH(QString, writeStatus);
  const bool chinese = language == QLatin1String("Chinese");
  Bench b(language.toStdString());
  QVERIFY(b.app && b.app->NewDocumentFlag());
  shell::CMainFrame* frame = b.Frame();
  TransferController& transfer = b.View()->Transfer();
  const QList<bool> allOn(19, true);
  const QList<bool> allOff(19, false);
  QCOMPARE(GuardedStates(frame), allOn);
  const MemoryImage before = b.Image();
  QSignalSpy busy(&transfer, &TransferController::busyChanged);

  // Offers the transfer through `choose`, presses OK and waits until the
  // dialog has gone; notes the guarded states at the first step and the
  // dialog's last count.
  QList<bool> during;
  QString count;
  const auto run = [&](const std::function<void()>& choose) {
    during.clear();
    count.clear();
    choose();
    QPointer<shell::CProcessDlg> dialog = transfer.ProcessDialog();
    if (!dialog) return false;
    QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, dialog, [&](int value) {
      if (value == 1) during = GuardedStates(frame);
    });
    QObject::connect(&transfer, &TransferController::transferFinished, dialog,
                     [&] { count = dialog->CountLabel()->text(); });
    QSignalSpy finished(&transfer, &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    if (!finished.wait(60000) || !QTest::qWaitFor([&] { return !dialog; })) return false;
    frame->activateWindow();
    return QTest::qWaitForWindowActive(frame);
  };

  QAction* read = frame->Popup(129, 2)->actions().at(0);
  QVERIFY(run([&] {
    read->trigger();
    QCOMPARE(transfer.ProcessDialog()->windowTitle(), caption);
    transfer.Write();  // while the dialog is up the direction stays
    QCOMPARE(transfer.direction(), TransferController::Direction::kRead);
  }));
  QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(during, allOff);
  QCOMPARE(GuardedStates(frame), allOn);
  QCOMPARE(busy.count(), 2);  // busy from the offer to the end
  QCOMPARE(count, QStringLiteral("63"));
  MemoryImage expected = RadioContents();
  for (std::size_t i = kReadEnd; i < kImageSize; ++i) expected[i] = before[i];
  QVERIFY(b.Image() == expected);
  QCOMPARE(test::TableTexts(b.View()->Grid()), test::TableTexts(model16::Model16(), expected, chinese));
  // The read is one undo step, and the document holds nothing unsaved.
  QVERIFY(b.Frame()->IdleText().contains(QRegularExpression(readStatus)));
  QVERIFY(!b.View()->Doc().IsModified() && b.View()->Doc().CanUndo());
  Registry registry("Software\\Varo16");
  QCOMPARE(registry.QueryDword("Type").value_or(99), 1u);
  QCOMPARE(registry.QueryDword("Field").value_or(99), 2u);
  QCOMPARE(frame->Title(), title);
  QCOMPARE(b.View()->Limits(), (radio::BandLimits{45000000, 47000000}));
  QVERIFY(!b.app->NewDocumentFlag());

  // Channel 3 edited in the table only; every byte past the blocks changed
  // in the image, of which only the Call Tone (0x3F0) goes out.
  shell::CMSFlexGrid& grid = b.View()->Grid();
  grid.SetTextMatrix(3, model16::kColRx, "455.50000");
  grid.SetTextMatrix(3, model16::kColPower, chinese ? "低" : "Low");
  for (std::size_t i = 0x3E0; i < kImageSize; ++i) b.Image()[i] ^= 0xA5;
  QVERIFY(run([frame] { QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier); }));
  QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(during, allOff);
  QCOMPARE(GuardedStates(frame), allOn);
  QCOMPARE(count, QStringLiteral("62"));
  QCOMPARE(b.radio->CompletedWrites(), 1);
  QVERIFY(b.Frame()->IdleText().contains(QRegularExpression(writeStatus)));
  const MemoryImage& image = b.Image();
  QCOMPARE(radio::BcdToFrequencyText(image.bytes.data() + 0x030), std::string("455.50000"));
  const std::vector<std::uint8_t> radio = b.radio->Memory();
  const MemoryImage old = RadioContents();
  for (std::size_t i = 0; i < kImageSize; ++i) {
    const bool sent = i < 0x3E0 || i == 0x3F0;
    QVERIFY2(radio[i] == (sent ? image[i] : old[i]), qPrintable(QString::number(i, 16)));
  }
}

// Cancel, Esc or closing the window before OK: no port is made, nothing is
// sent, the controller is free again.
void TransferTest::cancelBeforeOkNeverOpensThePort() {
  Bench b;
  QVERIFY(b.app);
  for (int how = 0; how < 3; ++how) {
    b.controller->Write();
    QPointer<shell::CProcessDlg> dialog = b.controller->ProcessDialog();
    QVERIFY(dialog && dialog->isVisible() && b.controller->busy());
    if (how == 0) QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    if (how == 1) QTest::keyClick(dialog, Qt::Key_Escape);
    if (how == 2) dialog->close();
    QVERIFY(!b.controller->busy());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
  }
  QTest::qWait(50);
  QCOMPARE(b.portsMade, 0);
  QVERIFY(b.radio->Received().empty());
  QVERIFY(!b.controller->LastOutcome());
}

// Cancel, or a close request to the main window, during a write: the link
// stops at its next pump, whole blocks only have gone out, and a requested
// close happens once the transfer has ended.
void TransferTest::cancelDuringWriteEndsAfterTheBlock() {
  for (bool closeWindow : {false, true}) {
    Bench b;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
      if (!b.dialog || b.dialog->CountLabel()->text() != QStringLiteral("10")) return;
      timer.stop();
      closeWindow ? void(b.Frame()->close())
                  : QTest::mouseClick(b.dialog->CancelButton(), Qt::LeftButton);
    });
    timer.start(1);
    QVERIFY(b.Run(false));
    QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCancelled));
    const std::size_t frame = 4 + 8;                                // "W", address, length, data
    QCOMPARE(b.radio->Received().size() % frame, std::size_t(10));  // the handshake
    QVERIFY(b.radio->Received().size() <= 10 + 24 * frame);
    QCOMPARE(b.radio->CompletedWrites(), 0);
    QTRY_COMPARE(b.Frame()->isVisible(), !closeWindow);
  }
}

// An editor opened once the Process dialog is up goes into the table
// before a write stores the table; one opened while a read runs is
// committed before the table is refilled, so that leaving its cell later
// cannot write the stale text over the received channels.
void TransferTest::editorsOpenedAroundATransfer() {
  {
    Bench b;
    QVERIFY(b.app);
    b.controller->Write();
    b.dialog = b.controller->ProcessDialog();
    QVERIFY(b.dialog);
    b.Click(3, model16::kColRx);
    QTest::keyClicks(b.Editor(model16::kColRx), QStringLiteral("145.5"));
    QSignalSpy finished(b.controller, &TransferController::transferFinished);
    QTest::mouseClick(b.dialog->OkButton(), Qt::LeftButton);
    QVERIFY(finished.wait(60000));
    QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
    const std::vector<std::uint8_t> radio = b.radio->Memory();
    QCOMPARE(radio::BcdToFrequencyText(radio.data() + 0x030), std::string("145.50000"));
    QCOMPARE(b.Row(3).first(), QStringLiteral("145.50000"));
  }
  {
    Bench b;
    QVERIFY(b.app);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
      if (!b.dialog || b.dialog->CountLabel()->text() != QStringLiteral("10")) return;
      timer.stop();
      b.Click(3, model16::kColRx);
      QTest::keyClicks(b.Editor(model16::kColRx), QStringLiteral("150"));
    });
    timer.start(1);
    QVERIFY(b.Run(true));
    QVERIFY(!timer.isActive());  // the editor was opened during the read
    QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
    const QStringList received = test::TableTexts(model16::Model16(), RadioContents(), false);
    QVERIFY(!b.Editor(model16::kColRx)->isVisible());
    QCOMPARE(test::TableTexts(b.View()->Grid()), received);
    b.Grid()->SetRow(5);  // leaving the cell commits nothing more
    QCOMPARE(test::TableTexts(b.View()->Grid()), received);
  }
}

void TransferTest::faultKeepsTableAndImage_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<bool>("read");
  QTest::addColumn<Fault::Kind>("fault");
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<int>("outcome");
  QTest::addColumn<QStringList>("shown");  // caption and text
  QTest::addColumn<QString>("status");
  const QStringList interrupt = {"Varo Radio",
                                 "Program Interrupt, Please reset the radio and try again"};
  QTest::newRow("short read reply") << "English" << true << Fault::Kind::kShortReply << ""
                                    << "OK" << int(Outcome::kInterrupted) << interrupt
                                    << "Read from COM1 failed";
  QTest::newRow("write not acknowledged")
      << "English" << false << Fault::Kind::kNoAck << ""
      << "OK" << int(Outcome::kInterrupted) << interrupt
      << "Write to COM1 failed; the radio may hold part of the data";
  // 61453 as the module has it, then why and what to do.
  QTest::newRow("no such port")
      << "English" << true << Fault::Kind::kNone << "/dev/varo-no-such-port"
      << "OK" << int(Outcome::kPortNotOpened)
      << QStringList{"Varo Radio",
                     "Could not Open the Port,Please check whether the Port are occupied or the "
                     "device are ok\nNothing at /dev/varo-no-such-port: the cable is unplugged, "
                     "or the port map points elsewhere (varo-cli ports lists the serial devices)."}
      << "Read from /dev/varo-no-such-port failed";
  QTest::newRow("no such port, Chinese")
      << "Chinese" << false << Fault::Kind::kNone << "/dev/varo-no-such-port"
      << "确定" << int(Outcome::kPortNotOpened)
      << QStringList{"Varo 无线电",
                     "无法打开串口，请检查串口是否被占用或设备是否正常。\n/dev/varo-no-such-port "
                     "处没有设备：编程线未连接，或端口设置指向别处。（varo-cli ports 列出所有串口设备）"}
      << "向 /dev/varo-no-such-port 写频失败，电台中可能只有部分数据";
  QTest::newRow("garbled handshake")
      << "English" << true << Fault::Kind::kGarbage << ""
      << "Cancel" << int(Outcome::kHandshakeFailed)
      << QStringList{"Varo Radio",
                     "Communication Error,Please check all the connections and the radio power"}
      << "Read from COM1 failed";
}

// The message (captioned with the application name) is answered from a
// timer; the table, the image (but for a write's commit of the table), the
// title and the new-document flag stay as they were.
void TransferTest::faultKeepsTableAndImage() {
  QFETCH(QString, language);
  QFETCH(bool, read);
  QFETCH(Fault::Kind, fault);
  QFETCH(QString, port);
  QFETCH(QString, answer);
  QFETCH(int, outcome);
  QFETCH(QStringList, shown);
  QFETCH(QString, status);
  Bench b(language.toStdString(), Fault{fault, 5});
  QVERIFY(b.app);
  b.portName = port;
  MemoryImage image = b.Image();
  if (!read) model16::TableToImage(b.View()->Grid(), image);
  const QStringList table = test::TableTexts(b.View()->Grid());
  const QString title = b.Frame()->Title();

  QStringList seen;
  test::Answer(&seen, answer);
  QVERIFY(b.Run(read));
  QCOMPARE(int(*b.controller->LastOutcome()), outcome);
  QCOMPARE(seen, shown);
  QVERIFY(b.Image() == image);
  QCOMPARE(test::TableTexts(b.View()->Grid()), table);
  QCOMPARE(b.Frame()->Title(), title);
  QVERIFY(b.app->NewDocumentFlag() && !b.controller->busy());
  QCOMPARE(b.Frame()->IdleText(), status);
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

// Verify with Radio from the Program menu, after a read: the radio matches.
// A radio whose memory then differs in channel 2's decode tone and in the
// squelch level is named by exactly those. The document stays as it was.
void TransferTest::verifyNamesWhatTheRadioHoldsOtherwise() {
  QFETCH(QString, language);
  QFETCH(QStringList, matches);
  QFETCH(QStringList, differs);
  Bench b(language.toStdString());
  QVERIFY(b.app);
  TransferController& transfer = b.View()->Transfer();
  // Offers the command's transfer, presses OK and, for Verify, notes what the
  // result window shows.
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
    b.Frame()->RouteCommand(command);
    QSignalSpy finished(&transfer, &TransferController::transferFinished);
    QTest::mouseClick(transfer.ProcessDialog()->OkButton(), Qt::LeftButton);
    if (!finished.wait(60000)) shown << QStringLiteral("timed out");
    b.Activate();
    return shown;
  };
  run(shell::ID_READ);
  const MemoryImage image = b.Image();
  const QStringList table = test::TableTexts(b.View()->Grid());
  QCOMPARE(run(shell::ID_VERIFY), matches.mid(0, 1));
  QVERIFY(b.Frame()->IdleText().contains(QRegularExpression(matches.last())));

  MemoryImage changed = RadioContents();
  radio::MemoryGrid grid(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(changed, grid, false);
  grid.SetTextMatrix(2, model16::kColDec, "67.0");
  model16::TableToImage(grid, changed);
  changed[model16::kSquelchLevel] = 6;
  b.radio->SetMemory(changed.bytes);
  QCOMPARE(run(shell::ID_VERIFY), differs.mid(0, differs.size() - 1));
  QVERIFY(b.Frame()->IdleText().contains(QRegularExpression(differs.last())));
  QVERIFY(b.Image() == image);
  QCOMPARE(test::TableTexts(b.View()->Grid()), table);
  QVERIFY(!b.View()->Doc().IsModified());
}

void TransferTest::fleetOfFiveTheThirdFailing_data() {
  QTest::addColumn<QString>("language");
  QTest::newRow("English") << "English";
  QTest::newRow("Chinese") << "Chinese";
}

// Write to Several Radios: five radios, the third losing the frame of
// channel 1 (write frame 2).
void TransferTest::fleetOfFiveTheThirdFailing() {
  QFETCH(QString, language);
  test::CheckFleetOfFive<test::Session>(
      language, radiosim::Radio16Config(), "VARO_PORT_COM1", 2, 1, 1, QStringLiteral("145.0125"),
      QStringLiteral("varo16-fleet-%1.png").arg(language == QLatin1String("English") ? "en" : "zh"));
}

void TransferTest::fleetStopWhileWaiting() {
  test::CheckFleetStopWhileWaiting<test::Session>("VARO_PORT_COM1", QStringLiteral("/enHelp/32810.html"));
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
