// Read and Write through the Process dialog and the transfer controller of a
// started Varo16, against the simulated radio over a real pseudo-terminal
// that stands behind COM1.

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cstdlib>

#include "Varo16Fixture.h"
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"
#include "model16/TableEditor.h"
#include "model16/ui/CProcessDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "model16/ui/TransferController.h"
#include "platform/Registry.h"
#include "platform/SerialPort.h"
#include "radiosim/Radio16.h"
#include "radiosim/SimulatedRadio.h"
#include "shell/CChildFrame.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CMainFrame.h"

using namespace varo;
using model16::CloneLink;
using model16::MemoryImage;
using model16::ui::CProcessDlg;
using model16::ui::TransferController;
using Outcome = CloneLink::Outcome;
using radiosim::Fault;

Q_DECLARE_METATYPE(Fault::Kind)

namespace {

// Counts the opens of the platform's port.
class CountingPort : public SerialPort {
 public:
  explicit CountingPort(int& opens) : opens_(opens) {}
  bool Open(const std::string& path) override {
    ++opens_;
    return port_->Open(path);
  }
  bool IsOpen() const override { return port_->IsOpen(); }
  void Close() override { port_->Close(); }
  bool SetupComm(std::size_t in, std::size_t out) override { return port_->SetupComm(in, out); }
  bool SetTimeouts(const Timeouts& t) override { return port_->SetTimeouts(t); }
  bool SetLine9600_8N1() override { return port_->SetLine9600_8N1(); }
  bool Purge(unsigned flags) override { return port_->Purge(flags); }
  bool Read(std::uint8_t* b, std::size_t n, std::size_t& got) override {
    return port_->Read(b, n, got);
  }
  bool Write(const std::uint8_t* d, std::size_t n) override { return port_->Write(d, n); }

 private:
  int& opens_;
  std::unique_ptr<SerialPort> port_ = CreateSerialPort();
};

// What the radio holds: three channels, type 2 ("V16-U") with its third band.
MemoryImage RadioContents() {
  MemoryImage image = MemoryImage::NewDocument();
  for (std::size_t ch = 0; ch < 3; ++ch) {
    const std::uint32_t count = 45000000 + 12500 * static_cast<std::uint32_t>(ch);
    model16::CountToBcd(count, &image[0x010 + 16 * ch]);
    model16::CountToBcd(count + 500000, &image[0x014 + 16 * ch]);
  }
  image[0x130] = 0x07;
  image[0x3D2] = 1;
  image[0x3D3] = 2;
  return image;
}

std::vector<std::uint8_t> Bytes(const MemoryImage& image) {
  return {image.bytes.begin(), image.bytes.end()};
}

// A started program, a radio behind COM1 and a controller on the view.
struct Bench {
  explicit Bench(const std::string& language = "English", Fault fault = {}) : folder(language) {
    app = folder.Start();
    radio = std::make_unique<radiosim::SimulatedRadio>(
        std::make_unique<radiosim::Radio16>(fault), radiosim::SimOptions{});
    std::string error;
    if (!radio->Open(error)) qFatal("radio: %s", error.c_str());
    radio->SetMemory(Bytes(RadioContents()));
    radio->Start();
    setenv("VARO_PORT_COM1", radio->PortPath().c_str(), 1);

    TransferController::Hooks hooks;
    hooks.commitCell = [this] { View()->CommitCell(); };
    hooks.portName = [this] { return portName.isEmpty() ? View()->PortName() : portName; };
    hooks.setBandLimits = [this](const model16::BandLimits& l) { limits = l; };
    hooks.makePort = [this] { return std::make_unique<CountingPort>(opens); };
    controller = new TransferController(*app, Image(), View()->Grid(), hooks, View());
    QObject::connect(controller, &TransferController::transferFinished, controller, [this] {
      // The dialog is gone once the event loop runs; its last count is read now.
      if (dialog) lastCount = dialog->CountLabel()->text();
    });
  }
  ~Bench() { unsetenv("VARO_PORT_COM1"); }

  model16::ui::CVaro_16View* View() const {
    return static_cast<model16::ui::CVaro_16View*>(&app->MainFrame()->ActiveChild()->View());
  }
  MemoryImage& Image() const {
    return static_cast<model16::ui::CVaro_16Doc&>(View()->Document()).Image();
  }
  QStringList Table() const {
    QStringList texts;
    for (long row = 1; row <= model16::kChannels; ++row)
      for (long col = 1; col < model16::kTableCols; ++col)
        texts << QString::fromStdString(View()->Grid().TextMatrix(row, col));
    return texts;
  }
  // Offers the transfer and presses OK; true when it ended within the time.
  bool Run(bool read) {
    read ? controller->Read() : controller->Write();
    dialog = controller->ProcessDialog();
    if (!dialog) return false;
    QSignalSpy finished(controller, &TransferController::transferFinished);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    return finished.wait(60000);
  }

  test::Varo16Folder folder;
  std::unique_ptr<model16::ui::CVaro_16App> app;
  std::unique_ptr<radiosim::SimulatedRadio> radio;
  TransferController* controller = nullptr;
  QPointer<CProcessDlg> dialog;
  QString portName;
  QString lastCount;
  model16::BandLimits limits;
  int opens = 0;
};

// The Process dialog with the main window's colours and a plain title bar,
// for the documentation.
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

}  // namespace

class TransferTest : public QObject {
  Q_OBJECT

 private slots:
  void readFillsTableAndRegistry_data();
  void readFillsTableAndRegistry();
  void writeSendsTheEditedTable();
  void cancelBeforeOkNeverOpensThePort_data();
  void cancelBeforeOkNeverOpensThePort();
  void faultKeepsTableAndImage_data();
  void faultKeepsTableAndImage();
};

void TransferTest::readFillsTableAndRegistry_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("title");
  QTest::newRow("English") << "English" << "Read Data"
                           << "Varo16 Programmer  [ Type:V16-U  Fre:450 - 470MHz ]";
  QTest::newRow("Chinese") << "Chinese" << "读数据"
                           << "Varo16 写频软件  [ 类型:V16-U  频率:450 - 470MHz ]";
}

void TransferTest::readFillsTableAndRegistry() {
  QFETCH(QString, language);
  QFETCH(QString, caption);
  QFETCH(QString, title);
  Bench b(language.toStdString());
  QVERIFY(b.app);
  QVERIFY(b.app->NewDocumentFlag());
  const MemoryImage before = b.Image();
  QSignalSpy busy(b.controller, &TransferController::busyChanged);

  // A picture of the dialog half-way through the blocks.
  QTimer shooter;
  QObject::connect(&shooter, &QTimer::timeout, &shooter, [&] {
    if (b.dialog && b.dialog->CountLabel()->text() == QStringLiteral("30")) {
      Picture(*b.dialog, QStringLiteral("varo16-process-%1.png")
                             .arg(language == QStringLiteral("Chinese") ? "zh" : "en"));
      shooter.stop();
    }
  });
  shooter.start(1);

  b.controller->Read();
  QVERIFY(b.controller->busy());
  QCOMPARE(b.controller->ProcessDialog()->windowTitle(), caption);
  QCOMPARE(b.controller->ProcessDialog()->ProgressBar()->maximum(), CloneLink::kReadBlocks);
  b.controller->Write();  // a second command while the dialog is up changes nothing
  QCOMPARE(b.controller->direction(), TransferController::Direction::kRead);
  b.controller->Read();
  QVERIFY(b.Run(true));

  QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(b.lastCount, QStringLiteral("63"));
  QCOMPARE(busy.count(), 2);
  QCOMPARE(busy.at(1).at(0).toBool(), false);
  QCOMPARE(b.opens, 1);
  QCOMPARE(b.radio->CompletedWrites(), 0);

  // The received range replaces the image; the rest stays.
  MemoryImage expected = RadioContents();
  for (std::size_t i = CloneLink::kReadEnd; i < MemoryImage::kSize; ++i) expected[i] = before[i];
  QVERIFY(b.Image() == expected);
  model16::MemoryGrid grid(model16::kTableRows, model16::kTableCols);
  model16::ImageToTable(expected, grid, language == QStringLiteral("Chinese"));
  QStringList table;
  for (long row = 1; row <= model16::kChannels; ++row)
    for (long col = 1; col < model16::kTableCols; ++col)
      table << QString::fromStdString(grid.TextMatrix(row, col));
  QCOMPARE(b.Table(), table);
  QCOMPARE(b.Table().at(0), QStringLiteral("450.00000"));

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
  // Channel 2 typed into the table and not yet stored in the image.
  shell::CMSFlexGrid& grid = b.View()->Grid();
  const std::vector<std::string> defaults = model16::NewRowDefaults(false);
  grid.SetTextMatrix(2, model16::kColRx, "145.50000");
  grid.SetTextMatrix(2, model16::kColTx, "145.52500");
  for (long col = model16::kColDec; col < model16::kTableCols; ++col)
    grid.SetTextMatrix(2, col, defaults[static_cast<std::size_t>(col - model16::kColDec)]);
  b.Image()[0x3F0] = 9;  // Call Tone, sent on its own at the end

  QVERIFY(b.Run(false));
  QCOMPARE(b.controller->LastOutcome(), std::optional(Outcome::kCompleted));
  QCOMPARE(b.lastCount, QStringLiteral("62"));
  QCOMPARE(b.radio->CompletedWrites(), 1);

  std::uint8_t rx[4];
  model16::CountToBcd(14550000, rx);
  const MemoryImage& image = b.Image();
  QCOMPARE(std::vector<std::uint8_t>(image.bytes.begin() + 0x20, image.bytes.begin() + 0x24),
           std::vector<std::uint8_t>(rx, rx + 4));
  const std::vector<std::uint8_t> radio = b.radio->Memory();
  const std::vector<std::uint8_t> old = Bytes(RadioContents());
  for (std::size_t i = 0; i < MemoryImage::kSize; ++i) {
    const bool sent = i < 0x3E0 || i == 0x3F0;
    QVERIFY2(radio[i] == (sent ? image[i] : old[i]), qPrintable(QString::number(i, 16)));
  }
}

void TransferTest::cancelBeforeOkNeverOpensThePort_data() {
  QTest::addColumn<int>("how");
  QTest::newRow("Cancel button") << 0;
  QTest::newRow("Escape") << 1;
  QTest::newRow("window closed") << 2;
}

void TransferTest::cancelBeforeOkNeverOpensThePort() {
  QFETCH(int, how);
  Bench b;
  QVERIFY(b.app);
  const QStringList table = b.Table();
  b.controller->Write();
  QPointer<CProcessDlg> dialog = b.controller->ProcessDialog();
  QVERIFY(dialog && dialog->isVisible());
  switch (how) {
    case 0: QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton); break;
    case 1: QTest::keyClick(dialog, Qt::Key_Escape); break;
    default: dialog->close(); break;
  }
  QVERIFY(!b.controller->busy());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!dialog);
  QTest::qWait(50);
  QCOMPARE(b.opens, 0);
  QVERIFY(b.radio->Received().empty());
  QVERIFY(!b.controller->LastOutcome());
  QCOMPARE(b.Table(), table);
}

void TransferTest::faultKeepsTableAndImage_data() {
  QTest::addColumn<bool>("read");
  QTest::addColumn<Fault::Kind>("fault");
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("outcome");
  QTest::addColumn<QString>("message");
  const QString interrupt = QStringLiteral("Program Interrupt, Please reset the radio and try again");
  QTest::newRow("short read reply") << true << Fault::Kind::kShortReply << QString() << "OK"
                                    << int(Outcome::kInterrupted) << interrupt;
  QTest::newRow("write not acknowledged") << false << Fault::Kind::kNoAck << QString() << "OK"
                                          << int(Outcome::kInterrupted) << interrupt;
  QTest::newRow("no such port")
      << true << Fault::Kind::kNone << "/dev/varo-no-such-port" << "OK"
      << int(Outcome::kPortNotOpened)
      << "Could not Open the Port,Please check whether the Port are occupied or the device are ok";
  QTest::newRow("garbled handshake")
      << true << Fault::Kind::kGarbage << QString() << "Cancel" << int(Outcome::kHandshakeFailed)
      << "Communication Error,Please check all the connections and the radio power";
}

void TransferTest::faultKeepsTableAndImage() {
  QFETCH(bool, read);
  QFETCH(Fault::Kind, fault);
  QFETCH(QString, port);
  QFETCH(QString, button);
  QFETCH(int, outcome);
  QFETCH(QString, message);
  Bench b("English", Fault{fault, 5});
  QVERIFY(b.app);
  b.portName = port;
  // A write stores the table into the image before it starts; that stays.
  MemoryImage image = b.Image();
  if (!read) model16::TableToImage(b.View()->Grid(), image);
  const QStringList table = b.Table();
  const QString title = b.app->MainFrame()->Title();

  QString shown;
  QString caption;
  test::WhenModal([&](QWidget* w) {
    shown = test::MessageText(w);
    caption = w->windowTitle();
    test::Press(w, button);
  });
  QVERIFY(b.Run(read));
  QCOMPARE(int(*b.controller->LastOutcome()), outcome);
  QCOMPARE(shown, message);
  QCOMPARE(caption, QStringLiteral("Varo Radio"));
  QVERIFY(b.Image() == image);
  QCOMPARE(b.Table(), table);
  QCOMPARE(b.app->MainFrame()->Title(), title);
  QVERIFY(b.app->NewDocumentFlag());
  QVERIFY(!b.controller->busy());
}

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
