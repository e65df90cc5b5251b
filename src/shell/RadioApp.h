#pragma once

#include <memory>

#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"
#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"

class QDialog;
class QWidget;

namespace varo::shell {

class CChannelView;

// A programmer of one radio model: the shell's start-up with the program's
// traits, documents and channel views of the model, and the two dialogs the
// main frame runs for the active document: Optional Features (32788), which
// each radio has its own of, and Product Information (32786), from the Edit
// menu and the navigation tree.
class CRadioApp : public DocumentTemplate, public CShellApp {
 public:
  // `model` must outlive the application.
  CRadioApp(ProgrammerTraits traits, const radio::RadioModel& model);

  const radio::RadioModel& Model() const { return model_; }

  // A CRadioDoc and a CChannelView; a radio with commands of its own makes
  // its own subclasses.
  std::unique_ptr<CShellDoc> CreateDocument() override;
  CShellView* CreateView(CShellDoc& doc) override;

  // The view of the document window in use; nullptr when there is none.
  CChannelView* ActiveView() const;
  // The radio's Optional Features dialog, run modally on the active
  // document's image.
  void OnOptionalFeatures();
  // OK stores type and band in the image and the registry, retitles the main
  // window and gives the view the band's limits; it is one undo step, and a
  // changed band names the channels that lie outside it.
  void OnProductInfo();

 protected:
  void RegisterFrameCommands(CMainFrame& frame) override;
  // Each radio has an Optional Features dialog of its own, working on `image`.
  virtual std::unique_ptr<QDialog> CreateOptionalFeaturesDlg(radio::MemoryImage& image,
                                                             QWidget* parent) = 0;

 private:
  const radio::RadioModel& model_;
};

}  // namespace varo::shell
