#include "shell/QtMessageBoxes.h"

#include <QMessageBox>

#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

using radio::MessageAnswer;
using radio::MessageButtons;
using radio::MessageIcon;

MessageAnswer QtMessageBoxes::Show(const radio::MessageRequest& request) {
  const QString text = request.textId ? app_.Str(request.textId) : FromBytes(request.text);
  const QString caption = request.captionId ? app_.Str(request.captionId) : app_.AppName();

  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (request.icon) {
    case MessageIcon::kNone: icon = QMessageBox::NoIcon; break;
    case MessageIcon::kExclamation: icon = QMessageBox::Warning; break;
    case MessageIcon::kInformation: icon = QMessageBox::Information; break;
    case MessageIcon::kQuestion: icon = QMessageBox::Question; break;
    case MessageIcon::kStop: icon = QMessageBox::Critical; break;
  }
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (request.buttons) {
    case MessageButtons::kOk: buttons = QMessageBox::Ok; break;
    case MessageButtons::kOkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::kRetryCancel: buttons = QMessageBox::Retry | QMessageBox::Cancel; break;
    case MessageButtons::kYesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
  }

  switch (app_.MessageBox(text, buttons, icon, caption)) {
    case QMessageBox::Ok: return MessageAnswer::kOk;
    case QMessageBox::Retry: return MessageAnswer::kRetry;
    case QMessageBox::Yes: return MessageAnswer::kYes;
    case QMessageBox::No: return MessageAnswer::kNo;
    default: return MessageAnswer::kCancel;
  }
}

}  // namespace varo::shell
