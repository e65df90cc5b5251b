#pragma once

#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"

namespace varo::model16::ui {

// The Varo16 programmer: its INI and language modules, "TALMO" as the
// program started after a language change, and its documents and views.
class CVaro_16App : public shell::DocumentTemplate, public shell::CShellApp {
 public:
  CVaro_16App();

  std::unique_ptr<shell::CShellDoc> CreateDocument() override;
  shell::CShellView* CreateView(shell::CShellDoc& doc) override;

  static shell::ProgrammerTraits Traits16();
};

}  // namespace varo::model16::ui
