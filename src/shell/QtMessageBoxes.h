#pragma once

#include "radio/MessageBoxes.h"

namespace varo::shell {

class CShellApp;

// The rules' message boxes as modal QMessageBoxes: texts and captions from
// the language module by identifier, the application name as the caption
// when the request names none.
class QtMessageBoxes : public radio::MessageBoxes {
 public:
  explicit QtMessageBoxes(CShellApp& app) : app_(app) {}
  radio::MessageAnswer Show(const radio::MessageRequest& request) override;

 private:
  CShellApp& app_;
};

}  // namespace varo::shell
