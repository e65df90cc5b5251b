#include "model16/ui/CVaro_16Doc.h"

#include "model16/ChannelCodec.h"
#include "model16/DatFile.h"
#include "model16/ui/CVaro_16View.h"
#include "shell/CMSFlexGrid.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::model16::ui {

using shell::CShellApp;

CVaro_16Doc::CVaro_16Doc() : image_(MemoryImage::NewDocument()) {}

CVaro_16View* CVaro_16Doc::ChannelView() const { return qobject_cast<CVaro_16View*>(View()); }

bool CVaro_16Doc::OnNewDocument() {
  CShellApp* app = CShellApp::Current();
  image_ = MemoryImage::NewDocument();
  SetTitle(app->Tr("Channel Information", "信道信息"));
  app->SetNewDocumentFlag(true);
  return true;
}

bool CVaro_16Doc::OnOpenDocument(const QString& path) {
  CShellApp* app = CShellApp::Current();
  const std::string file = path.toStdString();
  MemoryImage loaded = image_;
  const DatFileError error = LoadDatFile(file, loaded.bytes.data(), MemoryImage::kSize);
  if (error != DatFileError::kNone) {
    app->MessageBox(shell::FromBytes(DatFileErrorText(error, file, app->Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  image_ = loaded;
  MarkOpened(path);
  return true;
}

bool CVaro_16Doc::OnSaveDocument(const QString& path) {
  CShellApp* app = CShellApp::Current();
  if (CVaro_16View* view = ChannelView()) {
    // What the open editor holds goes in first, so that the file holds
    // what the table shows.
    view->CommitCell();
    TableToImage(view->Grid(), image_);
  }
  const std::string file = path.toStdString();
  const DatFileError error = SaveDatFile(file, image_.bytes.data(), MemoryImage::kSize);
  if (error != DatFileError::kNone) {
    app->MessageBox(shell::FromBytes(DatFileErrorText(error, file, app->Chinese())),
                    QMessageBox::Ok, QMessageBox::Warning);
    return false;
  }
  return true;
}

QString CVaro_16Doc::ProposedFileName() const {
  CShellApp* app = CShellApp::Current();
  std::string name = app->Ini().GetValue("Setup", "AppName", "");
  if (name.empty()) name = app->Traits().programName;
  return shell::FromBytes(name) + app->DocumentExtension();
}

}  // namespace varo::model16::ui
