#pragma once

#include "shell/RadioDocument.h"

namespace varo::model16::ui {

class CVaro_16View;

// A Varo16 document: the 16-channel radio's 1024-byte memory image.
class CVaro_16Doc : public shell::CRadioDoc {
  Q_OBJECT

 public:
  explicit CVaro_16Doc(shell::CShellApp& app);

  CVaro_16View* ChannelView() const;
};

}  // namespace varo::model16::ui
