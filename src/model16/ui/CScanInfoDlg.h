#pragma once

#include <QDialog>

#include "model16/MemoryImage.h"
#include "model16/ScanInfo.h"
#include "shell/QtMessageBoxes.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace varo::shell {
class CShellApp;
}

namespace varo::model16::ui {

// Scan Information (template 133): the priority-scan settings of a
// document's image (0x160-0x168). The caller stores the channel table into
// the image first, so that the channel check of a fixed priority sees the
// channels as edited:
//
//   TableToImage(grid, doc.Image());
//   CScanInfoDlg dlg(app, doc.Image(), app.DialogParent());
//   dlg.exec();
//
// The priority list switches the revert entries and the fixed-priority
// fields; each number box has a pair of arrows beside it (the upper arrow
// raises the value, the lower one lowers it); leaving a box brings its value
// into range. OK checks a fixed priority's channel: a channel without a
// receive frequency gives a message and the dialog stays open; otherwise the
// fields are written and the dialog closes. Cancel writes nothing.
class CScanInfoDlg : public QDialog {
  Q_OBJECT

 public:
  CScanInfoDlg(shell::CShellApp& app, MemoryImage& image, QWidget* parent);

  QComboBox* PriorityList() const { return priority_; }
  QComboBox* RevertList() const { return revert_; }
  // Edit boxes by control id: 1003-1007.
  QLineEdit* Box(int controlId) const;
  // The arrows of spin control 1008-1011: +1 is the upper arrow (raise),
  // -1 the lower one (lower).
  QToolButton* Arrow(int spinId, int change) const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ReadForm();
  void ShowForm();
  void ShowFixedFields();
  void OnPriorityChanged(int position);
  void OnSpin(int spinId, int change);
  void OnLeaveBox(int controlId);

  shell::CShellApp& app_;
  MemoryImage& image_;
  shell::QtMessageBoxes messages_;
  ScanInfoRules rules_;
  QComboBox* priority_;
  QComboBox* revert_;
  QLineEdit* boxes_[5];        // 1003-1007
  QToolButton* arrows_[4][2];  // 1008-1011: raise, lower
  bool updating_ = false;
};

}  // namespace varo::model16::ui
