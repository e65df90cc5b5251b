#pragma once

#include "shell/ChannelView.h"

namespace varo::model199::ui {

class CVaro_199Doc;

// The channel table view of a Varo199V3 document: 201 x 8, the priority
// channel "Pr" and channels 1-199 with their names. Its commands are the
// shared view's (Read, Write, the print commands, COM Setup, Language); the
// radio has no Scan Info.
class CVaro_199View : public shell::CChannelView {
  Q_OBJECT

 public:
  CVaro_199View(shell::CShellApp& app, CVaro_199Doc& doc, QWidget* parent = nullptr);
};

}  // namespace varo::model199::ui
