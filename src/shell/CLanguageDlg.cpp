#include "shell/CLanguageDlg.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"

namespace varo::shell {

CLanguageDlg::CLanguageDlg(CShellApp& app, QWidget* parent) : QDialog(parent), app_(app) {
  setObjectName(QStringLiteral("CLanguageDlg"));
  const DialogUnits du(font());
  setFixedSize(du.X(159), du.Y(75));
  setWindowTitle(app.DialogText(IDD_LANGUAGE, "caption", QStringLiteral("Language")));

  group_ = new QButtonGroup(this);
  const char* fallback[2] = {"English", "Chinese"};
  const int pos[2][3] = {{27, 19, 50}, {98, 19, 50}};
  for (int i = 0; i < 2; ++i) {
    const int id = 1006 + i;
    buttons_[i] = new QRadioButton(
        app.DialogText(IDD_LANGUAGE, std::to_string(id), QString::fromLatin1(fallback[i])), this);
    buttons_[i]->setObjectName(QString::number(id));
    du.Place(buttons_[i], pos[i][0], pos[i][1], pos[i][2], 11);
    group_->addButton(buttons_[i], i);
  }
  buttons_[app.Chinese() ? 1 : 0]->setChecked(true);

  auto* ok = new QPushButton(app.DialogText(IDD_LANGUAGE, "1", app.Tr("OK", "确定")), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  du.Place(ok, 29, 44, 36, 14);
  auto* cancel = new QPushButton(app.DialogText(IDD_LANGUAGE, "2", app.Tr("Cancel", "取消")), this);
  cancel->setObjectName(QStringLiteral("2"));
  du.Place(cancel, 95, 44, 36, 14);
  connect(ok, &QPushButton::clicked, this, &CLanguageDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CLanguageDlg::Choice() const { return group_->checkedId(); }

void CLanguageDlg::accept() {
  if (Choice() != (app_.Chinese() ? 1 : 0)) {
    changed_ = true;
    app_.Ini().SetValue("Setup", "Language", app_.Chinese() ? "English" : "Chinese");
  }
  QDialog::accept();
}

void CLanguageDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) app_.ShowHelp(ID_LANGUAGE);
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
