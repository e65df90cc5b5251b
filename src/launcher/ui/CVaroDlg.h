#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace varo {

class Launcher;

// The launcher's product-selection dialog (template 102): a product list, the
// two language check boxes acting as one choice, OK and Cancel. Every rule
// lives in Launcher; this class lays out the controls in the template's
// dialog units and mirrors the launcher's state onto them.
//
// Control object names: "ok" (1), "cancel" (2), "productList" (1000),
// "productLabel" (1001), "chineseBox" (1002), "englishBox" (1003).
class CVaroDlg : public QDialog {
  Q_OBJECT

 public:
  // Opens the launcher (reads its INI) and fills the controls from it.
  explicit CVaroDlg(Launcher& launcher, QWidget* parent = nullptr);

  // The dialog's icon (resource 128), drawn for the sizes a window needs.
  static QIcon LauncherIcon();
  // The same picture drawn at `size` pixels (the desktop entry's icons).
  static QPixmap LauncherPixmap(int size);

 private:
  void OnChinese();
  void OnEnglish();
  void OnOK();
  // Texts and check marks of the language the launcher has applied.
  void ShowLanguage();
  // Places every control at its template position; the label keeps its right
  // edge and grows to the left when its text is wider than the template.
  void LayOut();
  QRect DialogRect(int x, int y, int width, int height) const;

  Launcher& launcher_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QComboBox* productList_;
  QLabel* productLabel_;
  QCheckBox* chineseBox_;
  QCheckBox* englishBox_;
};

}  // namespace varo
