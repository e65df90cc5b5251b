#include "shell/FleetController.h"

#include <QFile>
#include <QMetaObject>
#include <QPushButton>
#include <map>

#include "platform/SerialPort.h"
#include "platform/Sha256.h"
#include "radio/CloneHost.h"
#include "radio/FleetLog.h"
#include "radio/PortOpenText.h"
#include "shell/CFleetDlg.h"
#include "shell/CMainFrame.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"
#include "shell/TransferController.h"

namespace varo::shell {

using radio::FleetPhase;

// The batch's side: what it tells goes to the controller through the event
// loop; the stop and next flags are read directly.
class FleetController::Observer : public radio::FleetObserver {
 public:
  explicit Observer(FleetController* owner) : owner_(owner) {}

  void PhaseChanged(FleetPhase phase, int number, const PortOpenError& port) override {
    FleetController* owner = owner_;
    QMetaObject::invokeMethod(
        owner, [owner, phase, number, port] { owner->OnPhase(phase, number, port); },
        Qt::QueuedConnection);
  }
  void Progress(int position, int total) override {
    FleetController* owner = owner_;
    QMetaObject::invokeMethod(
        owner,
        [owner, position, total] {
          if (owner->dialog_) owner->dialog_->SetProgress(position, total);
        },
        Qt::QueuedConnection);
  }
  bool StopRequested() override { return owner_->stop_.load(); }
  bool NextWanted() override { return owner_->next_.exchange(false); }

 private:
  FleetController* owner_;
};

FleetController::FleetController(CShellApp& app, const radio::RadioModel& model,
                                 TransferController& transfer, Hooks hooks, QObject* parent)
    : QObject(parent), app_(app), model_(model), transfer_(transfer), hooks_(std::move(hooks)) {}

FleetController::~FleetController() {
  stop_.store(true);
  if (worker_.joinable()) worker_.join();
  delete dialog_.data();
}

bool FleetController::busy() const { return !dialog_.isNull(); }

CFleetDlg* FleetController::Dialog() const { return dialog_.data(); }

QString FleetController::LogPath() { return QFile::decodeName(radio::DefaultFleetLogPath().c_str()); }

QString FleetController::PortLabel() const { return transfer_.PortLabel(); }

void FleetController::Start() {
  if (busy()) return;
  radio::FleetJob job;
  job.model = &model_;
  job.plan = hooks_.plan();
  const QString file = hooks_.file();
  job.file = ToBytes(file);
  job.device = transfer_.DevicePath();
  job.logPath = QFile::encodeName(LogPath()).toStdString();
  job.probeIntervalMs = probeMs_;
  job.removalIntervalMs = removalMs_;
  job.chinese = app_.Chinese();
  // The link's messages as the language module has them, taken here: the
  // batch's thread does not touch the application.
  std::map<int, std::string> texts;
  for (int id : {radio::kMsgCommunicationError, radio::kMsgPortOpenFailed,
                 radio::kMsgProgramInterrupt}) {
    const QString text = app_.Str(id);
    texts[id] = text.isEmpty() ? radio::CloneMessageText(id) : ToBytes(text);
  }
  job.messageText = [texts](int id) {
    const auto found = texts.find(id);
    return found == texts.end() ? std::string(radio::CloneMessageText(id)) : found->second;
  };

  const std::string sha = Sha256::Hex(job.plan.data(), job.plan.size());
  const QString plan = app_.Tr("Plan: %1 (SHA-256 %2...)    Port: %3",
                               "写入数据：%1（SHA-256 %2...）    端口：%3")
                           .arg(file, QString::fromStdString(sha.substr(0, 16)), PortLabel());
  dialog_ = new CFleetDlg(app_, plan, LogPath(), app_.MainFrame());
  connect(dialog_, &CFleetDlg::nextClicked, this, [this] {
    next_.store(true);
    dialog_->SetState(false, true);
  });
  connect(dialog_, &CFleetDlg::stopClicked, this, &FleetController::Stop);
  connect(dialog_, &QDialog::finished, this, &FleetController::Finish);
  passed_ = failed_ = 0;
  stop_.store(false);
  next_.store(true);
  running_ = true;
  dialog_->show();
  if (QWidget* owner = dialog_->parentWidget())
    dialog_->move(owner->window()->geometry().center() - dialog_->rect().center());
  emit busyChanged(true);

  worker_ = std::thread([this, port = transfer_.MakePort(), job = std::move(job)]() mutable {
    Observer observer(this);
    radio::FleetBatch batch(*port, observer, std::move(job));
    while (std::optional<radio::FleetResult> result = batch.ProgramNext()) {
      QMetaObject::invokeMethod(
          this, [this, done = std::move(*result)] { OnResult(done); }, Qt::QueuedConnection);
      if (stop_.load()) break;
    }
    QMetaObject::invokeMethod(this, [this] { OnEnded(); }, Qt::QueuedConnection);
  });
}

void FleetController::OnPhase(FleetPhase phase, int number, const PortOpenError& port) {
  if (!dialog_ || stop_.load()) return;
  const QString n = QString::number(number);
  switch (phase) {
    case FleetPhase::kAwaitRemoval:
      dialog_->SetStatus(app_.Tr("Radio %1 is still connected: disconnect it. The next radio "
                                 "counts once it is gone.",
                                 "第 %1 台电台仍然连接着：请断开它。断开后才会写下一台。")
                             .arg(number - 1));
      break;
    case FleetPhase::kAwaitNext:
      break;
    case FleetPhase::kAwaitRadio: {
      QString text = app_.Tr("Radio %1: waiting for a radio on %2...", "第 %1 台：正在等待 %2 上的电台……")
                         .arg(n, PortLabel());
      if (port.reason != PortOpenError::Reason::kNone)
        text += app_.Tr(" (%1)", "（%1）").arg(FromBytes(radio::PortStateText(port, app_.Chinese())));
      dialog_->SetStatus(text);
      dialog_->SetProgress(0, 1);
      break;
    }
    case FleetPhase::kWriting:
      dialog_->SetStatus(app_.Tr("Radio %1: writing...", "第 %1 台：正在写频……").arg(n));
      break;
    case FleetPhase::kVerifying:
      dialog_->SetStatus(
          app_.Tr("Radio %1: reading back and comparing...", "第 %1 台：正在读回并核对……").arg(n));
      break;
  }
}

void FleetController::OnResult(const radio::FleetResult& result) {
  if (!dialog_) return;
  (result.record.ok ? passed_ : failed_) += 1;
  dialog_->AddRadio(result.number, result.record, FromBytes(result.shownReason));
  const QString n = QString::number(result.number);
  QString text = result.record.ok
                     ? app_.Tr("Radio %1 is written and verified.", "第 %1 台已写入并核对。").arg(n)
                     : app_.Tr("Radio %1 failed.", "第 %1 台失败。").arg(n);
  if (!stop_.load()) {
    // Chinese sentences follow each other without a space.
    text += app_.Tr(" Disconnect it, connect the next radio and press Next.",
                    "请断开它，连接下一台电台，然后按“下一台”。");
  }
  if (!result.logError.empty()) {
    text += QLatin1Char('\n') + app_.Tr("The log could not be written: %1", "无法写入记录：%1")
                                    .arg(FromBytes(result.logError));
  }
  dialog_->SetStatus(text);
  dialog_->SetState(!stop_.load(), true);
  emit radioDone(result.number, result.record.ok);
}

void FleetController::Stop() {
  stop_.store(true);
  if (dialog_ && running_) {
    dialog_->SetState(false, true);
    dialog_->Button("stop")->setEnabled(false);
  }
}

void FleetController::OnEnded() {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  const QString tally = app_.Tr("Several radios on %1: %2 written and verified, %3 failed",
                                "批量写频（%1）：%2 台已写入并核对，%3 台失败")
                            .arg(PortLabel())
                            .arg(passed_)
                            .arg(failed_);
  if (CMainFrame* frame = app_.MainFrame()) frame->SetIdleText(tally);
  emit batchEnded();
  if (!dialog_) return;
  dialog_->SetStatus(app_.Tr("The batch has ended.", "批量写频已结束。"));
  dialog_->SetState(false, false);
}

void FleetController::Finish() {
  if (running_ || !dialog_) return;
  dialog_->deleteLater();
  dialog_.clear();
  emit busyChanged(false);
}

}  // namespace varo::shell
