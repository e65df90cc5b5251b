#include "shell/RadioApp.h"

#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CProductInfoDlg.h"
#include "shell/ChannelView.h"
#include "shell/CommandIds.h"
#include "shell/RadioDocument.h"

namespace varo::shell {

CRadioApp::CRadioApp(ProgrammerTraits traits, const radio::RadioModel& model)
    : CShellApp(std::move(traits), *this), model_(model) {}

std::unique_ptr<CShellDoc> CRadioApp::CreateDocument() {
  return std::make_unique<CRadioDoc>(*this, model_);
}

CShellView* CRadioApp::CreateView(CShellDoc& doc) {
  return new CChannelView(*this, static_cast<CRadioDoc&>(doc));
}

void CRadioApp::RegisterFrameCommands(CMainFrame& frame) {
  // Both need a document; while a transfer runs the view holds them back.
  const auto hasDocument = [this] { return ActiveView() != nullptr; };
  frame.SetCommandHandler(
      ID_OPTIONAL_FEATURES, [this] { OnOptionalFeatures(); }, hasDocument);
  frame.SetCommandHandler(
      ID_PRODUCT_INFO, [this] { OnProductInfo(); }, hasDocument);
}

CChannelView* CRadioApp::ActiveView() const {
  CMainFrame* frame = MainFrame();
  CChildFrame* child = frame ? frame->ActiveChild() : nullptr;
  return child ? qobject_cast<CChannelView*>(&child->View()) : nullptr;
}

void CRadioApp::OnOptionalFeatures() {
  CChannelView* view = ActiveView();
  if (!view) return;
  std::unique_ptr<QDialog> dlg = CreateOptionalFeaturesDlg(view->Doc().Image(), DialogParent());
  // OK is one step of the document's history.
  if (dlg->exec() == QDialog::Accepted) view->RecordChange();
}

void CRadioApp::OnProductInfo() {
  CChannelView* view = ActiveView();
  if (!view) return;
  CProductInfoDlg dlg(*this, view->Doc().Image(), model_.product, DialogParent());
  if (dlg.exec() != QDialog::Accepted || !dlg.Result()) return;
  const bool bandChanged = dlg.Result()->limits != view->Limits();
  view->SetBandLimits(dlg.Result()->limits);
  view->RecordChange();
  // The table is not checked again by the editor: the channels the new band
  // leaves out are named at once.
  if (bandChanged) view->ReportOutOfBand();
}

}  // namespace varo::shell
