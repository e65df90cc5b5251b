#pragma once

#include <QDialog>
#include <array>

#include "model16/MemoryImage.h"
#include "model16/OptionalFeatures.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;

namespace varo::shell {
class CShellApp;
}

namespace varo::model16::ui {

// Optional Features (template 132): the radio-wide options of a document's
// image in seven drop-down lists and two check boxes. Opening loads every
// control from the image; OK writes the fields back (bits outside them kept)
// and closes; Cancel closes and changes nothing.
//
// Keyboard: while the dialog runs, key presses in it pass only for digits
// (main keyboard and keypad), Backspace, Delete and the arrow keys, and only
// without Shift; F1 opens the help topic of the focused control; every other
// key, Enter, Esc, Tab and Space among them, is dropped. The dialog closes
// through its buttons.
//
// Use: COptionalFeaturesDlg dlg(app, doc.Image(), app.DialogParent()); dlg.exec();
class COptionalFeaturesDlg : public QDialog {
  Q_OBJECT

 public:
  COptionalFeaturesDlg(shell::CShellApp& app, MemoryImage& image, QWidget* parent);
  ~COptionalFeaturesDlg() override;

  QComboBox* List(OptionList list) const { return lists_[static_cast<std::size_t>(list)]; }
  QCheckBox* BeepBox() const { return beep_; }
  QCheckBox* BatterySaverBox() const { return batterySaver_; }
  // What the controls show now.
  OptionalFeaturesForm Form() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Contains(const QObject* object) const;
  bool FilterKey(QKeyEvent* key);

  shell::CShellApp& app_;
  MemoryImage& image_;
  std::array<QComboBox*, kOptionListCount> lists_{};
  QCheckBox* beep_ = nullptr;
  QCheckBox* batterySaver_ = nullptr;
};

}  // namespace varo::model16::ui
