#include "model199/ui/CVaro_199App.h"

#include "model199/Model199.h"
#include "model199/ui/COptionalFeaturesDlg.h"
#include "model199/ui/CVaro_199Doc.h"
#include "model199/ui/CVaro_199View.h"

namespace varo::model199::ui {

shell::ProgrammerTraits CVaro_199App::Traits199() {
  const radio::RadioModel& model = Model199();
  return {model.programName, model.iniName, "199V3.lng", model.programName};
}

CVaro_199App::CVaro_199App() : CRadioApp(Traits199(), Model199()) {}

std::unique_ptr<shell::CShellDoc> CVaro_199App::CreateDocument() {
  return std::make_unique<CVaro_199Doc>(*this);
}

shell::CShellView* CVaro_199App::CreateView(shell::CShellDoc& doc) {
  return new CVaro_199View(*this, static_cast<CVaro_199Doc&>(doc));
}

std::unique_ptr<QDialog> CVaro_199App::CreateOptionalFeaturesDlg(radio::MemoryImage& image,
                                                                 QWidget* parent) {
  return std::make_unique<COptionalFeaturesDlg>(*this, image, parent);
}

}  // namespace varo::model199::ui
