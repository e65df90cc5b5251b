#pragma once

#include <QDialog>

class QLabel;

namespace varo::shell {

class CShellApp;

// About (template 100): caption, version, copyright and owner lines from the
// program INI's language section, and the program's icon.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  CAboutDlg(CShellApp& app, QWidget* parent);

  QString Line(int controlId) const;

 private:
  QLabel* lines_[3];
};

}  // namespace varo::shell
