#include "shell/CProductInfoDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

namespace {

constexpr int kDlg = IDD_PRODUCT_INFO;
constexpr int kTypeListId = 1013;
constexpr int kBandListId = 1014;

}  // namespace

CProductInfoDlg::CProductInfoDlg(CShellApp& app, radio::MemoryImage& image,
                                 radio::ProductOffsets offsets, QWidget* parent)
    : QDialog(parent),
      app_(app),
      image_(image),
      rules_(app.Ini(), app.LanguageValue(), app.Chinese(), offsets) {
  setObjectName(QStringLiteral("CProductInfoDlg"));
  const DialogUnits du(font());
  setFixedSize(du.X(159), du.Y(108));
  setWindowTitle(app.DialogText(kDlg, "caption", QStringLiteral("Product Information")));

  auto* group = new QGroupBox(app.DialogText(kDlg, "group", QStringLiteral("Setting")), this);
  du.Place(group, 10, 7, 139, 66);

  auto* typeLabel = new QLabel(app.DialogText(kDlg, "label.1013", QStringLiteral("Type")), this);
  du.Place(typeLabel, 20, 24, 40, 10);
  types_ = new QComboBox(this);
  SetControlId(types_, kTypeListId);
  du.Place(types_, 64, 22, 76, 13);
  typeLabel->setBuddy(types_);

  auto* bandLabel =
      new QLabel(app.DialogText(kDlg, "label.1014", QStringLiteral("Frequency")), this);
  du.Place(bandLabel, 20, 48, 40, 10);
  bands_ = new QComboBox(this);
  SetControlId(bands_, kBandListId);
  du.Place(bands_, 64, 46, 76, 13);
  bandLabel->setBuddy(bands_);

  auto* ok = new QPushButton(app.DialogText(kDlg, "1", app.Tr("OK", "确定")), this);
  SetControlId(ok, 1);
  ok->setDefault(true);
  du.Place(ok, 22, 84, 50, 14);
  auto* cancel = new QPushButton(app.DialogText(kDlg, "2", app.Tr("Cancel", "取消")), this);
  SetControlId(cancel, 2);
  du.Place(cancel, 88, 84, 50, 14);

  setTabOrder(types_, bands_);
  setTabOrder(bands_, ok);
  setTabOrder(ok, cancel);

  connect(types_, &QComboBox::currentIndexChanged, this, &CProductInfoDlg::OnTypeChanged);
  connect(bands_, &QComboBox::currentIndexChanged, this, &CProductInfoDlg::OnBandChanged);
  connect(ok, &QPushButton::clicked, this, &CProductInfoDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  rules_.Open(image_);
  ShowLists();
}

void CProductInfoDlg::ShowLists() {
  updating_ = true;
  types_->clear();
  for (const std::string& type : rules_.Types()) types_->addItem(FromBytes(type));
  types_->setCurrentIndex(rules_.TypeSelection());
  bands_->clear();
  for (const std::string& band : rules_.Bands()) bands_->addItem(FromBytes(band));
  bands_->setCurrentIndex(rules_.BandSelection());
  updating_ = false;
}

void CProductInfoDlg::OnTypeChanged(int position) {
  if (updating_) return;
  rules_.SelectType(position);
  ShowLists();
}

void CProductInfoDlg::OnBandChanged(int position) {
  if (updating_) return;
  rules_.SelectBand(position);
}

void CProductInfoDlg::accept() {
  result_ = rules_.Ok(image_);
  if (CMainFrame* frame = app_.MainFrame())
    frame->SetTitle(FromBytes(result_->title));
  QDialog::accept();
}

void CProductInfoDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    app_.ShowHelp(FocusedControlId(focusWidget(), kDlg));
  }
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
