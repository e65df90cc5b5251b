#pragma once

#include <QString>

#include "radio/MemoryImage.h"
#include "radio/RadioModel.h"
#include "radio/UndoHistory.h"
#include "shell/ShellDocument.h"

namespace varo::shell {

class CChannelView;
class CShellApp;

// A programmer's document: one radio's memory image, and the undo history of
// the image together with its view's table. The radio model gives its size,
// its new contents and its codec. The document is modified while its state
// (image and table) is not the one last opened, saved, read or written.
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

  // The document and its table as they stand, as an undo step would keep them.
  radio::DocumentState Capture() const;
  // Starts the history with the state shown now; the document is not
  // modified. The view calls it once its table is first filled.
  void ResetHistory();
  // Records the state shown now as one undo step, when it differs from the
  // last one; the modified mark follows. Call after every change of the
  // image or the table (a committed cell, a dialog's OK, a completed read).
  bool RecordChange();
  // Steps back or forward; returns the state to show (the view puts it into
  // the image and the table), or null when there is no step.
  const radio::DocumentState* Undo();
  const radio::DocumentState* Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // The state shown now becomes the clean one (it is recorded first).
  void SetClean() override;

 protected:

 private:
  void FollowHistory() { SetModifiedFlag(!history_.IsClean()); }

  const radio::RadioModel& model_;
  radio::MemoryImage image_;
  radio::UndoHistory history_;
};

}  // namespace varo::shell
