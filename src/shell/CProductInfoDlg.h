#pragma once

#include <QDialog>
#include <optional>

#include "radio/MemoryImage.h"
#include "radio/ProductBand.h"

class QComboBox;

namespace varo::shell {

class CShellApp;

// Product Information (template 136): the product type and frequency band of
// a document. The type list comes from the program INI; choosing a type
// refills the band list with that type's bands. Opening selects the choice
// last stored in the registry. OK stores both positions in the image (at
// the radio's product offsets) and the registry ("Type"/"Field"), sets the main window's
// title and leaves the band limits in Result() for the view; Cancel changes
// nothing. F1 opens the help topic of the focused control.
//
//   CProductInfoDlg dlg(app, doc.Image(), model.product, app.DialogParent());
//   if (dlg.exec() == QDialog::Accepted) view.SetBandLimits(dlg.Result()->limits);
class CProductInfoDlg : public QDialog {
  Q_OBJECT

 public:
  CProductInfoDlg(CShellApp& app, radio::MemoryImage& image, radio::ProductOffsets offsets,
                  QWidget* parent);

  QComboBox* TypeList() const { return types_; }
  QComboBox* BandList() const { return bands_; }
  // Title and band limits chosen by OK; nothing before.
  const std::optional<radio::ProductInfoRules::Result>& Result() const { return result_; }

  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowLists();
  void OnTypeChanged(int position);
  void OnBandChanged(int position);

  CShellApp& app_;
  radio::MemoryImage& image_;
  radio::ProductInfoRules rules_;
  QComboBox* types_;
  QComboBox* bands_;
  bool updating_ = false;
  std::optional<radio::ProductInfoRules::Result> result_;
};

}  // namespace varo::shell
