#include "model16/ui/CVaro_16View.h"

#include "model16/ChannelCodec.h"
#include "model16/ui/CScanInfoDlg.h"
#include "model16/ui/CVaro_16Doc.h"
#include "shell/CMSFlexGrid.h"
#include "shell/CommandIds.h"
#include "shell/ShellApp.h"

namespace varo::model16::ui {

CVaro_16View::CVaro_16View(shell::CShellApp& app, CVaro_16Doc& doc, QWidget* parent)
    : CChannelView(app, doc, parent) {
  setObjectName(QStringLiteral("CVaro_16View"));
}

MemoryImage& CVaro_16View::Image() const { return Doc().Image(); }

bool CVaro_16View::OnCommand(int id) {
  if (id == shell::ID_SCAN_INFO) {
    OnScanInfo();
    return true;
  }
  return CChannelView::OnCommand(id);
}

std::optional<bool> CVaro_16View::CommandEnabled(int id) const {
  if (id == shell::ID_SCAN_INFO) return !TransferBusy();
  return CChannelView::CommandEnabled(id);
}

void CVaro_16View::OnScanInfo() {
  // The dialog checks a fixed priority channel against the channels as
  // edited, so the table goes into the image first.
  TableToImage(Grid(), Image());
  CScanInfoDlg dlg(App(), Image(), App().DialogParent());
  // OK is one undo step.
  if (dlg.exec() == QDialog::Accepted) RecordChange();
}

}  // namespace varo::model16::ui
