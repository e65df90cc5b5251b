#include "shell/QtCloneHost.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "shell/ShellApp.h"

namespace varo::shell {

void QtCloneHost::StepProgress(int position) {
  if (dialog_) dialog_->Step(position);
}

void QtCloneHost::PumpEvent() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtCloneHost::CancelRequested() { return !dialog_ || dialog_->CancelRequested(); }

radio::CloneHost::Answer QtCloneHost::ShowMessage(int id, Buttons buttons) {
  shown_.push_back(id);
  // A module without the text still says what went wrong, in English.
  QString text = app_.Str(id);
  if (text.isEmpty()) text = QString::fromUtf8(radio::CloneMessageText(id));
  const bool retry = buttons == Buttons::kRetryCancel;
  const QMessageBox::StandardButton answer =
      app_.MessageBox(text, retry ? QMessageBox::Retry | QMessageBox::Cancel : QMessageBox::Ok,
                      QMessageBox::Warning);
  if (!retry) return Answer::kOk;
  return answer == QMessageBox::Retry ? Answer::kRetry : Answer::kCancel;
}

}  // namespace varo::shell
