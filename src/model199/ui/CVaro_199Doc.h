#pragma once

#include "shell/RadioDocument.h"

namespace varo::model199::ui {

// A Varo199V3 document: the 199-channel radio's 8192-byte memory image.
class CVaro_199Doc : public shell::CRadioDoc {
  Q_OBJECT

 public:
  explicit CVaro_199Doc(shell::CShellApp& app);
};

}  // namespace varo::model199::ui
