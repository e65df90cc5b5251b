#pragma once

#include "shell/RadioApp.h"

namespace varo::model199::ui {

// The Varo199V3 programmer: "Varo199V3.ini", the language modules
// "<Language>199V3.lng", itself as the program started after a language
// change, its documents and views, and its Optional Features dialog.
class CVaro_199App : public shell::CRadioApp {
 public:
  CVaro_199App();

  std::unique_ptr<shell::CShellDoc> CreateDocument() override;
  shell::CShellView* CreateView(shell::CShellDoc& doc) override;

  static shell::ProgrammerTraits Traits199();

 protected:
  std::unique_ptr<QDialog> CreateOptionalFeaturesDlg(radio::MemoryImage& image,
                                                     QWidget* parent) override;
};

}  // namespace varo::model199::ui
