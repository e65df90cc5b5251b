#include "model16/ui/COptionalFeaturesDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::model16::ui {

using shell::FocusedControlId;
using shell::SetControlId;

namespace {

struct ListPlace {
  OptionList list;
  const char* englishLabel;
  int x;  // label column; the list follows 72 dialog units to the right
  int y;
};

// Two columns: timer, pre-alert, squelch and voice on the left; call tone
// and the VOX pair on the right, the check boxes beneath them.
constexpr ListPlace kPlaces[kOptionListCount] = {
    {OptionList::kTimeOutTimer, "Time-Out Timer", 10, 10},
    {OptionList::kTotPreAlert, "TOT Pre-Alert", 10, 28},
    {OptionList::kSquelchLevel, "Squelch Level", 10, 46},
    {OptionList::kVoiceAnnunciation, "Voice Annunciation", 10, 64},
    {OptionList::kCallTone, "Call Tone", 142, 10},
    {OptionList::kVoxGainLevel, "Vox Gain Level", 142, 28},
    {OptionList::kVoxDelayTime, "Vox Delay Time", 142, 46},
};

// The platform's virtual-key number of a Qt key, 0 for keys the filter does
// not name (they are dropped like any other).
int VirtualKey(const QKeyEvent& key) {
  const int k = key.key();
  if (k >= Qt::Key_0 && k <= Qt::Key_9) {
    const int base = (key.modifiers() & Qt::KeypadModifier) ? vk::kNumpad0 : vk::k0;
    return base + (k - Qt::Key_0);
  }
  switch (k) {
    case Qt::Key_Backspace:
      return vk::kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return vk::kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::kReturn;
    case Qt::Key_Escape:
      return vk::kEscape;
    case Qt::Key_Space:
      return vk::kSpace;
    case Qt::Key_Left:
      return vk::kLeft;
    case Qt::Key_Up:
      return vk::kUp;
    case Qt::Key_Right:
      return vk::kRight;
    case Qt::Key_Down:
      return vk::kDown;
    case Qt::Key_Delete:
      return vk::kDelete;
    case Qt::Key_F1:
      return vk::kF1;
    default:
      return 0;
  }
}

}  // namespace

COptionalFeaturesDlg::COptionalFeaturesDlg(shell::CShellApp& app, MemoryImage& image,
                                           QWidget* parent)
    : QDialog(parent), app_(app), image_(image) {
  setObjectName(QStringLiteral("COptionalFeaturesDlg"));
  const shell::DialogUnits du(font());
  setFixedSize(du.X(271), du.Y(121));
  constexpr int kDlg = shell::IDD_OPTIONAL_FEATURES;
  setWindowTitle(app.DialogText(kDlg, "caption", QStringLiteral("Optional Features")));

  const bool chinese = app.Chinese();
  const OptionalFeaturesForm form = LoadOptionalFeatures(image);
  QWidget* previous = nullptr;
  for (const ListPlace& place : kPlaces) {
    const int id = OptionListControlId(place.list);
    auto* label = new QLabel(
        app.DialogText(kDlg, "label." + std::to_string(id), QString::fromUtf8(place.englishLabel)),
        this);
    du.Place(label, place.x, place.y + 2, 70, 10);
    auto* box = new QComboBox(this);
    SetControlId(box, id);
    for (const std::string& entry : OptionListEntries(place.list, chinese)) {
      box->addItem(shell::FromBytes(entry));
    }
    box->setMaxVisibleItems(12);
    box->setCurrentIndex(form[place.list]);  // -1: no entry for the stored value
    du.Place(box, place.x + 72, place.y, 48, 13);
    label->setBuddy(box);
    lists_[static_cast<std::size_t>(place.list)] = box;
  }

  beep_ = new QCheckBox(app.DialogText(kDlg, std::to_string(kBeepCheckId), QStringLiteral("Beep")),
                        this);
  SetControlId(beep_, kBeepCheckId);
  beep_->setChecked(form.beep);
  du.Place(beep_, 142, 66, 52, 11);
  batterySaver_ = new QCheckBox(
      app.DialogText(kDlg, std::to_string(kBatterySaverCheckId), QStringLiteral("Battery Saver")),
      this);
  SetControlId(batterySaver_, kBatterySaverCheckId);
  batterySaver_->setChecked(form.batterySaver);
  du.Place(batterySaver_, 196, 66, 70, 11);

  auto* ok = new QPushButton(app.DialogText(kDlg, "1", app.Tr("OK", "确定")), this);
  SetControlId(ok, 1);
  ok->setDefault(true);
  du.Place(ok, 70, 96, 50, 14);
  auto* cancel = new QPushButton(app.DialogText(kDlg, "2", app.Tr("Cancel", "取消")), this);
  SetControlId(cancel, 2);
  du.Place(cancel, 151, 96, 50, 14);

  // Tab order follows the form (left column, right column, check boxes,
  // buttons), though Tab itself is one of the keys the dialog drops.
  for (QWidget* w : {static_cast<QWidget*>(List(OptionList::kTimeOutTimer)),
                     static_cast<QWidget*>(List(OptionList::kTotPreAlert)),
                     static_cast<QWidget*>(List(OptionList::kSquelchLevel)),
                     static_cast<QWidget*>(List(OptionList::kVoiceAnnunciation)),
                     static_cast<QWidget*>(List(OptionList::kCallTone)),
                     static_cast<QWidget*>(List(OptionList::kVoxGainLevel)),
                     static_cast<QWidget*>(List(OptionList::kVoxDelayTime)),
                     static_cast<QWidget*>(beep_), static_cast<QWidget*>(batterySaver_),
                     static_cast<QWidget*>(ok), static_cast<QWidget*>(cancel)}) {
    if (previous) setTabOrder(previous, w);
    previous = w;
  }

  connect(ok, &QPushButton::clicked, this, &COptionalFeaturesDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Keys are looked at before any control of the dialog (its lists' open
  // popups included) sees them.
  qApp->installEventFilter(this);
}

COptionalFeaturesDlg::~COptionalFeaturesDlg() { qApp->removeEventFilter(this); }

OptionalFeaturesForm COptionalFeaturesDlg::Form() const {
  OptionalFeaturesForm form;
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    form[list] = List(list)->currentIndex();
  }
  form.beep = beep_->isChecked();
  form.batterySaver = batterySaver_->isChecked();
  return form;
}

void COptionalFeaturesDlg::accept() {
  StoreOptionalFeatures(Form(), image_);
  QDialog::accept();
}

bool COptionalFeaturesDlg::Contains(const QObject* object) const {
  for (const QObject* o = object; o; o = o->parent()) {
    if (o == this) return true;
  }
  return false;
}

bool COptionalFeaturesDlg::FilterKey(QKeyEvent* key) {
  const bool shift = (key->modifiers() & Qt::ShiftModifier) != 0;
  switch (FilterOptionalFeaturesKey(VirtualKey(*key), shift)) {
    case KeyAction::kPass:
      return false;
    case KeyAction::kHelp:
      app_.ShowHelp(FocusedControlId(focusWidget(), shell::IDD_OPTIONAL_FEATURES));
      return true;
    case KeyAction::kDiscard:
      return true;
  }
  return true;
}

bool COptionalFeaturesDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && Contains(watched)) {
    return FilterKey(static_cast<QKeyEvent*>(event));
  }
  // Shortcuts (a dialog button's mnemonic, the window's accelerators) are
  // keys like any other.
  if (event->type() == QEvent::ShortcutOverride && Contains(watched)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (FilterOptionalFeaturesKey(VirtualKey(*key), (key->modifiers() & Qt::ShiftModifier) != 0) ==
        KeyAction::kDiscard) {
      event->accept();  // no shortcut: the key press follows and is dropped
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace varo::model16::ui
