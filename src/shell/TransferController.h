#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "radio/CloneLink.h"
#include "shell/CProcessDlg.h"
#include "radio/GridControl.h"
#include "radio/ImageCompare.h"
#include "radio/MemoryImage.h"
#include "radio/ProductBand.h"
#include "radio/RadioModel.h"

namespace varo {
class SerialPort;
}

namespace varo::shell {

class CShellApp;



// Read and Write from the radio for one document: the Process dialog, the
// clone link and what goes around it.
//
// Read(): offers the Process dialog ("Read Data", range 0 to the read's
// blocks). Write(): commits the cell being edited and offers it ("Write
// Data", range 0 to the write's blocks). The radio model gives the protocol,
// the codec and the product offsets.
// OK in the dialog starts the transfer from the event loop:
//   1. the cell being edited is committed; a write first stores the whole
//      table into the image;
//   2. the link opens the port the view names and moves the blocks, the
//      dialog showing its progress and Cancel being honoured between blocks;
//   3. after a completed read the image takes the radio's bytes, the
//      new-document flag is cleared, the table is filled from the image and
//      the band selection step stores type and band in the registry, sets the
//      main window's title and hands the band limits to the view.
// A failure shows its message and leaves the image and the table as they
// were; a write leaves the image as the commit of step 1 made it.
//
// Verify(): offers the dialog ("Verify Data", the read's blocks); OK reads the
// radio into a copy, the document untouched, and compares what a write would
// send (the image with the table stored into a copy of it) with what came
// back: LastComparison().
//
// Every transfer that was started leaves a line in the status bar: what
// happened, with which port and how long it took ("Read from COM1 in 2.7 s",
// "Write to COM1 failed").
//
// Guard: from the moment the dialog is offered until it is gone, busy() is
// true and busyChanged() has told the shell, which disables Read, Write,
// Open, Save, Save As, New, Language and the dialogs that change the
// document. Read and Write themselves do nothing while busy, so the
// direction is the one chosen when the dialog was offered. A close request
// to the main window during a transfer cancels it, and the window closes once
// the transfer has ended.
//
// Wiring in the view:
//   transfer_ = new TransferController(app, model, doc.Image(), grid, hooks, this);
//   connect(transfer_, &TransferController::busyChanged, frame, ...UpdateCommandUI);
//   Read (32773) -> transfer_->Read(); Write (32774) -> transfer_->Write();
//   CommandEnabled(32773 / 32774 / ...) -> !transfer_->busy()
class TransferController : public QObject {
  Q_OBJECT

 public:
  enum class Direction { kRead, kWrite, kVerify };

  // What the controller needs of the view that owns it.
  struct Hooks {
    // Commits the cell being edited into the table.
    std::function<void()> commitCell;
    // The port the view names ("COM1" unless COM Setup chose another),
    // asked when a transfer starts.
    std::function<QString()> portName;
    // Receives the band limits of the band selection step after a read.
    std::function<void(const radio::BandLimits&)> setBandLimits;
    // Makes the serial port; the platform's own when empty.
    std::function<std::unique_ptr<SerialPort>()> makePort;
  };

  // `image` and `grid` are the document's image and the view's table; they
  // and `model` must outlive the controller, which should therefore be a
  // child of the view (`parent`). The Process dialog is made over the main
  // window.
  TransferController(CShellApp& app, const radio::RadioModel& model, radio::MemoryImage& image,
                     radio::GridControl& grid, Hooks hooks, QObject* parent = nullptr);
  ~TransferController() override;

  // The Read (32773), Write (32774) and Verify (32801) commands.
  void Read();
  void Write();
  void Verify();
  // Where the serial port comes from (tests count and fake ports here).
  void SetMakePort(std::function<std::unique_ptr<SerialPort>()> makePort) {
    hooks_.makePort = std::move(makePort);
  }

  // True while the Process dialog is offered or its transfer runs.
  bool busy() const { return state_ != State::kIdle; }
  // The direction of the transfer offered or running (the last one when idle).
  Direction direction() const { return direction_; }
  // The dialog while it exists.
  CProcessDlg* ProcessDialog() const { return dialog_; }
  // How the last transfer ended; nothing before the first one and when the
  // dialog was cancelled before OK.
  std::optional<radio::CloneLink::Outcome> LastOutcome() const { return lastOutcome_; }
  // What the last completed verify found.
  const radio::ImageComparison& LastComparison() const { return comparison_; }
  // The status bar's line about a transfer that ended with `outcome` after
  // `seconds`, in the interface language.
  QString OutcomeText(Direction direction, radio::CloneLink::Outcome outcome, double seconds) const;
  // The port as the status bar names it ("COM1"), its device, and a new
  // serial port (the platform's, unless SetMakePort chose another).
  QString PortLabel() const;
  std::string DevicePath() const;
  std::unique_ptr<SerialPort> MakePort() const;

 signals:
  void busyChanged(bool busy);
  // A transfer that was started has ended (after the table was filled when a
  // read completed).
  void transferFinished(varo::radio::CloneLink::Outcome outcome);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class State { kIdle, kOffered, kRunning };

  void Offer(Direction direction);
  void RunTransfer();
  void AfterRead(const radio::MemoryImage& received);
  void EndDialog();
  void SetState(State state);

  CShellApp& app_;
  const radio::RadioModel& model_;
  radio::MemoryImage& image_;
  radio::GridControl& grid_;
  Hooks hooks_;
  State state_ = State::kIdle;
  Direction direction_ = Direction::kRead;
  QPointer<CProcessDlg> dialog_;
  QPointer<QObject> watchedWindow_;
  bool closePending_ = false;
  std::optional<radio::CloneLink::Outcome> lastOutcome_;
  radio::ImageComparison comparison_;
};

}  // namespace varo::shell
