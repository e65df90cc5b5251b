#include "shell/CProcessDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"

namespace varo::shell {

namespace {

constexpr int kProgressId = 1001;
constexpr int kCountId = 1009;
// The range the dialog is made with; every transfer replaces it at once.
constexpr int kCreatedRange = 64;

}  // namespace

CProcessDlg::CProcessDlg(CShellApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName(QStringLiteral("CProcessDlg"));
  setModal(false);
  const DialogUnits du(font());
  setFixedSize(du.X(206), du.Y(73));
  setWindowTitle(app.DialogText(IDD_PROCESS, "caption", QStringLiteral("Process")));

  bar_ = new QProgressBar(this);
  bar_->setObjectName(QString::number(kProgressId));
  bar_->setTextVisible(false);
  bar_->setRange(0, kCreatedRange);
  bar_->setValue(0);
  du.Place(bar_, 23, 21, 159, 9);

  ok_ = new QPushButton(app.DialogText(IDD_PROCESS, "1", app.Tr("OK", "确定")), this);
  ok_->setObjectName(QStringLiteral("1"));
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  du.Place(ok_, 23, 40, 42, 14);

  count_ = new QLabel(app.DialogText(IDD_PROCESS, "1009", QStringLiteral("0")), this);
  count_->setObjectName(QString::number(kCountId));
  count_->setAlignment(Qt::AlignCenter);
  count_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  du.Place(count_, 83, 40, 40, 14);

  cancelButton_ =
      new QPushButton(app.DialogText(IDD_PROCESS, "2", app.Tr("Cancel", "取消")), this);
  cancelButton_->setObjectName(QStringLiteral("2"));
  cancelButton_->setAutoDefault(false);
  du.Place(cancelButton_, 140, 40, 42, 14);

  setTabOrder(ok_, cancelButton_);
  connect(ok_, &QPushButton::clicked, this, &CProcessDlg::OnOk);
  connect(cancelButton_, &QPushButton::clicked, this, &CProcessDlg::reject);
}

void CProcessDlg::Offer(const QString& caption, int maximum) {
  setWindowTitle(caption);
  bar_->setRange(0, maximum);
  bar_->setValue(0);
  count_->setText(QStringLiteral("0"));
  cancel_ = false;
  ok_->setEnabled(true);
  show();
  if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
    move(owner->geometry().center() - rect().center());
  }
  raise();
  activateWindow();
  ok_->setFocus(Qt::OtherFocusReason);
}

void CProcessDlg::Step(int position) {
  if (position > bar_->maximum()) return;
  bar_->setValue(position);
  count_->setText(QString::number(position));
}

bool CProcessDlg::Started() const { return !ok_->isEnabled(); }

void CProcessDlg::OnOk() {
  if (Started()) return;
  ok_->setEnabled(false);
  // The keyboard stays in the dialog so that Esc still reaches Cancel.
  cancelButton_->setFocus(Qt::OtherFocusReason);
  emit startRequested();
}

void CProcessDlg::reject() {
  cancel_ = true;
  if (Started()) return;  // the running transfer sees the flag at its next pump
  hide();
  emit dismissed();
}

void CProcessDlg::closeEvent(QCloseEvent* event) {
  // Closing the window is Cancel; during a transfer the window stays until
  // the transfer has seen the flag.
  event->ignore();
  reject();
}

void CProcessDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    app_.ShowHelp(IDD_PROCESS);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
