#include "shell/QtCloneHost.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "platform/SerialPort.h"
#include "radio/PortOpenText.h"
#include "shell/ShellApp.h"

namespace varo::shell {

void QtCloneHost::StepProgress(int position) {
  if (dialog_) dialog_->Step(position);
}

void QtCloneHost::PumpEvent() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtCloneHost::CancelRequested() { return !dialog_ || dialog_->CancelRequested(); }

namespace {

// The module's text of message `id`; a module without it still says what
// went wrong, in English.
QString MessageText(const CShellApp& app, int id) {
  const QString text = app.Str(id);
  return text.isEmpty() ? QString::fromUtf8(radio::CloneMessageText(id)) : text;
}

}  // namespace

void QtCloneHost::ShowPortOpenFailed(const PortOpenError& error) {
  shown_.push_back(radio::kMsgPortOpenFailed);
  QString text = MessageText(app_, radio::kMsgPortOpenFailed);
  const std::string advice = radio::PortOpenAdvice(error, app_.Chinese());
  if (!advice.empty()) text += QLatin1Char('\n') + QString::fromStdString(advice);
  app_.MessageBox(text, QMessageBox::Ok, QMessageBox::Warning);
}

radio::CloneHost::Answer QtCloneHost::ShowMessage(int id, Buttons buttons) {
  shown_.push_back(id);
  const QString text = MessageText(app_, id);
  const bool retry = buttons == Buttons::kRetryCancel;
  const QMessageBox::StandardButton answer =
      app_.MessageBox(text, retry ? QMessageBox::Retry | QMessageBox::Cancel : QMessageBox::Ok,
                      QMessageBox::Warning);
  if (!retry) return Answer::kOk;
  return answer == QMessageBox::Retry ? Answer::kRetry : Answer::kCancel;
}

}  // namespace varo::shell
