#include "shell/CAboutDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "platform/ProgramFiles.h"
#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"
#include "shell/ShellIcons.h"

namespace varo::shell {

CAboutDlg::CAboutDlg(CShellApp& app, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CAboutDlg"));
  const DialogUnits du(font());
  setFixedSize(du.X(250), du.Y(78));
  setWindowTitle(app.LanguageSectionText("About Title"));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("1004"));
  QIcon picture;
  if (auto path = FindFileNoCase(app.ProgramDir(), "title.ico"))
    picture = QIcon(QString::fromStdString(*path));
  if (picture.isNull() || picture.availableSizes().isEmpty()) picture = RadioIcon();
  icon->setPixmap(picture.pixmap(32, 32));
  du.Place(icon, 12, 12, 24, 24);

  const char* keys[] = {"Version", "Copyrights", "Copyrights Owner"};
  for (int i = 0; i < 3; ++i) {
    lines_[i] = new QLabel(app.LanguageSectionText(keys[i]), this);
    lines_[i]->setObjectName(QString::number(1001 + i));
    du.Place(lines_[i], 46, 10 + 14 * i, 196, 11);
  }

  auto* ok = new QPushButton(app.DialogText(IDD_ABOUTBOX, "1", app.Tr("OK", "确定")), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  du.Place(ok, 192, 58, 50, 14);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::Line(int controlId) const {
  const int i = controlId - 1001;
  return i >= 0 && i < 3 ? lines_[i]->text() : QString();
}

}  // namespace varo::shell
