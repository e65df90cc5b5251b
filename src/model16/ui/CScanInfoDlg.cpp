#include "model16/ui/CScanInfoDlg.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include "shell/CommandIds.h"
#include "shell/DialogUnits.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::model16::ui {

using shell::SetControlId;

namespace {

constexpr int kDlg = shell::IDD_SCAN_INFO;
constexpr int kFirstBoxId = kPriorityChannelId;  // 1003; the boxes run to 1007
constexpr int kFirstSpinId = kLookBackASpinId;   // 1008; the spins run to 1011

// Rows of the form: label, then its control 86 dialog units from the left.
struct Row {
  int controlId;
  const char* englishLabel;
  int y;
};
constexpr Row kRows[] = {
    {kPriorityListId, "Priority", 10},      {kPriorityChannelId, "Priority Channel", 30},
    {kLookBackAId, "Look Back Time A", 50}, {kLookBackBId, "Look Back Time B", 70},
    {kRevertListId, "Revert Channel", 90},  {kDropoutDelayId, "Dropout Delay Time", 110},
    {kTxDwellId, "Tx Dwell Time", 130},
};
constexpr int kControlX = 92;

int RowY(int controlId) {
  for (const Row& row : kRows) {
    if (row.controlId == controlId) return row.y;
  }
  return 0;
}

}  // namespace

CScanInfoDlg::CScanInfoDlg(shell::CShellApp& app, MemoryImage& image, QWidget* parent)
    : QDialog(parent), app_(app), image_(image), messages_(app), rules_(app.Chinese()) {
  setObjectName(QStringLiteral("CScanInfoDlg"));
  const shell::DialogUnits du(font());
  setFixedSize(du.X(187), du.Y(180));
  setWindowTitle(app.DialogText(kDlg, "caption", QStringLiteral("Scan Infomation")));

  for (const Row& row : kRows) {
    auto* label = new QLabel(app.DialogText(kDlg, "label." + std::to_string(row.controlId),
                                            QString::fromUtf8(row.englishLabel)),
                             this);
    du.Place(label, 10, row.y + 2, 80, 10);
  }

  priority_ = new QComboBox(this);
  SetControlId(priority_, kPriorityListId);
  priority_->addItems(
      app.DialogText(kDlg, "1001.items", QStringLiteral("None|Fixed|Selected")).split(u'|'));
  du.Place(priority_, kControlX, RowY(kPriorityListId), 80, 13);

  revert_ = new QComboBox(this);
  SetControlId(revert_, kRevertListId);
  du.Place(revert_, kControlX, RowY(kRevertListId), 80, 13);

  auto* wholeNumbers =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  for (int i = 0; i < 5; ++i) {
    const int id = kFirstBoxId + i;
    auto* box = new QLineEdit(this);
    SetControlId(box, id);
    boxes_[i] = box;
    const bool hasSpin = id != kPriorityChannelId;
    du.Place(box, kControlX, RowY(id), hasSpin ? 40 : 24, 13);
    if (id == kPriorityChannelId) box->setMaxLength(2);
    if (id == kDropoutDelayId || id == kTxDwellId) box->setValidator(wholeNumbers);
    box->installEventFilter(this);
  }

  // The spin controls: two arrows against the right edge of their box. They
  // take no focus, so clicking them is no focus loss of the box.
  const int spinBox[4] = {kLookBackAId, kLookBackBId, kDropoutDelayId, kTxDwellId};
  for (int s = 0; s < 4; ++s) {
    const int spinId = kFirstSpinId + s;
    auto* spin = new QWidget(this);
    SetControlId(spin, spinId);
    du.Place(spin, kControlX + 40, RowY(spinBox[s]), 10, 13);
    const int half = spin->height() / 2;
    for (int a = 0; a < 2; ++a) {
      const int change = a == 0 ? 1 : -1;
      auto* arrow = new QToolButton(spin);
      arrow->setObjectName(a == 0 ? QStringLiteral("up") : QStringLiteral("down"));
      arrow->setArrowType(a == 0 ? Qt::UpArrow : Qt::DownArrow);
      arrow->setFocusPolicy(Qt::NoFocus);
      arrow->setAutoRepeat(true);
      arrow->setGeometry(0, a * half, spin->width(), a == 0 ? half : spin->height() - half);
      arrows_[s][a] = arrow;
      connect(arrow, &QToolButton::clicked, this,
              [this, spinId, change] { OnSpin(spinId, change); });
    }
  }

  auto* ok = new QPushButton(app.DialogText(kDlg, "1", app.Tr("OK", "确定")), this);
  SetControlId(ok, 1);
  ok->setDefault(true);
  du.Place(ok, 30, 156, 50, 14);
  auto* cancel = new QPushButton(app.DialogText(kDlg, "2", app.Tr("Cancel", "取消")), this);
  SetControlId(cancel, 2);
  du.Place(cancel, 107, 156, 50, 14);

  QWidget* order[] = {priority_, boxes_[0], boxes_[1], boxes_[2], revert_,
                      boxes_[3], boxes_[4], ok,        cancel};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(priority_, &QComboBox::currentIndexChanged, this, &CScanInfoDlg::OnPriorityChanged);
  connect(ok, &QPushButton::clicked, this, &CScanInfoDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  rules_.Open(image_);
  ShowForm();
}

QLineEdit* CScanInfoDlg::Box(int controlId) const {
  const int i = controlId - kFirstBoxId;
  return (i >= 0 && i < 5) ? boxes_[i] : nullptr;
}

QToolButton* CScanInfoDlg::Arrow(int spinId, int change) const {
  const int s = spinId - kFirstSpinId;
  if (s < 0 || s >= 4) return nullptr;
  return arrows_[s][change == 1 ? 0 : 1];
}

void CScanInfoDlg::ReadForm() {
  ScanInfoTexts texts;
  texts.priorityChannel = shell::ToBytes(Box(kPriorityChannelId)->text());
  texts.lookBackA = shell::ToBytes(Box(kLookBackAId)->text());
  texts.lookBackB = shell::ToBytes(Box(kLookBackBId)->text());
  texts.dropoutDelay = shell::ToBytes(Box(kDropoutDelayId)->text());
  texts.txDwell = shell::ToBytes(Box(kTxDwellId)->text());
  rules_.form().revert = revert_->currentIndex();
  // A box that holds no number is reported with a modal prompt: the boxes
  // must not react to the focus that the prompt takes from them.
  const bool wasUpdating = updating_;
  updating_ = true;
  rules_.ReadTexts(texts, messages_);
  updating_ = wasUpdating;
}

void CScanInfoDlg::ShowForm() {
  const bool wasUpdating = updating_;
  updating_ = true;
  const ScanInfoForm& form = rules_.form();
  const ScanInfoTexts texts = rules_.Texts();
  priority_->setCurrentIndex(form.priority);
  revert_->clear();
  for (const std::string& entry : form.revertEntries) revert_->addItem(shell::FromBytes(entry));
  revert_->setCurrentIndex(form.revert);
  Box(kPriorityChannelId)->setText(shell::FromBytes(texts.priorityChannel));
  Box(kLookBackAId)->setText(shell::FromBytes(texts.lookBackA));
  Box(kLookBackBId)->setText(shell::FromBytes(texts.lookBackB));
  Box(kDropoutDelayId)->setText(shell::FromBytes(texts.dropoutDelay));
  Box(kTxDwellId)->setText(shell::FromBytes(texts.txDwell));
  ShowFixedFields();
  updating_ = wasUpdating;
}

void CScanInfoDlg::ShowFixedFields() {
  const bool fixed = rules_.form().fixedFieldsEnabled;
  for (int id : {kPriorityChannelId, kLookBackAId, kLookBackBId}) Box(id)->setEnabled(fixed);
  for (int spin : {kLookBackASpinId, kLookBackBSpinId}) {
    Arrow(spin, 1)->parentWidget()->setEnabled(fixed);
  }
}

void CScanInfoDlg::OnPriorityChanged(int position) {
  if (updating_) return;
  updating_ = true;
  // Only the priority's own fields change: what the user typed into the
  // other boxes stays as typed.
  rules_.ChangePriority(position);
  const ScanInfoForm& form = rules_.form();
  if (!form.fixedFieldsEnabled) Box(kPriorityChannelId)->clear();
  ShowFixedFields();
  revert_->clear();
  for (const std::string& entry : form.revertEntries) revert_->addItem(shell::FromBytes(entry));
  revert_->setCurrentIndex(form.revert);
  updating_ = false;
}

void CScanInfoDlg::OnSpin(int spinId, int change) {
  if (updating_) return;
  ReadForm();
  ScanInfoForm& form = rules_.form();
  switch (spinId) {
    case kLookBackASpinId:
      form.lookBackA = StepLookBack(form.lookBackA, change);
      break;
    case kLookBackBSpinId:
      form.lookBackB = StepLookBack(form.lookBackB, change);
      break;
    case kDropoutDelaySpinId:
      form.dropoutDelay = StepWholeNumber(form.dropoutDelay, change);
      break;
    case kTxDwellSpinId:
      form.txDwell = StepWholeNumber(form.txDwell, change);
      break;
    default:
      break;
  }
  ShowForm();
}

void CScanInfoDlg::OnLeaveBox(int controlId) {
  if (updating_ || controlId < kLookBackAId || controlId > kTxDwellId) return;
  ReadForm();
  ScanInfoForm& form = rules_.form();
  switch (controlId) {
    case kLookBackAId:
      form.lookBackA = SettleLookBack(form.lookBackA);
      break;
    case kLookBackBId:
      form.lookBackB = SettleLookBack(form.lookBackB);
      break;
    case kDropoutDelayId:
      form.dropoutDelay = ClampWholeNumber(form.dropoutDelay);
      break;
    case kTxDwellId:
      form.txDwell = ClampWholeNumber(form.txDwell);
      break;
    default:
      return;
  }
  ShowForm();
}

void CScanInfoDlg::accept() {
  // Enter presses OK without the box losing the focus; its value is settled
  // as leaving it would, so that nothing outside 0.5-5.0 s or 0-300 reaches
  // the image.
  if (const QWidget* focused = focusWidget()) {
    const QVariant id = focused->property("controlId");
    if (id.isValid()) OnLeaveBox(id.toInt());
  }

  ReadForm();
  if (rules_.Ok(image_, messages_) == ScanInfoOk::kAccepted) {
    QDialog::accept();
    return;
  }
  QLineEdit* channel = Box(kPriorityChannelId);
  if (channel->hasSelectedText()) channel->del();
  ReadForm();
  channel->setFocus(Qt::OtherFocusReason);
  channel->selectAll();
}

bool CScanInfoDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && isVisible()) {
    const QVariant id = watched->property("controlId");
    if (id.isValid()) OnLeaveBox(id.toInt());
  }
  return QDialog::eventFilter(watched, event);
}

void CScanInfoDlg::keyPressEvent(QKeyEvent* event) {
  // The dialog's help topic is the Scan Info command's.
  if (event->key() == Qt::Key_F1) app_.ShowHelp(shell::ID_SCAN_INFO);
  QDialog::keyPressEvent(event);
}

}  // namespace varo::model16::ui
