#pragma once

#include "model16/TableEditor.h"

namespace varo::shell {
class CShellApp;
}

namespace varo::model16::ui {

// The rules' message boxes as modal QMessageBoxes: texts and captions from
// the language module by identifier, the application name as the caption
// when the request names none.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(shell::CShellApp& app) : app_(app) {}
  MessageAnswer Show(const MessageRequest& request) override;

 private:
  shell::CShellApp& app_;
};

}  // namespace varo::model16::ui
