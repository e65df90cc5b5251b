#include "shell/CFleetDlg.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/ProgramFiles.h"
#include "radio/FleetLog.h"
#include "shell/CommandIds.h"
#include "shell/ShellApp.h"
#include "shell/ShellText.h"

namespace varo::shell {

namespace {

// "4B 37 31 36 30 35 00 01".
QString SpacedHex(const radio::FleetRecord& record) {
  QString text;
  for (std::uint8_t byte : record.identification)
    text += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
  return text.trimmed();
}

QString Outcome(const CShellApp& app, bool ok) {
  return ok ? app.Tr("OK", "成功") : app.Tr("Failed", "失败");
}

QTreeWidget* MakeList(QWidget* parent, const QStringList& headers, const char* name) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setHeaderLabels(headers);
  list->header()->setStretchLastSection(true);
  return list;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, const char* name) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// Before the first radio is logged the folder may not exist yet: it is made
// (private to the user, as the log makes it), so that the file manager opens
// where the log will be instead of failing without a word.
void OpenFolderOf(const QString& logPath) {
  const QString folder = QFileInfo(logPath).absolutePath();
  MakeDirectories(QFile::encodeName(folder).toStdString());
  CFleetDlg::OpenUrl()(QUrl::fromLocalFile(folder));
}

}  // namespace

std::function<bool(const QUrl&)>& CFleetDlg::OpenUrl() {
  static std::function<bool(const QUrl&)> open = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
  };
  return open;
}

CFleetDlg::CFleetDlg(CShellApp& app, const QString& plan, const QString& logPath, QWidget* parent)
    : QDialog(parent), app_(app), logPath_(logPath) {
  setObjectName(QStringLiteral("CFleetDlg"));
  setWindowTitle(app.Tr("Write to Several Radios", "批量写频"));
  setWindowModality(Qt::ApplicationModal);

  auto* planLabel = new QLabel(plan, this);
  planLabel->setObjectName(QStringLiteral("plan"));
  planLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 2);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 1);
  progress_->setValue(0);
  radios_ = MakeList(this,
                     {app.Tr("No.", "序号"), app.Tr("Time", "时间"), app.Tr("Outcome", "结果"),
                      app.Tr("Identification", "识别码"), app.Tr("Reason", "原因")},
                     "radios");
  radios_->setMinimumSize(720, radios_->fontMetrics().lineSpacing() * 8);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("summary"));

  auto* log = MakeButton(this, app.Tr("Show &Log...", "查看记录(&L)..."), "log");
  auto* folder = MakeButton(this, app.Tr("Open &Folder", "打开文件夹(&F)"), "folder");
  next_ = MakeButton(this, app.Tr("&Next", "下一台(&N)"), "next");
  stop_ = MakeButton(this, app.Tr("&Stop", "停止(&S)"), "stop");
  close_ = MakeButton(this, app.Tr("Close", "关闭"), "close");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(log);
  buttons->addWidget(folder);
  buttons->addStretch(1);
  buttons->addWidget(next_);
  buttons->addWidget(stop_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(planLabel);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(radios_, 1);
  layout->addWidget(summary_);
  layout->addLayout(buttons);

  connect(next_, &QPushButton::clicked, this, &CFleetDlg::nextClicked);
  connect(stop_, &QPushButton::clicked, this, &CFleetDlg::stopClicked);
  connect(close_, &QPushButton::clicked, this, &CFleetDlg::reject);
  connect(log, &QPushButton::clicked, this, &CFleetDlg::ShowLog);
  connect(folder, &QPushButton::clicked, this, &CFleetDlg::OpenFolder);
  SetState(false, true);
}

void CFleetDlg::SetStatus(const QString& text) { status_->setText(text); }

QString CFleetDlg::Status() const { return status_->text(); }

void CFleetDlg::SetProgress(int position, int total) {
  progress_->setRange(0, total > 0 ? total : 1);
  progress_->setValue(position);
}

void CFleetDlg::AddRadio(int number, const radio::FleetRecord& record, const QString& reason) {
  // The time of day; the date and zone are in the log.
  const QString time = FromBytes(record.time).mid(11, 8);
  auto* row = new QTreeWidgetItem(radios_, {QString::number(number), time,
                                            Outcome(app_, record.ok), SpacedHex(record), reason});
  row->setToolTip(4, reason);
  if (!record.ok) row->setForeground(2, QBrush(Qt::red));
  radios_->scrollToItem(row);
  for (int col = 0; col < 4; ++col) radios_->resizeColumnToContents(col);
  (record.ok ? passed_ : failed_) += 1;
  summary_->setText(app_.Tr("%1 radios: %2 written and verified, %3 failed",
                            "共 %1 台：%2 台已写入并核对，%3 台失败")
                        .arg(passed_ + failed_)
                        .arg(passed_)
                        .arg(failed_));
}

void CFleetDlg::SetState(bool nextOffered, bool running) {
  running_ = running;
  next_->setEnabled(nextOffered && running);
  stop_->setEnabled(running);
  close_->setEnabled(!running);
  QPushButton* preferred = nextOffered && running ? next_ : running ? stop_ : close_;
  preferred->setDefault(true);
  preferred->setFocus(Qt::OtherFocusReason);
  if (!running) progress_->setValue(0);
  if (!running && closeWhenEnded_) reject();
}

QPushButton* CFleetDlg::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

void CFleetDlg::reject() {
  if (!running_) {
    QDialog::reject();
    return;
  }
  closeWhenEnded_ = true;
  emit stopClicked();
}

void CFleetDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    app_.ShowHelp(ID_FLEET);
    return;
  }
  QDialog::keyPressEvent(event);
}

void CFleetDlg::ShowLog() {
  CFleetLogDlg dlg(app_, logPath_, this);
  dlg.exec();
}

void CFleetDlg::OpenFolder() { OpenFolderOf(logPath_); }

CFleetLogDlg::CFleetLogDlg(CShellApp& app, const QString& logPath, QWidget* parent)
    : QDialog(parent), app_(app) {
  setObjectName(QStringLiteral("CFleetLogDlg"));
  setWindowTitle(app.Tr("Log of Radios Written", "批量写频记录"));
  auto* path = new QLabel(logPath, this);
  path->setObjectName(QStringLiteral("path"));
  path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  records_ = MakeList(this,
                      {app.Tr("Time", "时间"), app.Tr("Outcome", "结果"),
                       app.Tr("Identification", "识别码"), app.Tr("File", "文件"),
                       QStringLiteral("SHA-256"), app.Tr("Reason", "原因")},
                      "records");
  records_->setMinimumSize(860, records_->fontMetrics().lineSpacing() * 14);
  QFile file(logPath);
  const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  for (const radio::FleetRecord& r : radio::ParseFleetLog(text.toStdString())) {
    auto* row = new QTreeWidgetItem(
        records_, {FromBytes(r.time), Outcome(app, r.ok), SpacedHex(r), FromBytes(r.file),
                   FromBytes(r.sha256), FromBytes(r.reason)});
    for (int col = 3; col < 6; ++col) row->setToolTip(col, row->text(col));
    if (!r.ok) row->setForeground(1, QBrush(Qt::red));
  }
  for (int col = 0; col < 3; ++col) records_->resizeColumnToContents(col);
  if (QTreeWidgetItem* last = records_->topLevelItem(records_->topLevelItemCount() - 1))
    records_->scrollToItem(last);

  auto* folder = MakeButton(this, app.Tr("Open &Folder", "打开文件夹(&F)"), "folder");
  auto* close = MakeButton(this, app.Tr("Close", "关闭"), "close");
  close->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(folder);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(path);
  layout->addWidget(records_, 1);
  layout->addLayout(buttons);
  connect(folder, &QPushButton::clicked, this, [logPath] { OpenFolderOf(logPath); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void CFleetLogDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    app_.ShowHelp(ID_FLEET);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace varo::shell
