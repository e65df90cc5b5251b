#include "model199/ui/COptionalFeaturesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::model199::ui {

using shell::SetControlId;

namespace {

constexpr int kDlg = shell::IDD_OPTIONAL_FEATURES;

// The form: two columns of eight rows, a label and its list in each. The
// lists run down the left column and then the right one, in the order of
// OptionList; the Beep box closes the right column.
constexpr int kRows = 8;
constexpr int kTop = 10;
constexpr int kRowStep = 19;
constexpr int kColumnX[2] = {8, 142};
constexpr int kLabelWidth[2] = {72, 58};
constexpr int kListWidth[2] = {50, 62};

constexpr const char* kEnglishLabels[kOptionListCount] = {
    "LED",         "Battery Saver", "Keypad Lock",   "Time-Out Timer", "Voice Sensitivity",
    "Priority Scan", "Channel Display", "Pri-Scanning Time", "Step", "Call Tone",
    "Squelch Level", "Encoder",     "Mode",          "Busy",           "Scan Mode"};

// The entries of `list`: the module's when it offers one per stored value,
// else the program's own words.
QStringList Entries(const shell::CShellApp& app, OptionList list) {
  QStringList own;
  for (const std::string& entry : OptionListEntries(list, app.Chinese()))
    own << shell::FromBytes(entry);
  const QString items =
      app.DialogText(kDlg, std::to_string(OptionListControlId(list)) + ".items");
  const QStringList module = items.split(QLatin1Char('|'));
  return !items.isEmpty() && module.size() == own.size() ? module : own;
}

}  // namespace

COptionalFeaturesDlg::COptionalFeaturesDlg(shell::CShellApp& app, MemoryImage& image,
                                           QWidget* parent)
    : QDialog(parent), app_(app), image_(image) {
  setObjectName(QStringLiteral("COptionalFeaturesDlg"));
  const shell::DialogUnits du(font());
  setFixedSize(du.X(271), du.Y(195));
  setWindowTitle(app.DialogText(kDlg, "caption", QStringLiteral("Optional Features")));

  const OptionalFeaturesForm form = LoadOptionalFeatures(image);
  QList<QWidget*> order;
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    const int id = OptionListControlId(list);
    const int column = i / kRows;
    const int x = kColumnX[column];
    const int y = kTop + kRowStep * (i % kRows);
    auto* label = new QLabel(app.DialogText(kDlg, "label." + std::to_string(id),
                                            QString::fromUtf8(kEnglishLabels[i])),
                             this);
    du.Place(label, x, y + 2, kLabelWidth[column], 10);
    auto* box = new QComboBox(this);
    SetControlId(box, id);
    box->addItems(Entries(app, list));
    box->setMaxVisibleItems(12);
    box->setCurrentIndex(form[list]);  // -1: no entry for the stored value
    du.Place(box, x + kLabelWidth[column] + 2, y, kListWidth[column], 13);
    label->setBuddy(box);
    lists_[static_cast<std::size_t>(i)] = box;
    order << box;
  }

  beep_ = new QCheckBox(
      app.DialogText(kDlg, std::to_string(kBeepCheckId), QStringLiteral("Beep")), this);
  SetControlId(beep_, kBeepCheckId);
  beep_->setChecked(form.beep);
  du.Place(beep_, kColumnX[1], kTop + kRowStep * (kRows - 1) + 1, kLabelWidth[1], 11);

  auto* ok = new QPushButton(app.DialogText(kDlg, "1", app.Tr("OK", "确定")), this);
  SetControlId(ok, 1);
  ok->setDefault(true);
  du.Place(ok, 70, 170, 50, 14);
  auto* cancel = new QPushButton(app.DialogText(kDlg, "2", app.Tr("Cancel", "取消")), this);
  SetControlId(cancel, 2);
  du.Place(cancel, 151, 170, 50, 14);

  order << beep_ << ok << cancel;
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  connect(ok, &QPushButton::clicked, this, &COptionalFeaturesDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

OptionalFeaturesForm COptionalFeaturesDlg::Form() const {
  OptionalFeaturesForm form;
  for (int i = 0; i < kOptionListCount; ++i) {
    const auto list = static_cast<OptionList>(i);
    form[list] = List(list)->currentIndex();
  }
  form.beep = beep_->isChecked();
  return form;
}

void COptionalFeaturesDlg::accept() {
  StoreOptionalFeatures(Form(), image_);
  QDialog::accept();
}

void COptionalFeaturesDlg::keyPressEvent(QKeyEvent* event) {
  // F1 opens the focused control's page; the key then goes on like any other.
  if (event->key() == Qt::Key_F1)
    app_.ShowHelp(shell::FocusedControlId(focusWidget(), kDlg));
  QDialog::keyPressEvent(event);
}

}  // namespace varo::model199::ui
