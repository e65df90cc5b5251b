#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "radio/Fleet.h"
#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo::shell {

class CFleetDlg;
class CShellApp;
class TransferController;

// Write to Several Radios (32810) for one document: the plan (the image with
// the table stored into a copy, as a write would send it) goes into one radio
// after another on the view's port, each read back, compared and logged
// (radio::FleetBatch), in the window CFleetDlg.
//
// The batch runs on a thread of its own, so that the window stays alive
// while the port is tried for a radio (a try can take seconds); the thread
// owns the port and a copy of everything it needs, and hands each phase,
// block and radio to this object through the event loop. The first radio is
// taken as soon as it answers; each following one once the user has pressed
// Next and the radio before has been disconnected. Stop (or closing the
// window) ends the batch: a wait at once, a write or read-back after its
// block.
//
// From Start() until the window has gone, busy() is true and busyChanged()
// tells the shell, which holds the commands that change the document or use
// the port, as during a transfer. When the batch has ended the status bar
// tells the tally ("Several radios on COM1: 4 written and verified, 1
// failed").
class FleetController : public QObject {
  Q_OBJECT

 public:
  struct Hooks {
    // The memory image every radio receives, taken when the batch starts.
    std::function<radio::MemoryImage()> plan;
    // The document's file, for the log.
    std::function<QString()> file;
  };

  // `transfer` names the port and makes it; both it and `model` must
  // outlive this object.
  FleetController(CShellApp& app, const radio::RadioModel& model, TransferController& transfer,
                  Hooks hooks, QObject* parent = nullptr);
  ~FleetController() override;

  // Opens the window and starts waiting for the first radio.
  void Start();
  bool busy() const;
  CFleetDlg* Dialog() const;
  // Pauses between tries of the port (tests shorten them).
  void SetIntervals(unsigned probeMs, unsigned removalMs) {
    probeMs_ = probeMs;
    removalMs_ = removalMs;
  }
  // Where the log is kept (the suite's log in the user's data folder).
  static QString LogPath();

 signals:
  void busyChanged(bool busy);
  // A radio's turn has ended, and it is in the window and the log.
  void radioDone(int number, bool ok);
  // The batch has ended (the window stays until it is closed).
  void batchEnded();

 private:
  class Observer;

  void OnPhase(radio::FleetPhase phase, int number, const PortOpenError& port);
  void OnResult(const radio::FleetResult& result);
  void OnEnded();
  void Stop();
  void Finish();
  QString PortLabel() const;

  CShellApp& app_;
  const radio::RadioModel& model_;
  TransferController& transfer_;
  Hooks hooks_;
  QPointer<CFleetDlg> dialog_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> next_{false};
  unsigned probeMs_ = 1000;
  unsigned removalMs_ = 500;
  int passed_ = 0;
  int failed_ = 0;
  bool running_ = false;
};

}  // namespace varo::shell
