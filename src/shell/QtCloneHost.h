#pragma once

#include <QPointer>
#include <vector>

#include "radio/CloneHost.h"
#include "shell/CProcessDlg.h"

namespace varo::shell {

class CShellApp;

// The clone link's surroundings in the Qt program: progress and the cancel
// flag come from the Process dialog, the event pump is Qt's, and the messages
// are modal boxes captioned with the application name whose texts come from
// the language module by string id (61451 with Retry and Cancel, 61453 and
// 61454 with OK; 61453 followed by the reason the port did not open).
//
// The dialog is watched, not owned: when it has gone (its owner was torn down
// by an event the pump dispatched), progress is dropped and the transfer is
// told to cancel.
class QtCloneHost : public radio::CloneHost {
 public:
  QtCloneHost(CShellApp& app, CProcessDlg* dialog) : app_(app), dialog_(dialog) {}

  void StepProgress(int position) override;
  // Dispatches the events waiting in the queue (clicks, paints, timers), so
  // that Cancel and the windows stay alive between blocks.
  void PumpEvent() override;
  bool CancelRequested() override;
  Answer ShowMessage(int id, Buttons buttons) override;
  // 61453 with a second line in the interface language: why the port did
  // not open and what to do.
  void ShowPortOpenFailed(const PortOpenError& error) override;

  // Ids of the messages shown so far, in order.
  const std::vector<int>& Shown() const { return shown_; }

 private:
  CShellApp& app_;
  QPointer<CProcessDlg> dialog_;
  std::vector<int> shown_;
};

}  // namespace varo::shell
