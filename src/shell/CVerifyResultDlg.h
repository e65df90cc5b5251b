#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;

namespace varo::shell {

class CShellApp;

// What Verify with Radio found: the summary line ("The radio matches the
// document." or "The radio differs from the document in 2 places:") and,
// below it, every difference, one per line, in a read-only list that can be
// copied. OK closes it; F1 opens the topic of the Verify command.
//
// The same window lists other results line by line under a title of their
// own (Compare with, a paste that was not complete, an import), its F1 then
// opening the topic of that command.
//
// Control object names: "summary", "differences", "1" (OK).
class CVerifyResultDlg : public QDialog {
  Q_OBJECT

 public:
  // `lines`: the summary first, then the differences.
  CVerifyResultDlg(CShellApp& app, const QStringList& lines, QWidget* parent);
  // `warning`: the warning icon instead of the information icon.
  CVerifyResultDlg(CShellApp& app, const QStringList& lines, QWidget* parent, const QString& title,
                   int helpId, bool warning);

  QString Summary() const;
  QStringList Differences() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CShellApp& app_;
  int helpId_;
  QLabel* summary_;
  QPlainTextEdit* differences_;
};

}  // namespace varo::shell
