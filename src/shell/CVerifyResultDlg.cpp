#include "shell/CVerifyResultDlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "shell/CommandIds.h"
#include "shell/ShellApp.h"

namespace varo::shell {

CVerifyResultDlg::CVerifyResultDlg(CShellApp& app, const QStringList& lines, QWidget* parent)
    : CVerifyResultDlg(app, lines, parent, app.Tr("Verify with Radio", "与电台核对"), ID_VERIFY,
                       lines.size() > 1) {}

CVerifyResultDlg::CVerifyResultDlg(CShellApp& app, const QStringList& lines, QWidget* parent,
                                   const QString& title, int helpId, bool warning)
    : QDialog(parent),
      app_(app),
      helpId_(helpId),
      summary_(new QLabel(lines.value(0), this)),
      differences_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("CVerifyResultDlg"));
  setWindowTitle(title);
  const bool matches = lines.size() <= 1;

  auto* icon = new QLabel(this);
  const QStyle::StandardPixmap picture =
      warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation;
  icon->setPixmap(style()->standardIcon(picture).pixmap(32, 32));
  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setWordWrap(true);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(summary_, 1);

  differences_->setObjectName(QStringLiteral("differences"));
  differences_->setReadOnly(true);
  differences_->setLineWrapMode(QPlainTextEdit::NoWrap);
  differences_->setPlainText(lines.mid(1).join(QLatin1Char('\n')));
  differences_->setVisible(!matches);
  const int shown = static_cast<int>(std::min<qsizetype>(lines.size() - 1, 12));
  differences_->setMinimumSize(560, differences_->fontMetrics().lineSpacing() * (shown + 1) + 12);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(app.Tr("OK", "确定"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(differences_, 1);
  layout->addWidget(buttons);
  if (matches) setMinimumWidth(360);
}

QString CVerifyResultDlg::Summary() const { return summary_->text(); }

QStringList CVerifyResultDlg::Differences() const {
  const QString text = differences_->toPlainText();
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void CVerifyResultDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    app_.ShowHelp(helpId_);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
