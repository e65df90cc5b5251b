#include "model16/ui/CVaro_16App.h"

#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"

namespace varo::model16::ui {

shell::ProgrammerTraits CVaro_16App::Traits16() {
  return {"Varo16", "Varo16.ini", "16.lng", "TALMO"};
}

CVaro_16App::CVaro_16App() : shell::CShellApp(Traits16(), *this) {}

std::unique_ptr<shell::CShellDoc> CVaro_16App::CreateDocument() {
  return std::make_unique<CVaro_16Doc>();
}

shell::CShellView* CVaro_16App::CreateView(shell::CShellDoc& doc) {
  return new CVaro_16View(static_cast<CVaro_16Doc&>(doc));
}

}  // namespace varo::model16::ui
