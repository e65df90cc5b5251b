#include "shell/TransferController.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QWidget>

#include "shell/CProcessDlg.h"
#include "shell/QtCloneHost.h"
#include "ini/PortNames.h"
#include "platform/SerialPort.h"
#include "shell/CMainFrame.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

TransferController::TransferController(CShellApp& app, const radio::RadioModel& model,
                                       radio::MemoryImage& image, radio::GridControl& grid,
                                       Hooks hooks, QObject* parent)
    : QObject(parent),
      app_(app),
      model_(model),
      image_(image),
      grid_(grid),
      hooks_(std::move(hooks)) {}

TransferController::~TransferController() {
  if (watchedWindow_) watchedWindow_->removeEventFilter(this);
  delete dialog_.data();
}

void TransferController::Read() { Offer(Direction::kRead); }

void TransferController::Write() {
  if (busy()) return;
  if (hooks_.commitCell) hooks_.commitCell();
  Offer(Direction::kWrite);
}

void TransferController::Verify() { Offer(Direction::kVerify); }

void TransferController::Offer(Direction direction) {
  // While a dialog is on show the direction stays the one it was offered for.
  if (busy()) return;
  direction_ = direction;
  QWidget* owner = app_.MainFrame();
  dialog_ = new CProcessDlg(app_, owner);
  // The start is posted, as the start message always was: the transfer runs
  // from the event loop, not from inside the OK button's click.
  connect(dialog_, &CProcessDlg::startRequested, this, &TransferController::RunTransfer,
          Qt::QueuedConnection);
  connect(dialog_, &CProcessDlg::dismissed, this, &TransferController::EndDialog);
  if (owner) {
    owner->installEventFilter(this);
    watchedWindow_ = owner;
  }
  SetState(State::kOffered);
  switch (direction) {
    case Direction::kRead:
      dialog_->Offer(app_.Tr("Read Data", "读数据"), model_.protocol->ReadBlocks());
      break;
    case Direction::kWrite:
      dialog_->Offer(app_.Tr("Write Data", "写数据"), model_.protocol->WriteBlocks());
      break;
    case Direction::kVerify:
      dialog_->Offer(app_.Tr("Verify Data", "核对数据"), model_.protocol->ReadBlocks());
      break;
  }
}

QString TransferController::PortLabel() const {
  // "com3", as COM Setup names the port, reads "COM3"; a device path stays.
  const QString name = hooks_.portName ? hooks_.portName() : QStringLiteral("COM1");
  static const QRegularExpression kComPort(QStringLiteral("^com\\d+$"),
                                           QRegularExpression::CaseInsensitiveOption);
  return kComPort.match(name).hasMatch() ? name.toUpper() : name;
}

QString TransferController::OutcomeText(Direction direction, radio::CloneLink::Outcome outcome,
                                        double seconds) const {
  using Outcome = radio::CloneLink::Outcome;
  const QString port = PortLabel();
  const QString time = QString::number(seconds, 'f', 1);
  if (outcome == Outcome::kCancelled) {
    switch (direction) {
      case Direction::kRead: return app_.Tr("Read from %1 cancelled", "从 %1 读频已取消").arg(port);
      case Direction::kWrite:
        return app_.Tr("Write to %1 cancelled; the radio may hold part of the data",
                       "向 %1 写频已取消，电台中可能只有部分数据").arg(port);
      case Direction::kVerify: return app_.Tr("Verify with %1 cancelled", "与 %1 核对已取消").arg(port);
    }
  }
  if (outcome != Outcome::kCompleted) {
    switch (direction) {
      case Direction::kRead: return app_.Tr("Read from %1 failed", "从 %1 读频失败").arg(port);
      case Direction::kWrite:
        return app_.Tr("Write to %1 failed; the radio may hold part of the data",
                       "向 %1 写频失败，电台中可能只有部分数据").arg(port);
      case Direction::kVerify: return app_.Tr("Verify with %1 failed", "与 %1 核对失败").arg(port);
    }
  }
  switch (direction) {
    case Direction::kRead:
      return app_.Tr("Read from %1 in %2 s", "已从 %1 读频，用时 %2 秒").arg(port, time);
    case Direction::kWrite:
      return app_.Tr("Written to %1 in %2 s", "已写入 %1，用时 %2 秒").arg(port, time);
    case Direction::kVerify:
      if (comparison_.Matches())
        return app_.Tr("Verified with %1 in %2 s: the radio matches",
                       "已与 %1 核对，用时 %2 秒：电台与文档一致").arg(port, time);
      return app_.Tr("Verified with %1 in %2 s: %3 differences",
                     "已与 %1 核对，用时 %2 秒：%3 处不同")
          .arg(port, time, QString::number(comparison_.Places()));
  }
  return {};
}

std::string TransferController::DevicePath() const {
  const QString name = hooks_.portName ? hooks_.portName() : QStringLiteral("COM1");
  return ResolvePortName(ToBytes(name), &app_.Ini(), app_.Traits().programName);
}

std::unique_ptr<SerialPort> TransferController::MakePort() const {
  return hooks_.makePort ? hooks_.makePort() : CreateSerialPort();
}

void TransferController::RunTransfer() {
  if (state_ != State::kOffered) return;
  if (!dialog_ || dialog_->CancelRequested()) {
    // Cancelled between OK and the start: nothing has been sent.
    EndDialog();
    return;
  }
  SetState(State::kRunning);
  QElapsedTimer clock;
  clock.start();

  // Everything the link touches while it pumps events lives on this stack:
  // should an event tear down the view (and this controller with it), the
  // link still finishes on valid objects and nothing is written back.
  QPointer<TransferController> self(this);
  if (hooks_.commitCell) hooks_.commitCell();
  if (!self) return;
  if (direction_ == Direction::kWrite) model_.tableToImage(grid_, image_);
  const Direction direction = direction_;
  radio::MemoryImage work = image_;
  // What a write would send now: the image with the table stored into it.
  radio::MemoryImage expected = image_;
  if (direction == Direction::kVerify) model_.tableToImage(grid_, expected);
  const std::string device = DevicePath();
  std::unique_ptr<SerialPort> serial = MakePort();
  QtCloneHost host(app_, dialog_);
  radio::CloneLink link(*serial, host, *model_.protocol);
  const radio::CloneLink::Outcome outcome =
      direction == Direction::kWrite ? link.Write(device, work) : link.Read(device, work);
  if (!self) return;

  lastOutcome_ = outcome;
  const bool completed = outcome == radio::CloneLink::Outcome::kCompleted;
  if (direction == Direction::kRead && completed) {
    AfterRead(work);
    if (!self) return;
  }
  if (direction == Direction::kVerify && completed)
    comparison_ = radio::CompareImages(model_, expected, work, app_.Chinese());
  if (CMainFrame* frame = app_.MainFrame())
    frame->SetIdleText(OutcomeText(direction, outcome, static_cast<double>(clock.elapsed()) / 1000));
  const QPointer<QObject> window = watchedWindow_;
  EndDialog();
  emit transferFinished(outcome);
  if (self && closePending_ && window) {
    closePending_ = false;
    QMetaObject::invokeMethod(window.data(), "close", Qt::QueuedConnection);
  }
}

void TransferController::AfterRead(const radio::MemoryImage& received) {
  // An editor the user opened while the blocks came in would otherwise
  // write its stale text over the new table when its cell is left.
  QPointer<TransferController> self(this);
  if (hooks_.commitCell) hooks_.commitCell();
  if (!self) return;
  image_ = received;
  app_.SetNewDocumentFlag(false);
  CShellApp& app = app_;
  const radio::BandLimits limits = radio::FillTableFromImage(
      model_, image_, grid_, app.Ini(), app.LanguageValue(), app.Chinese(), false,
      [&app](const std::string& title) {
        if (app.MainFrame()) app.MainFrame()->SetTitle(FromBytes(title));
      });
  if (hooks_.setBandLimits) hooks_.setBandLimits(limits);
}

void TransferController::EndDialog() {
  if (CProcessDlg* dialog = dialog_.data()) {
    dialog_.clear();
    dialog->hide();
    dialog->deleteLater();
  }
  if (watchedWindow_) watchedWindow_->removeEventFilter(this);
  watchedWindow_.clear();
  SetState(State::kIdle);
}

void TransferController::SetState(State state) {
  const bool wasBusy = busy();
  state_ = state;
  if (wasBusy != busy()) emit busyChanged(busy());
}

bool TransferController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watchedWindow_ && event->type() == QEvent::Close && busy()) {
    if (state_ == State::kOffered) {
      // Nothing runs yet: the offer goes with the window.
      if (dialog_) dialog_->reject();
      return false;
    }
    // The transfer ends at its next pump; the window closes after it.
    event->ignore();
    if (dialog_) dialog_->reject();
    closePending_ = true;
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace varo::shell
