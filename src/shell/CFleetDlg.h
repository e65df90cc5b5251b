#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QUrl;

namespace varo::radio {
struct FleetRecord;
}

namespace varo::shell {

class CShellApp;

// Write to Several Radios: the window of a batch. At the top the plan (file
// and SHA-256) and the port; below, what the batch does now (status), the
// current radio's write or read-back (progress), every radio done so far
// (time, outcome, identification, reason) and the tally. Next takes the next
// radio, Stop ends the batch (while waiting at once, during a write after
// its block), Close closes the window once the batch has ended; Show Log
// lists the log, Open Folder opens the folder holding it. F1 opens the
// command's help page.
//
// The dialog only shows; FleetController drives it. Closing the window while
// the batch runs is Stop, and the window goes once the batch has ended.
//
// Control object names: "plan", "status", "progress", "radios", "summary",
// "next", "stop", "close", "log", "folder".
class CFleetDlg : public QDialog {
  Q_OBJECT

 public:
  CFleetDlg(CShellApp& app, const QString& plan, const QString& logPath, QWidget* parent);

  void SetStatus(const QString& text);
  void SetProgress(int position, int total);
  // One more radio done, numbered `number`.
  void AddRadio(int number, const radio::FleetRecord& record, const QString& reason);
  // What the buttons offer: Next while a radio is done and the next not
  // taken; Stop while the batch runs; Close once it has ended.
  void SetState(bool nextOffered, bool running);

  QString Status() const;
  QTreeWidget* Radios() const { return radios_; }
  QPushButton* Button(const char* name) const;

  // How a folder is opened (tests record it here instead).
  static std::function<bool(const QUrl&)>& OpenUrl();

 signals:
  void nextClicked();
  void stopClicked();

 public slots:
  // Closing the window (Close, Esc, the title bar) while the batch runs is
  // Stop; the window then goes once the batch has ended.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowLog();
  void OpenFolder();

  CShellApp& app_;
  QString logPath_;
  QLabel* status_;
  QProgressBar* progress_;
  QTreeWidget* radios_;
  QLabel* summary_;
  QPushButton* next_;
  QPushButton* stop_;
  QPushButton* close_;
  int passed_ = 0;
  int failed_ = 0;
  bool running_ = true;
  bool closeWhenEnded_ = false;
};

// The log of every radio written so far: a row per line of the file at
// `logPath` (time, outcome, identification, file, SHA-256, reason), the
// newest last, with Open Folder and Close. Object names: "path", "records",
// "folder", "close".
class CFleetLogDlg : public QDialog {
  Q_OBJECT

 public:
  CFleetLogDlg(CShellApp& app, const QString& logPath, QWidget* parent);
  QTreeWidget* Records() const { return records_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CShellApp& app_;
  QTreeWidget* records_;
};

}  // namespace varo::shell
