#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace varo::shell {

class CShellApp;

// The Process dialog (template 131): the modeless window in which a Read or
// Write from the radio is offered and then runs. It shows a caption ("Read
// Data" / "Write Data"), a progress bar (1001) with one step per block, the
// count of blocks done (1009), OK (1) and Cancel (2).
//
// OK disables itself and emits startRequested(); the owner connects it with a
// queued connection, so that the transfer starts from the event loop as the
// posted start message always did. Cancel (the button, Esc or closing the
// window) sets the cancel flag; while OK is still enabled, no transfer has
// begun, and the dialog hides at once and emits dismissed(). During a
// transfer the flag is seen at the next event pump.
//
// The owner keeps the object and deletes it when the transfer has ended (or
// after dismissed()): the window exists only while a transfer is offered or
// running.
class CProcessDlg : public QDialog {
  Q_OBJECT

 public:
  CProcessDlg(CShellApp& app, QWidget* parent);

  // Offers a transfer: the caption, the progress range 0-`maximum`, position
  // 0, the count "0" and the cancel flag cleared; shows the dialog centred on
  // its parent window.
  void Offer(const QString& caption, int maximum);

  // One more block done: the bar at `position` and its number in 1009. A
  // position beyond the range is not shown.
  void Step(int position);

  bool CancelRequested() const { return cancel_; }
  // True once OK was pressed: the transfer is started or running.
  bool Started() const;

  QProgressBar* ProgressBar() const { return bar_; }
  QLabel* CountLabel() const { return count_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  void reject() override;

 signals:
  void startRequested();
  void dismissed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnOk();

  CShellApp& app_;
  QProgressBar* bar_;
  QLabel* count_;
  QPushButton* ok_;
  QPushButton* cancelButton_;
  bool cancel_ = false;
};

}  // namespace varo::shell
