#pragma once

#include "model16/MemoryImage.h"
#include "shell/ShellDocument.h"

namespace varo::model16::ui {

class CVaro_16View;

// A Varo16 document: the radio's 1024-byte memory image and nothing else.
// It never marks itself modified, so closing never asks to save.
class CVaro_16Doc : public shell::CShellDoc {
  Q_OBJECT

 public:
  CVaro_16Doc();

  MemoryImage& Image() { return image_; }
  const MemoryImage& Image() const { return image_; }

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

  CVaro_16View* ChannelView() const;

 private:
  MemoryImage image_;
};

}  // namespace varo::model16::ui
