#pragma once

#include <QDialog>
#include <array>

#include "model199/MemoryImage.h"
#include "model199/OptionalFeatures.h"

class QCheckBox;
class QComboBox;

namespace varo::shell {
class CShellApp;
}

namespace varo::model199::ui {

// Optional Features of the 199-channel radio (template 132, 271 x 195
// dialog units): fifteen drop-down lists and the Beep check box in two
// columns of eight rows, OK and Cancel beneath. Labels and list entries come
// from the language module (dialog 132: "label.<id>", "<id>.items"), else
// from the program's own words. Opening loads every control from the image;
// OK writes the fields back (bits outside them kept) and closes; Cancel,
// Escape or closing the window leave the image as it was.
//
// Keyboard: F1 opens the help page of the focused control, and then every
// key goes on to the dialog as usual: Enter confirms with OK, Escape cancels.
//
// Use: COptionalFeaturesDlg dlg(app, doc.Image(), app.DialogParent()); dlg.exec();
class COptionalFeaturesDlg : public QDialog {
  Q_OBJECT

 public:
  COptionalFeaturesDlg(shell::CShellApp& app, MemoryImage& image, QWidget* parent);

  QComboBox* List(OptionList list) const { return lists_[static_cast<std::size_t>(list)]; }
  QCheckBox* BeepBox() const { return beep_; }
  // What the controls show now.
  OptionalFeaturesForm Form() const;

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  shell::CShellApp& app_;
  MemoryImage& image_;
  std::array<QComboBox*, kOptionListCount> lists_{};
  QCheckBox* beep_ = nullptr;
};

}  // namespace varo::model199::ui
