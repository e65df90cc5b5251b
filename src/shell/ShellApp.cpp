#include "shell/ShellApp.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTranslator>

#include "ini/Registry.h"
#include "platform/ProgramFiles.h"
#include "radio/ProductBand.h"
#include "shell/BackgroundArea.h"
#include "shell/CAboutDlg.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"
#include "shell/ShellDocument.h"
#include "shell/ShellText.h"

namespace varo::shell {

CShellApp::CShellApp(ProgrammerTraits traits, DocumentTemplate& documents)
    : startProgram([](const std::string& path) { return StartProgram(path); }),
      traits_(std::move(traits)),
      documents_(documents) {}

CShellApp::~CShellApp() {
  delete mainFrame_;
  mainFrame_ = nullptr;
  printer_.reset();
  help_.reset();
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

bool CShellApp::InitInstance(const QStringList& arguments) {
  // 1-2: the program INI and the interface language.
  ini_.Open(traits_.iniName, true, true, false);
  languageValue_ = ini_.GetValue("Setup", "Language", "");
  chinese_ = languageValue_ == "Chinese";

  // 3-5: the language module, found by the language value whatever its
  // letter case; without it the program cannot show a single menu.
  const bool moduleLoaded = OpenModule();
  helpFolder_ = chinese_ ? "chHelp" : "enHelp";
  if (!moduleLoaded) {
    MessageBox(Tr("Load language DLL fail", "加载语言链接库失败"), QMessageBox::Ok,
               QMessageBox::NoIcon, QString::fromStdString(traits_.programName));
    return false;
  }
  InstallQtTranslation();

  // 8: everything else is found through the program directory.
  programDir_ = ProgramDirectory();
  // The application name captions every message box, those of the start-up
  // included.
  appName_ = LanguageSectionText("Company");

  // 11: the main window.
  mainFrame_ = new CMainFrame(*this);
  if (!mainFrame_->Create()) return false;
  RegisterFrameCommands(*mainFrame_);

  // 12: the command line: a .dat file to open, else a new document.
  const bool firstDocument =
      arguments.size() > 1 ? OpenDocumentFile(arguments.at(1)) : NewDocument();
  if (!firstDocument) return false;

  // 13-14: shown maximized, with the program's icon.
  mainFrame_->showMaximized();
  if (auto icon = FindFileNoCase(programDir_, "title.ico")) {
    const QIcon picture(QString::fromStdString(*icon));
    if (!picture.availableSizes().isEmpty()) mainFrame_->setWindowIcon(picture);
  }

  // 16: the About item of the document menu reads as the INI says.
  mainFrame_->SetAboutText(LanguageSectionText("About Title"));
  return true;
}

bool CShellApp::OpenModule() {
  auto path = FindLanguageModule(ProgramDirectory(), languageValue_, traits_.moduleSuffix);
  return path && module_.LoadFile(*path);
}

void CShellApp::InstallQtTranslation() {
  // Qt's own dialogs (file dialogs, message box buttons) in the interface language.
  if (!chinese_) return;
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  } else {
    translator_.reset();
  }
}

QString CShellApp::Str(int id) const { return FromBytes(module_.String(id)); }

QString CShellApp::DialogText(int dialogId, const std::string& key,
                              const QString& fallback) const {
  auto text = module_.DialogText(dialogId, key);
  return text ? FromBytes(*text) : fallback;
}

QString CShellApp::LanguageSectionText(const std::string& key) const {
  return FromBytes(ini_.GetValue(languageValue_, key, ""));
}

QString CShellApp::Tr(const char* english, const char* chinese) const {
  return QString::fromUtf8(chinese_ ? chinese : english);
}

QString CShellApp::LastFolder() const {
  const auto stored = Registry(radio::ProductRegistryKey(ini_)).QueryString("Folder");
  if (stored) {
    const QString folder = QFile::decodeName(QByteArray::fromStdString(*stored));
    if (QFileInfo(folder).isDir()) return folder;
  }
  return QDir::currentPath();
}

void CShellApp::RememberFolder(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  Registry(radio::ProductRegistryKey(ini_)).SetString("Folder", QFile::encodeName(folder).toStdString());
}

QString CShellApp::DocumentFilter() const {
  // "\n\n\n*.dat\n.dat\nVaro_16.Document\nVaro_16 Document"
  const QStringList parts = Str(IDR_DOCMENU).split(QLatin1Char('\n'));
  const QString pattern = parts.value(3, QStringLiteral("*.dat"));
  const QString name = parts.value(6);
  return name.isEmpty() ? pattern : QStringLiteral("%1 (%2)").arg(name, pattern);
}

QString CShellApp::DocumentExtension() const {
  const QString ext = Str(IDR_DOCMENU).split(QLatin1Char('\n')).value(4);
  return ext.isEmpty() ? QStringLiteral(".dat") : ext;
}

HelpWindow* CShellApp::HelpFor(bool index, int context) {
  auto folder = FindFileNoCase(programDir_, helpFolder_);
  const std::string& program = traits_.programName;
  if (!folder || !(index ? HelpWindow::IndexPath(*folder, program)
                         : HelpWindow::TopicPath(*folder, context, program)))
    return nullptr;
  if (!help_) help_ = MakeHelpWindow(*folder);
  // Asked from a dialog, the page shows in front of it and can be read
  // while the dialog stays open.
  help_->SetOwner(QApplication::activeModalWidget());
  return help_.get();
}

void CShellApp::ShowHelp(int context) {
  if (HelpWindow* help = HelpFor(false, context)) help->ShowTopic(context);
}

std::unique_ptr<HelpWindow> CShellApp::MakeHelpWindow(const std::string& folder) const {
  return std::make_unique<HelpWindow>(folder, traits_.programName, Tr("Help", "帮助"),
                                      radio::ProductRegistryKey(ini_));
}

void CShellApp::ShowHelpIndex() {
  if (HelpWindow* help = HelpFor(true, 0)) help->ShowIndex();
}

bool CShellApp::OnCommand(int id) {
  switch (id) {
    case ID_FILE_NEW:
      OnFileNew();
      return true;
    case ID_FILE_OPEN:
      OnFileOpen();
      return true;
    case ID_APP_ABOUT:
      OnAppAbout();
      return true;
    case ID_FILE_PRINT_SETUP:
      OnFilePrintSetup();
      return true;
    default:
      return false;
  }
}

std::optional<bool> CShellApp::CommandEnabled(int id) const {
  switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_ABOUT:
    case ID_FILE_PRINT_SETUP:
      return true;
    default:
      return std::nullopt;
  }
}

void CShellApp::OnFileNew() {
  if (mainFrame_->ActiveChild()) {
    if (MessageBox(Str(IDS_CLEAR_ALL), QMessageBox::Ok | QMessageBox::Cancel,
                   QMessageBox::Warning) != QMessageBox::Ok)
      return;
    mainFrame_->DestroyActiveChild();
  }
  NewDocument();
}

void CShellApp::OnFileOpen() {
  // The document in use goes out of reach once another is open: its changes
  // are asked about before the file is chosen.
  if (CChildFrame* active = mainFrame_->ActiveChild(); active && !active->Document().SaveModified())
    return;
  const QString path = QFileDialog::getOpenFileName(DialogParent(), Tr("Open", "打开"),
                                                    LastFolder(), DocumentFilter());
  if (path.isEmpty()) return;
  RememberFolder(path);
  OpenDocumentFile(path);
}

void CShellApp::OnAppAbout() {
  CAboutDlg dlg(*this, DialogParent());
  dlg.exec();
}

QPrinter& CShellApp::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void CShellApp::OnFilePrintSetup() {
  // The print dialog in setup mode: the printer and its paper and options
  // are chosen for the jobs to come, and OK prints nothing.
  QPrintDialog dialog(&Printer(), DialogParent());
  dialog.setObjectName(QStringLiteral("printSetup"));
  dialog.setWindowTitle(Tr("Print Setup", "打印设置"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(Tr("OK", "确定"));
  }
  dialog.exec();
}

bool CShellApp::NewDocument() {
  std::unique_ptr<CShellDoc> doc = documents_.CreateDocument();
  if (!doc || !doc->OnNewDocument()) return false;
  ShowDocumentWindow(std::move(doc));
  return true;
}

bool CShellApp::OpenDocumentFile(const QString& path) {
  std::unique_ptr<CShellDoc> doc = documents_.CreateDocument();
  if (!doc || !doc->OnOpenDocument(path)) return false;
  // Only the newest document is shown: the window in use until now hides.
  if (CChildFrame* previous = mainFrame_->ActiveChild()) previous->close();
  newDocument_ = false;
  ShowDocumentWindow(std::move(doc));
  return true;
}

void CShellApp::ShowDocumentWindow(std::unique_ptr<CShellDoc> doc) {
  // The view is made for its document, filled from it, and its window sized
  // to the form before it shows.
  CShellView* view = documents_.CreateView(*doc);
  doc->SetView(view);
  auto* child = new CChildFrame(std::move(doc), view);
  mainFrame_->AddChild(child);
  view->OnInitialUpdate();
  child->FitToForm(mainFrame_->Background()->viewport()->size());
  // The area placed the window when it was added, by the size it had then;
  // every document window starts at the area's top left corner instead, so
  // the whole table is in view.
  child->move(0, 0);
  child->show();
  mainFrame_->Background()->setActiveSubWindow(child);
  view->setFocus(Qt::OtherFocusReason);
}

void CShellApp::RestartForLanguage() {
  ini_.Save(false);
  // Unsaved changes have been asked about before the restart was chosen.
  mainFrame_->CloseWithoutAsking();
  // The suite's own starter when it is there, else this program again.
  std::string target = QCoreApplication::applicationFilePath().toStdString();
  if (auto starter = FindFileNoCase(programDir_, traits_.restartProgram + ExecutableSuffix())) {
    const QFileInfo info(QString::fromStdString(*starter));
    if (info.isFile() && info.isExecutable()) target = *starter;
  }
  startProgram(target);
}

QMessageBox::StandardButton CShellApp::MessageBox(const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::Icon icon,
                                                  const std::optional<QString>& caption) {
  QMessageBox box(icon, caption.value_or(appName_), text, buttons, DialogParent());
  box.setObjectName(QStringLiteral("messageBox"));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QWidget* CShellApp::DialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return mainFrame_;
}

}  // namespace varo::shell
