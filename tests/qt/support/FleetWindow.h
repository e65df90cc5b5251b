#pragma once

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>

#include "qt/support/ProgramFixture.h"
#include "qt/support/RadioBench.h"
#include "radio/FleetLog.h"
#include "radiosim/CloneRadio.h"
#include "shell/CFleetDlg.h"
#include "shell/CMainFrame.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/FleetController.h"
#include "shell/HelpWindow.h"
#include "shell/RadioDocument.h"
#include "support/TempDir.h"

// What the programmers' tests of Write to Several Radios share: a fleet of
// simulated radios behind the program's COM1, on a link that goes away
// between two radios as a replugged USB cable does, and the command run from
// the Program menu through its window.
namespace varo::test {

// `size` radios of `config` behind the port variable `variable`; the fault
// strikes radio `faulty` only.
class FleetBehindPort {
 public:
  FleetBehindPort(radiosim::RadioConfig config, int size, radiosim::Fault fault, int faulty,
                  const std::string& variable)
      : radio_(std::make_unique<radiosim::FleetRadio>(std::move(config), size, fault, faulty),
               Options(dir_), variable) {}

  radiosim::SimulatedRadio* operator->() const { return radio_.operator->(); }

 private:
  static radiosim::SimOptions Options(const TempDir& dir) {
    radiosim::SimOptions options;
    options.linkPath = dir.File("ttyFLEET");
    options.fleetGapMs = 150;
    return options;
  }
  TempDir dir_;
  RadioBehindPort radio_;
};

// What the window and the program showed.
struct FleetSeen {
  QStringList outcomes;         // the list's outcome column, radio by radio
  QStringList identifications;  // as the list shows them
  QStringList reasons;
  QString summary;
  QString statusBar;            // after the batch
  bool heldDuring = false;      // Read and Write to Several Radios held while open
  bool freeAfter = false;       // and back once it has closed
  int logRecords = -1;          // rows of Show Log
  QUrl folder;                  // what Open Folder opened
};

// Whether every menu item and button of command `id` is enabled.
inline bool CommandOn(shell::CMainFrame* frame, int id) {
  bool on = true;
  for (QAction* action : frame->findChildren<QAction*>())
    if (action->property("commandId").toInt() == id) on = on && action->isEnabled();
  return on;
}

// What Open Folder of `dialog` opens (nothing is opened for real).
inline QUrl OpenFolder(shell::CFleetDlg* dialog) {
  QUrl opened;
  const auto open = shell::CFleetDlg::OpenUrl();
  shell::CFleetDlg::OpenUrl() = [&opened](const QUrl& url) {
    opened = url;
    return true;
  };
  QTest::mouseClick(dialog->Button("folder"), Qt::LeftButton);
  shell::CFleetDlg::OpenUrl() = open;
  return opened;
}

// Runs Write to Several Radios on `s`'s document for `radios` radios: Next
// after each but the last, Stop, Show Log, Open Folder, Close. After radio
// `shotAfter` the window is pictured over the main window as `shot`.
inline FleetSeen RunFleetWindow(SessionBase& s, int radios, const QString& shot, int shotAfter) {
  FleetSeen seen;
  shell::FleetController& fleet = s.ChannelView()->Fleet();
  fleet.SetIntervals(20, 20);
  QSignalSpy done(&fleet, &shell::FleetController::radioDone);
  QSignalSpy ended(&fleet, &shell::FleetController::batchEnded);
  s.Frame()->RouteCommand(shell::ID_FLEET);
  QPointer<shell::CFleetDlg> dialog = fleet.Dialog();
  if (!dialog || !dialog->isVisible()) return seen;
  seen.heldDuring = !CommandOn(s.Frame(), shell::ID_READ) && !CommandOn(s.Frame(), shell::ID_FLEET);
  for (int n = 1; n <= radios; ++n) {
    if (!QTest::qWaitFor([&] { return done.count() >= n; }, 60000)) return seen;
    if (n == shotAfter) MaybeScreenshot(s.Frame(), shot, true, dialog);
    if (n < radios) QTest::mouseClick(dialog->Button("next"), Qt::LeftButton);
  }
  QTest::mouseClick(dialog->Button("stop"), Qt::LeftButton);
  if (!QTest::qWaitFor([&] { return ended.count() == 1; }, 20000)) return seen;
  for (int row = 0; row < dialog->Radios()->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = dialog->Radios()->topLevelItem(row);
    seen.outcomes << item->text(2);
    seen.identifications << item->text(3);
    seen.reasons << item->text(4);
  }
  seen.summary = dialog->findChild<QLabel*>(QStringLiteral("summary"))->text();
  seen.statusBar = s.Frame()->IdleText();

  WhenModal([&seen](QWidget* log) {
    seen.logRecords = log->findChild<QTreeWidget*>(QStringLiteral("records"))->topLevelItemCount();
    Press(log, QStringLiteral("close"));
  });
  QTest::mouseClick(dialog->Button("log"), Qt::LeftButton);
  seen.folder = OpenFolder(dialog);
  QTest::mouseClick(dialog->Button("close"), Qt::LeftButton);
  seen.freeAfter = QTest::qWaitFor([&] { return !fleet.busy(); }, 5000) &&
                   CommandOn(s.Frame(), shell::ID_READ) && CommandOn(s.Frame(), shell::ID_FLEET);
  return seen;
}

// What Write to Several Radios does in the program of `s`, running in
// Chinese or English: five radios of `config` behind `variable`, the third
// losing write frame 2, which carries the channel of `row`; the document holds
// `frequency` typed into its Rx Frequency. Four radios pass and hold the
// channel, the third fails with its reason, each shows its own
// identification; the log holds five lines; the window is pictured after the
// fourth radio as `shot`.
inline void CheckFleetOfFive(SessionBase& s, bool chinese, radiosim::RadioConfig config,
                             const std::string& variable, long row, const QString& frequency,
                             const QString& shot) {
  const long col = 1;
  s.Folder().CopyDelivered(chinese ? "chHelp" : "enHelp");
  FleetBehindPort fleet(config, 5, {radiosim::Fault::Kind::kLose, 2}, 3, variable);
  s.Type(row, col, frequency);
  const FleetSeen seen = RunFleetWindow(s, 5, shot, 4);

  const QString ok = chinese ? QStringLiteral("成功") : QStringLiteral("OK");
  const QString failed = chinese ? QStringLiteral("失败") : QStringLiteral("Failed");
  QCOMPARE(seen.outcomes, (QStringList{ok, ok, failed, ok, ok}));
  // Each radio's own identification, as it answered before the write: the
  // fleet's radio n ends in n (high byte first). After the write the
  // 16-channel radio answers with the document's bytes instead, the same for
  // every radio, which must not be taken for its own.
  const auto spaced = [](const std::vector<std::uint8_t>& bytes) {
    QString text;
    for (std::uint8_t byte : bytes) text += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0'));
    return text.trimmed().toUpper();
  };
  std::vector<std::uint8_t> id = config.fixedIdentification;
  if (id.empty()) id.assign(config.memory.begin() + 0x1B8, config.memory.begin() + 0x1C0);
  QStringList ids;
  for (int n = 1; n <= 5; ++n) {
    id[6] = 0;
    id[7] = static_cast<std::uint8_t>(n);
    ids << spaced(id);
    QCOMPARE(seen.reasons.value(n - 1).isEmpty(), n != 3);
  }
  QCOMPARE(seen.identifications, ids);
  QVERIFY2(seen.reasons.value(2).startsWith(chinese ? QStringLiteral("核对：电台与文档有 ")
                                                    : QStringLiteral("Verify: The radio differs")),
           qPrintable(seen.reasons.value(2)));
  QVERIFY(!seen.reasons.value(2).contains(QStringLiteral("： ")));  // no space after a full-width colon
  QCOMPARE(seen.summary, chinese ? QStringLiteral("共 5 台：4 台已写入并核对，1 台失败")
                                 : QStringLiteral("5 radios: 4 written and verified, 1 failed"));
  QCOMPARE(seen.statusBar, chinese ? QStringLiteral("批量写频（COM1）：4 台已写入并核对，1 台失败")
                                   : QStringLiteral("Several radios on COM1: 4 written and verified, 1 failed"));
  QVERIFY(seen.heldDuring);
  QVERIFY(seen.freeAfter);
  QCOMPARE(seen.logRecords, 5);
  QCOMPARE(seen.folder, QUrl::fromLocalFile(QString::fromStdString(s.Folder().Path("data/varo"))));

  // The log in the user's data folder: five lines, in English, naming the
  // document; the radios hold the typed channel, but the third.
  const std::vector<radio::FleetRecord> log =
      radio::ParseFleetLog(s.Folder().dir().Read("data/varo/fleet-log.csv"));
  QCOMPARE(log.size(), std::size_t{5});
  QCOMPARE(log[2].reason.rfind("Verify: The radio differs from the document in ", 0), 0u);
  QCOMPARE(QString::fromStdString(log[0].file), s.ChannelView()->Doc().Title());
  QStringList logged;
  for (const radio::FleetRecord& record : log) logged << spaced(record.identification);
  QCOMPARE(logged, ids);
  const auto radios = fleet->Unplugged();
  QCOMPARE(radios.size(), std::size_t{5});
  const radio::RadioModel& model = s.ChannelView()->Model();
  for (std::size_t i = 0; i < radios.size(); ++i) {
    radio::MemoryImage held(model.imageSize);
    held.bytes = radios[i];
    const QStringList texts = TableTexts(model, held, false);
    const long at = (row - 1) * (model.table->Cols() - 1) + col - 1;
    QCOMPARE(texts.value(static_cast<int>(at)).startsWith(frequency), i != 2);
  }
}

// Stop while waiting, with no radio on the port: the window says why it
// waits, F1 opens the command's page, Open Folder opens the data folder (made
// for it, as nothing is logged yet), Escape stops the batch and the window
// goes; nothing is logged.
inline void CheckFleetStopWhileWaiting(SessionBase& s, const std::string& variable,
                                       const QString& page) {
  s.Folder().CopyDelivered("enHelp");
  setenv(variable.c_str(), s.Folder().Path("ttyNONE").c_str(), 1);
  shell::FleetController& fleet = s.ChannelView()->Fleet();
  fleet.SetIntervals(20, 20);
  QSignalSpy ended(&fleet, &shell::FleetController::batchEnded);
  s.Frame()->RouteCommand(shell::ID_FLEET);
  QPointer<shell::CFleetDlg> dialog = fleet.Dialog();
  QVERIFY(dialog);
  QTRY_COMPARE(dialog->Status(), QStringLiteral("Radio 1: waiting for a radio on COM1... (not connected)"));
  QVERIFY(!dialog->Button("next")->isEnabled() && !dialog->Button("close")->isEnabled());
  QTest::keyClick(dialog, Qt::Key_F1);
  QVERIFY(s.HelpPage().endsWith(page));
  s.Application().Help()->close();
  const std::string data = s.Folder().Path("data/varo");
  QVERIFY(!std::filesystem::exists(data));
  QCOMPARE(OpenFolder(dialog), QUrl::fromLocalFile(QString::fromStdString(data)));
  QVERIFY(std::filesystem::is_directory(data));
  QTest::keyClick(dialog, Qt::Key_Escape);
  QTRY_COMPARE(ended.count(), 1);
  QTRY_VERIFY(!fleet.busy());
  QTRY_VERIFY(!dialog);
  QCOMPARE(s.Frame()->IdleText(), QStringLiteral("Several radios on COM1: 0 written and verified, 0 failed"));
  QVERIFY(!std::filesystem::exists(s.Folder().Path("data/varo/fleet-log.csv")));
  unsetenv(variable.c_str());
}

}  // namespace varo::test
