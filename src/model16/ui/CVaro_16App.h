#pragma once

#include "shell/RadioApp.h"

namespace varo::model16::ui {

class CVaro_16View;

// The Varo16 programmer: its INI and language modules, "TALMO" as the
// program started after a language change, its documents and views (with
// Scan Info), and its Optional Features dialog.
class CVaro_16App : public shell::CRadioApp {
 public:
  CVaro_16App();

  std::unique_ptr<shell::CShellDoc> CreateDocument() override;
  shell::CShellView* CreateView(shell::CShellDoc& doc) override;

  static shell::ProgrammerTraits Traits16();

  // The view of the document window in use; nullptr when there is none.
  CVaro_16View* ActiveView() const;

 protected:
  std::unique_ptr<QDialog> CreateOptionalFeaturesDlg(radio::MemoryImage& image,
                                                     QWidget* parent) override;
};

}  // namespace varo::model16::ui
