#include "shell/RadioDocument.h"

#include "radio/DatFile.h"
#include "shell/CMSFlexGrid.h"
#include "shell/ChannelView.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

CRadioDoc::CRadioDoc(CShellApp& app, const radio::RadioModel& model)
    : CShellDoc(app), model_(model), image_(model.newImage()) {}

CChannelView* CRadioDoc::ChannelView() const { return qobject_cast<CChannelView*>(View()); }

bool CRadioDoc::OnNewDocument() {
  image_ = model_.newImage();
  SetTitle(App().Tr("Channel Information", "信道信息"));
  App().SetNewDocumentFlag(true);
  return true;
}

bool CRadioDoc::OnOpenDocument(const QString& path) {
  const std::string file = path.toStdString();
  radio::MemoryImage loaded = image_;
  const radio::DatFileError error = radio::LoadDatFile(file, loaded.data(), model_.imageSize);
  if (error != radio::DatFileError::kNone) {
    App().MessageBox(FromBytes(radio::DatFileErrorText(error, file, App().Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  image_ = std::move(loaded);
  MarkOpened(path);
  return true;
}

bool CRadioDoc::OnSaveDocument(const QString& path) {
  if (CChannelView* view = ChannelView()) {
    // What the open editor holds goes in first, so that the file holds
    // what the table shows. A typo there fails its check with its message
    // and the row keeps what it held: the save goes on with that, so the
    // file holds exactly what the table shows and nothing typed before is
    // lost; the refused text was dropped either way.
    view->CommitCellForSave();
    model_.tableToImage(view->Grid(), image_);
  }
  const std::string file = path.toStdString();
  const radio::DatFileError error = radio::SaveDatFile(file, image_.data(), model_.imageSize);
  if (error != radio::DatFileError::kNone) {
    App().MessageBox(FromBytes(radio::DatFileErrorText(error, file, App().Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  return true;
}

radio::DocumentState CRadioDoc::Capture() const {
  if (CChannelView* view = ChannelView()) return radio::CaptureState(model_, image_, view->Grid());
  return {image_, {}};
}

void CRadioDoc::ResetHistory() {
  history_.Reset(Capture());
  FollowHistory();
}

bool CRadioDoc::RecordChange() {
  const bool changed = history_.Record(Capture());
  FollowHistory();
  return changed;
}

const radio::DocumentState* CRadioDoc::Undo() {
  if (!history_.CanUndo()) return nullptr;
  const radio::DocumentState* state = &history_.Undo();
  FollowHistory();
  return state;
}

const radio::DocumentState* CRadioDoc::Redo() {
  if (!history_.CanRedo()) return nullptr;
  const radio::DocumentState* state = &history_.Redo();
  FollowHistory();
  return state;
}

void CRadioDoc::SetClean() {
  history_.Record(Capture());
  history_.MarkClean();
  FollowHistory();
}

QString CRadioDoc::ProposedFileName() const {
  std::string name = App().Ini().GetValue("Setup", "AppName", "");
  if (name.empty()) name = App().Traits().programName;
  return FromBytes(name) + App().DocumentExtension();
}

}  // namespace varo::shell
