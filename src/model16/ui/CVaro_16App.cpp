#include "model16/ui/CVaro_16App.h"

#include "model16/Model16.h"
#include "model16/ui/COptionalFeaturesDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"

namespace varo::model16::ui {

shell::ProgrammerTraits CVaro_16App::Traits16() {
  return {Model16().programName, Model16().iniName, "16.lng", "TALMO"};
}

CVaro_16App::CVaro_16App() : CRadioApp(Traits16(), Model16()) {}

std::unique_ptr<shell::CShellDoc> CVaro_16App::CreateDocument() {
  return std::make_unique<CVaro_16Doc>(*this);
}

shell::CShellView* CVaro_16App::CreateView(shell::CShellDoc& doc) {
  return new CVaro_16View(*this, static_cast<CVaro_16Doc&>(doc));
}

CVaro_16View* CVaro_16App::ActiveView() const {
  return qobject_cast<CVaro_16View*>(CRadioApp::ActiveView());
}

std::unique_ptr<QDialog> CVaro_16App::CreateOptionalFeaturesDlg(radio::MemoryImage& image,
                                                               QWidget* parent) {
  return std::make_unique<COptionalFeaturesDlg>(*this, image, parent);
}

}  // namespace varo::model16::ui
