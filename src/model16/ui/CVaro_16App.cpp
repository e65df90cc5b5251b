#include "model16/ui/CVaro_16App.h"

#include "model16/ui/COptionalFeaturesDlg.h"
#include "model16/ui/CProductInfoDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "model16/ui/CVaro_16View.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"

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

void CVaro_16App::RegisterFrameCommands(shell::CMainFrame& frame) {
  // Both need a document; while a transfer runs the view holds them back.
  const auto hasDocument = [this] { return ActiveView() != nullptr; };
  frame.SetCommandHandler(
      shell::ID_OPTIONAL_FEATURES, [this] { OnOptionalFeatures(); }, hasDocument);
  frame.SetCommandHandler(
      shell::ID_PRODUCT_INFO, [this] { OnProductInfo(); }, hasDocument);
}

CVaro_16View* CVaro_16App::ActiveView() const {
  shell::CMainFrame* frame = MainFrame();
  shell::CChildFrame* child = frame ? frame->ActiveChild() : nullptr;
  return child ? qobject_cast<CVaro_16View*>(&child->View()) : nullptr;
}

void CVaro_16App::OnOptionalFeatures() {
  CVaro_16View* view = ActiveView();
  if (!view) return;
  COptionalFeaturesDlg dlg(*this, view->Doc().Image(), DialogParent());
  dlg.exec();
}

void CVaro_16App::OnProductInfo() {
  CVaro_16View* view = ActiveView();
  if (!view) return;
  CProductInfoDlg dlg(*this, view->Doc().Image(), DialogParent());
  if (dlg.exec() == QDialog::Accepted && dlg.Result()) view->SetBandLimits(dlg.Result()->limits);
}

}  // namespace varo::model16::ui
