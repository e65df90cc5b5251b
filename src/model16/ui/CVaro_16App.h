#pragma once

#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"

namespace varo::model16::ui {

class CVaro_16View;

// The Varo16 programmer: its INI and language modules, "TALMO" as the
// program started after a language change, its documents and views, and the
// two dialogs the main frame runs for the active document: Optional Features
// (32788) and Product Information (32786), from the Edit menu and the
// navigation tree.
class CVaro_16App : public shell::DocumentTemplate, public shell::CShellApp {
 public:
  CVaro_16App();

  std::unique_ptr<shell::CShellDoc> CreateDocument() override;
  shell::CShellView* CreateView(shell::CShellDoc& doc) override;

  static shell::ProgrammerTraits Traits16();

  // The view of the document window in use; nullptr when there is none.
  CVaro_16View* ActiveView() const;
  void OnOptionalFeatures();
  // OK stores type and band in the image and the registry, retitles the main
  // window and gives the view the band's limits.
  void OnProductInfo();

 protected:
  void RegisterFrameCommands(shell::CMainFrame& frame) override;
};

}  // namespace varo::model16::ui
