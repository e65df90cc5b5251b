#pragma once

#include <QString>

#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"
#include "shell/ShellDocument.h"

namespace varo::shell {

class CChannelView;
class CShellApp;

// A programmer's document: one radio's memory image and nothing else. The
// radio model gives its size, its new contents and its codec. It never marks
// itself modified, so closing never asks to save.
class CRadioDoc : public CShellDoc {
  Q_OBJECT

 public:
  // `app` and `model` must outlive the document.
  CRadioDoc(CShellApp& app, const radio::RadioModel& model);

  const radio::RadioModel& Model() const { return model_; }
  radio::MemoryImage& Image() { return image_; }
  const radio::MemoryImage& Image() const { return image_; }

  // The new radio's defaults, titled "Channel Information", and the
  // new-document flag set.
  bool OnNewDocument() override;
  // Reads a .dat file; a missing, unreadable or short file shows its message
  // and leaves the document as it was.
  bool OnOpenDocument(const QString& path) override;
  // The cell being edited into the table, the table into the image, then the
  // image into the file (written beside it and renamed over it, so a failed
  // save keeps the old file).
  bool OnSaveDocument(const QString& path) override;
  // "<AppName>.dat", AppName from the INI section "Setup".
  QString ProposedFileName() const override;

  CChannelView* ChannelView() const;

 protected:
  CShellApp& app_;

 private:
  const radio::RadioModel& model_;
  radio::MemoryImage image_;
};

}  // namespace varo::shell
