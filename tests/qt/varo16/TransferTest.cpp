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
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"
#include "model16/ui/CProcessDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "model16/ui/TransferController.h"
#include "platform/Registry.h"
#include "platform/SerialPort.h"
#include "radiosim/Radio16.h"
#include "radiosim/SimulatedRadio.h"
#include "shell/CChildFrame.h"
#include "shell/CControlBar.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"

using namespace varo;
using model16::CloneLink;
using model16::MemoryImage;
using model16::ui::TransferController;
using Outcome = CloneLink::Outcome;
using radiosim::Fault;

namespace {

// What the radio holds: three channels, type 2 ("V16-U") with its third band.
MemoryImage RadioContents() {
  MemoryImage image = MemoryImage::NewDocument();
  for (std::size_t ch = 0; ch < 3; ++ch) {
    const auto count = static_cast<std::uint32_t>(45000000 + 12500 * ch);
    model16::CountToBcd(count, &image[0x010 + 16 * ch]);
    model16::CountToBcd(count + 500000, &image[0x014 + 16 * ch]);
  }
  image[0x3D2] = 1;
  image[0x3D3] = 2;
  return image;
}

QStringList TableOf(const GridControl& grid) {
  QStringList texts;
  for (long row = 1; row <= model16::kChannels; ++row)
    for (long col = 1; col < model16::kTableCols; ++col)
      texts << QString::fromStdString(grid.TextMatrix(row, col));
  return texts;
}

// A started program, a radio behind COM1 and a controller on the view.
struct Bench {
  explicit Bench(const std::string& language = "English", Fault fault = {}) : folder(language) {
    app = folder.Start();
    radio = std::make_unique<radiosim::SimulatedRadio>(std::make_unique<radiosim::Radio16>(fault),
                                                       radiosim::SimOptions{});
    std::string error;
    if (!radio->Open(error)) qFatal("radio: %s", error.c_str());
    const MemoryImage contents = RadioContents();
    radio->SetMemory({contents.bytes.begin(), contents.bytes.end()});
    radio->Start();
    setenv("VARO_PORT_COM1", radio->PortPath().c_str(), 1);

    TransferController::Hooks hooks;
    hooks.commitCell = [this] { View()->CommitCell(); };
    hooks.portName = [this] { return portName.isEmpty() ? View()->PortName() : portName; };
    hooks.setBandLimits = [this](const model16::BandLimits& l) { limits = l; };
    hooks.makePort = [this] {
      ++portsMade;
      return CreateSerialPort();
    };
    controller = new TransferController(*app, Image(), View()->Grid(), hooks, View());
    // The dialog goes once the event loop runs again; its count is read now.
    QObject::connect(controller, &TransferController::transferFinished, controller,
                     [this] { lastCount = dialog ? dialog->CountLabel()->text() : QString(); });
  }
  ~Bench() { unsetenv("VARO_PORT_COM1"); }

  model16::ui::CVaro_16View* View() const {
    return static_cast<model16::ui::CVaro_16View*>(&app->MainFrame()->ActiveChild()->View());
  }
  MemoryImage& Image() const {
    return static_cast<model16::ui::CVaro_16Doc&>(View()->Document()).Image();
  }
  // Offers the transfer and presses OK; true when it ended in time.
  bool Run(bool read) {
    read ? controller->Read() : controller->Write();
    dialog = controller->ProcessDialog();
    QSignalSpy finished(controller, &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    return finished.wait(60000);
  }

  test::Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
  std::unique_ptr<radiosim::SimulatedRadio> radio;
  TransferController* controller = nullptr;
  QPointer<model16::ui::CProcessDlg> dialog;
  QString portName;
  QString lastCount;
  model16::BandLimits limits;
  int portsMade = 0;
};

}  // namespace

Q_DECLARE_METATYPE(Fault::Kind)

class TransferTest : public QObject {
  Q_OBJECT

 private slots:
  void readFillsTableAndRegistry_data();
  void readFillsTableAndRegistry();
  void writeSendsTheEditedTable();
  void cancelBeforeOkNeverOpensThePort();
  void cancelDuringWriteEndsAfterTheBlock();
  void faultKeepsTableAndImage_data();
  void faultKeepsTableAndImage();
  void menuCommandsGuardTheTransfer();
};

void TransferTest::readFillsTableAndRegistry_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("title");
  QTest::newRow("English") << "English"
                           << "Read Data"
                           << "Varo16 Programmer  [ Type:V16-U  Fre:450 - 470MHz ]";
  QTest::newRow("Chinese") << "Chinese"
                           << "读数据"
                           << "Varo16 写频软件  [ 类型:V16-U  频率:450 - 470MHz ]";
}

void TransferTest::readFillsTableAndRegistry() {
  QFETCH(QString, language);
  QFETCH(QString, caption);
  QFETCH(QString, title);
  Bench b(language.toStdString());
  QVERIFY(b.app && b.app->NewDocumentFlag());
  const MemoryImage before = b.Image();
  QSignalSpy busy(b.controller, &TransferController::busyChanged);

  b.controller->Read();
  QCOMPARE(b.controller->ProcessDialog()->windowTitle(), caption);
  QCOMPARE(b.controller->ProcessDialog()->ProgressBar()->maximum(), CloneLink::kReadBlocks);
  b.controller->Write();  // while the dialog is up the direction stays
  QCOMPARE(b.controller->direction(), TransferController::Direction::kRead);
  QVERIFY(b.Run(true));

  QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(b.lastCount, QStringLiteral("63"));
  QCOMPARE(busy.count(), 2);  // busy from the offer to the end
  QCOMPARE(b.portsMade, 1);
  // The received range replaces the image and the table shows it.
  MemoryImage expected = RadioContents();
  for (std::size_t i = CloneLink::kReadEnd; i < MemoryImage::kSize; ++i) expected[i] = before[i];
  QVERIFY(b.Image() == expected);
  model16::MemoryGrid grid(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(expected, grid, language == QStringLiteral("Chinese"));
  QCOMPARE(TableOf(b.View()->Grid()), TableOf(grid));
  QCOMPARE(b.View()->Grid().TextMatrix(3, model16::kColRx), std::string("450.25000"));
  // The band step: registry, title, band limits; the document is no longer new.
  Registry registry("Software\\Varo16");
  QCOMPARE(registry.QueryDword("Type").value_or(99), 1u);
  QCOMPARE(registry.QueryDword("Field").value_or(99), 2u);
  QCOMPARE(b.app->MainFrame()->Title(), title);
  QCOMPARE(b.limits, (model16::BandLimits{45000000, 47000000}));
  QVERIFY(!b.app->NewDocumentFlag());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!b.dialog);
}

void TransferTest::writeSendsTheEditedTable() {
  Bench b;
  QVERIFY(b.app);
  // Channel 2 typed into the table, not yet stored in the image.
  shell::CMSFlexGrid& grid = b.View()->Grid();
  const std::vector<std::string> defaults = model16::NewRowDefaults(false);
  grid.SetTextMatrix(2, model16::kColRx, "145.50000");
  grid.SetTextMatrix(2, model16::kColTx, "145.52500");
  for (long col = model16::kColDec; col < model16::kTableCols; ++col)
    grid.SetTextMatrix(2, col, defaults[static_cast<std::size_t>(col - model16::kColDec)]);
  b.Image()[0x3F0] = 9;  // Call Tone, sent alone at the end

  QVERIFY(b.Run(false));
  QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(b.lastCount, QStringLiteral("62"));
  QCOMPARE(b.radio->CompletedWrites(), 1);
  const MemoryImage& image = b.Image();
  QCOMPARE(model16::BcdToFrequencyText(image.bytes.data() + 0x20), std::string("145.50000"));
  const std::vector<std::uint8_t> radio = b.radio->Memory();
  const MemoryImage old = RadioContents();
  for (std::size_t i = 0; i < MemoryImage::kSize; ++i) {
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
    QPointer<model16::ui::CProcessDlg> dialog = b.controller->ProcessDialog();
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
      closeWindow ? void(b.app->MainFrame()->close())
                  : QTest::mouseClick(b.dialog->CancelButton(), Qt::LeftButton);
    });
    timer.start(1);
    QVERIFY(b.Run(false));
    QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCancelled));
    const std::size_t frame = 4 + 8;                                // "W", address, length, data
    QCOMPARE(b.radio->Received().size() % frame, std::size_t(10));  // the handshake
    QVERIFY(b.radio->Received().size() <= 10 + 24 * frame);
    QCOMPARE(b.radio->CompletedWrites(), 0);
    QTRY_COMPARE(b.app->MainFrame()->isVisible(), !closeWindow);
  }
}

void TransferTest::faultKeepsTableAndImage_data() {
  QTest::addColumn<bool>("read");
  QTest::addColumn<Fault::Kind>("fault");
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<int>("outcome");
  QTest::addColumn<QString>("message");
  const QString interrupt = "Program Interrupt, Please reset the radio and try again";
  QTest::newRow("short read reply") << true << Fault::Kind::kShortReply << ""
                                    << "OK" << int(Outcome::kInterrupted) << interrupt;
  QTest::newRow("write not acknowledged") << false << Fault::Kind::kNoAck << ""
                                          << "OK" << int(Outcome::kInterrupted) << interrupt;
  QTest::newRow("no such port")
      << true << Fault::Kind::kNone << "/dev/varo-no-such-port"
      << "OK" << int(Outcome::kPortNotOpened)
      << "Could not Open the Port,Please check whether the Port are occupied or the device are ok";
  QTest::newRow("garbled handshake")
      << true << Fault::Kind::kGarbage << ""
      << "Cancel" << int(Outcome::kHandshakeFailed)
      << "Communication Error,Please check all the connections and the radio power";
}

// The message (captioned with the application name) is answered from a
// timer; the table, the image (but for a write's commit of the table), the
// title and the new-document flag stay as they were.
void TransferTest::faultKeepsTableAndImage() {
  QFETCH(bool, read);
  QFETCH(Fault::Kind, fault);
  QFETCH(QString, port);
  QFETCH(QString, answer);
  QFETCH(int, outcome);
  QFETCH(QString, message);
  Bench b("English", Fault{fault, 5});
  QVERIFY(b.app);
  b.portName = port;
  MemoryImage image = b.Image();
  if (!read) model16::TableToImage(b.View()->Grid(), image);
  const QStringList table = TableOf(b.View()->Grid());
  const QString title = b.app->MainFrame()->Title();

  QStringList shown;
  test::WhenModal([&](QWidget* w) {
    shown << w->windowTitle() << test::MessageText(w);
    test::Press(w, answer);
  });
  QVERIFY(b.Run(read));
  QCOMPARE(int(*b.controller->LastOutcome()), outcome);
  QCOMPARE(shown, (QStringList{"Varo Radio", message}));
  QVERIFY(b.Image() == image);
  QCOMPARE(TableOf(b.View()->Grid()), table);
  QCOMPARE(b.app->MainFrame()->Title(), title);
  QVERIFY(b.app->NewDocumentFlag() && !b.controller->busy());
}

// The commands a running transfer holds back, and whether each is enabled in
// every menu item and toolbar button that carries it, and in the tree.
QList<bool> GuardedStates(shell::CMainFrame* frame) {
  static const int guarded[] = {shell::ID_READ,         shell::ID_WRITE,
                                shell::ID_FILE_NEW,     shell::ID_FILE_OPEN,
                                shell::ID_FILE_SAVE,    shell::ID_FILE_SAVE_AS,
                                shell::ID_LANGUAGE,     shell::ID_SCAN_INFO,
                                shell::ID_PRODUCT_INFO, shell::ID_OPTIONAL_FEATURES};
  QList<bool> states;
  const QList<QAction*> actions = frame->findChildren<QAction*>();
  for (int id : guarded) {
    int carriers = 0;
    bool enabled = true;
    for (QAction* action : actions) {
      if (action->property("commandId").toInt() != id) continue;
      ++carriers;
      enabled = enabled && action->isEnabled();
    }
    states << (carriers > 0 && enabled);
  }
  QTreeWidgetItem* pages = frame->ControlBar()->Tree()->topLevelItem(0);
  states << !pages->child(0)->isDisabled() << !pages->child(2)->isDisabled();
  return states;
}

// Read from the Program menu and Write by Ctrl+W, through the main window's
// own view against the radio behind COM1: the read fills the table, the
// write puts the edited table into the radio. From the first progress step
// until the Process dialog has gone, the guarded commands are disabled.
void TransferTest::menuCommandsGuardTheTransfer() {
  Bench b;
  QVERIFY(b.app);
  shell::CMainFrame* frame = b.app->MainFrame();
  frame->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(frame));
  TransferController& transfer = b.View()->Transfer();
  const QList<bool> allOn(12, true);
  const QList<bool> allOff(12, false);
  QCOMPARE(GuardedStates(frame), allOn);

  const auto run = [&](const std::function<void()>& choose) {
    QList<bool> during;
    choose();
    QPointer<model16::ui::CProcessDlg> dialog = transfer.ProcessDialog();
    if (!dialog) return QList<bool>{};
    QObject::connect(dialog->ProgressBar(), &QProgressBar::valueChanged, dialog, [&](int value) {
      if (value == 1) during = GuardedStates(frame);
    });
    QSignalSpy finished(&transfer, &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    if (!finished.wait(60000)) return QList<bool>{};
    // The dialog goes from the event loop; the main window is active again.
    if (!QTest::qWaitFor([&] { return !dialog; })) return QList<bool>{};
    frame->activateWindow();
    if (!QTest::qWaitForWindowActive(frame)) return QList<bool>{};
    return during;
  };

  QAction* read = frame->Popup(129, 2)->actions().at(0);
  QCOMPARE(run([read] { read->trigger(); }), allOff);
  QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(GuardedStates(frame), allOn);
  model16::MemoryGrid expected(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(RadioContents(), expected, false);
  QCOMPARE(TableOf(b.View()->Grid()), TableOf(expected));

  shell::CMSFlexGrid& grid = b.View()->Grid();
  grid.SetTextMatrix(3, model16::kColRx, "455.50000");
  grid.SetTextMatrix(3, model16::kColPower, "Low");
  QCOMPARE(run([frame] { QTest::keyClick(frame, Qt::Key_W, Qt::ControlModifier); }), allOff);
  QCOMPARE(transfer.LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(GuardedStates(frame), allOn);
  QCOMPARE(b.radio->CompletedWrites(), 1);
  MemoryImage inRadio;
  const std::vector<std::uint8_t> memory = b.radio->Memory();
  std::copy(memory.begin(), memory.end(), inRadio.bytes.begin());
  model16::MemoryGrid received(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(inRadio, received, false);
  QCOMPARE(TableOf(received), TableOf(grid));
  QCOMPARE(received.TextMatrix(3, model16::kColRx), std::string("455.50000"));
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
