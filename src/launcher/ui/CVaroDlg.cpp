#include "launcher/ui/CVaroDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "launcher/Launcher.h"
#include "shell/DialogUnits.h"
#include "shell/ShellText.h"

namespace varo {

namespace {

// Size of template 102 in dialog units.
constexpr int kDialogWidth = 175;
constexpr int kDialogHeight = 108;
// Height of the product list with its drop-down part open, in dialog units.
constexpr int kListDropHeight = 54;

// A hand-held radio: body, antenna, display, speaker grille and key pad.
QPixmap DrawRadio(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x34));
  p.drawRoundedRect(QRectF(18.5, 1, 3.5, 10), 1.5, 1.5);  // antenna
  p.drawRect(QRectF(23, 6, 2.5, 5));                      // channel knob

  QLinearGradient body(8, 0, 26, 0);
  body.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
  body.setColorAt(1, QColor(0x12, 0x2f, 0x57));
  p.setPen(QPen(QColor(0x0b, 0x1c, 0x33), 1));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(8.5, 10.5, 17, 20.5), 3, 3);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x9c, 0xe0, 0x8a));
  p.drawRoundedRect(QRectF(11, 13, 12, 5), 1, 1);  // display

  p.setBrush(QColor(0xc8, 0xd4, 0xe4));
  for (int row = 0; row < 3; ++row) {  // speaker grille
    p.drawRect(QRectF(11.5, 20 + row * 2.2, 11, 1));
  }
  p.setBrush(QColor(0xf2, 0xa9, 0x3b));
  p.drawEllipse(QRectF(15, 26.5, 4, 3));  // push-to-talk key
  return pixmap;
}

}  // namespace

CVaroDlg::CVaroDlg(Launcher& launcher, QWidget* parent)
    : QDialog(parent),
      launcher_(launcher),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      productList_(new QComboBox(this)),
      productLabel_(new QLabel(this)),
      chineseBox_(new QCheckBox(this)),
      englishBox_(new QCheckBox(this)) {
  ok_->setObjectName("ok");
  cancel_->setObjectName("cancel");
  productList_->setObjectName("productList");
  productLabel_->setObjectName("productLabel");
  chineseBox_->setObjectName("chineseBox");
  englishBox_->setObjectName("englishBox");

  ok_->setDefault(true);
  productLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  productLabel_->setBuddy(productList_);
  // The template's tab order: the language boxes, the list, then the buttons.
  setTabOrder(chineseBox_, englishBox_);
  setTabOrder(englishBox_, productList_);
  setTabOrder(productList_, ok_);
  setTabOrder(ok_, cancel_);

  connect(chineseBox_, &QCheckBox::clicked, this, &CVaroDlg::OnChinese);
  connect(englishBox_, &QCheckBox::clicked, this, &CVaroDlg::OnEnglish);
  connect(ok_, &QPushButton::clicked, this, &CVaroDlg::OnOK);
  connect(cancel_, &QPushButton::clicked, this, &CVaroDlg::reject);

  const QIcon icon = LauncherIcon();
  setWindowIcon(icon);

  launcher_.Open();
  for (const std::string& name : launcher_.ProductNames())
    productList_->addItem(shell::FromBytes(name));
  productList_->setCurrentIndex(launcher_.Selection());
  setWindowTitle(shell::FromBytes(launcher_.Caption()));
  ShowLanguage();
}

QIcon CVaroDlg::LauncherIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(DrawRadio(size));
  return icon;
}

QPixmap CVaroDlg::LauncherPixmap(int size) { return DrawRadio(size); }

void CVaroDlg::OnChinese() {
  launcher_.ApplyLanguage(Launcher::Language::Chinese);
  ShowLanguage();
}

void CVaroDlg::OnEnglish() {
  launcher_.ApplyLanguage(Launcher::Language::English);
  ShowLanguage();
}

void CVaroDlg::OnOK() {
  const int position = productList_->currentIndex();
  const Launcher::Product& product = Launcher::ProductAt(position);
  switch (launcher_.Accept(position)) {
    case Launcher::AcceptResult::kStarted:
      accept();
      return;
    // Nothing was started; the dialog stays for another choice or Cancel.
    case Launcher::AcceptResult::kProgramMissing:
      QMessageBox::warning(this, windowTitle(),
                           shell::FromBytes(launcher_.MissingProgramText(product)));
      return;
    case Launcher::AcceptResult::kIniNotSaved:
      QMessageBox::warning(
          this, windowTitle(),
          shell::FromBytes(launcher_.SaveFailureText(Launcher::IniPath(product), product)));
      return;
  }
}

void CVaroDlg::ShowLanguage() {
  const auto checked = launcher_.CheckedLanguage();
  const Launcher::Texts& texts = Launcher::TextsFor(checked.value_or(Launcher::Language::Chinese));
  chineseBox_->setText(QString::fromUtf8(texts.chineseBox));
  englishBox_->setText(QString::fromUtf8(texts.englishBox));
  productLabel_->setText(QString::fromUtf8(texts.label));
  ok_->setText(QString::fromUtf8(texts.ok));
  cancel_->setText(QString::fromUtf8(texts.cancel));
  // Automatic check boxes toggle themselves on a click; the launcher's
  // choice decides, so a click on the checked box leaves it checked.
  chineseBox_->setChecked(checked == Launcher::Language::Chinese);
  englishBox_->setChecked(checked == Launcher::Language::English);
  LayOut();
}

QRect CVaroDlg::DialogRect(int x, int y, int width, int height) const {
  return shell::DialogUnits(font()).Rect(x, y, width, height);
}

void CVaroDlg::LayOut() {
  setFixedSize(DialogRect(0, 0, kDialogWidth, kDialogHeight).size());
  ok_->setGeometry(DialogRect(35, 77, 32, 14));
  cancel_->setGeometry(DialogRect(106, 77, 32, 14));
  chineseBox_->setGeometry(DialogRect(34, 23, 45, 11));
  englishBox_->setGeometry(DialogRect(100, 23, 45, 11));

  // The list shows one line; the template's height is that of the open list.
  QRect list = DialogRect(87, 47, 61, kListDropHeight);
  const int lineHeight = productList_->sizeHint().height();
  productList_->setMaxVisibleItems(
      std::max(1, (list.height() - lineHeight) / fontMetrics().height()));
  list.setHeight(lineHeight);
  productList_->setGeometry(list);

  QRect label = DialogRect(19, 48, 48, 9);
  const int needed = productLabel_->sizeHint().width();
  if (needed > label.width()) label.setLeft(std::max(0, label.right() + 1 - needed));
  // Centre the label on the list's line.
  label.moveTop(list.top() + (list.height() - label.height()) / 2);
  productLabel_->setGeometry(label);
}

}  // namespace varo
