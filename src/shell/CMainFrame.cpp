#include "shell/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "lang/LanguageModule.h"
#include "shell/BackgroundArea.h"
#include "shell/CChildFrame.h"
#include "shell/CControlBar.h"
#include "shell/CommandIds.h"
#include "shell/HelpWindow.h"
#include "shell/PortOverride.h"
#include "shell/ShellApp.h"
#include "shell/ShellDocument.h"
#include "shell/ShellIcons.h"
#include "shell/ShellText.h"

namespace varo::shell {
namespace {

constexpr const char* kCommandId = "commandId";

int CommandOf(const QAction* action) {
  const QVariant id = action->property(kCommandId);
  return id.isValid() ? id.toInt() : 0;
}

// State of a keyboard lock lamp as the kernel reports it; nothing when the
// system does not say.
std::optional<bool> LockLamp(const QString& suffix) {
  const QDir leds(QStringLiteral("/sys/class/leds"));
  const QStringList names = leds.entryList({QStringLiteral("*::") + suffix}, QDir::AllEntries);
  if (names.isEmpty()) return std::nullopt;
  bool on = false;
  for (const QString& name : names) {
    QFile f(leds.filePath(name) + QStringLiteral("/brightness"));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    on = on || f.readAll().trimmed().toInt() > 0;
  }
  return on;
}

}  // namespace

CMainFrame::CMainFrame(CShellApp& app) : app_(app) {
  setObjectName(QStringLiteral("CMainFrame"));
  title_ = app_.Str(IDR_MAINFRAME);
  setWindowTitle(title_);
  setWindowIcon(RadioIcon());
  resize(1000, 600);
}

CMainFrame::~CMainFrame() {
  if (qApp) qApp->removeEventFilter(this);
  // Document windows go before the rest of the frame they refer to.
  std::vector<CChildFrame*> children = children_;
  children_.clear();
  active_ = nullptr;
  for (CChildFrame* child : children) delete child;
}

bool CMainFrame::Create() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("frameClient"));
  auto* layout = new QHBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(client);

  const QString company = app_.LanguageSectionText("company");
  controlBar_ = new CControlBar(company, app_.DialogText(IDD_CONTROLBAR, "close",
                                                         app_.Tr("Close", "关闭")),
                                client, client);
  background_ = new BackgroundArea(app_.ProgramDir(), client);
  layout->addWidget(controlBar_);
  layout->addWidget(background_, 1);

  const QStringList pages = {app_.Tr("Product Information", "类型设置"),
                             app_.Tr("Channel Information", "信道信息"),
                             app_.Tr("Optional Features", "可选功能")};
  controlBar_->FillTree(app_.LanguageSectionText("Company"), pages);
  connect(controlBar_, &CControlBar::pageChosen, this, [this, pages](const QString& label) {
    if (label == pages[1]) {
      RouteCommand(ID_CHANNEL_INFO);
    } else if (label == pages[2]) {
      RouteCommand(ID_OPTIONAL_FEATURES);
    } else if (label == pages[0]) {
      RouteCommand(ID_PRODUCT_INFO);
    }
  });
  connect(controlBar_, &CControlBar::closeClicked, this, [this] { ShowControlBar(false); });

  for (int id : {IDR_MAINFRAME, IDR_DOCMENU}) menus_[id] = BuildMenu(id);
  // A command may have several keys (Redo: Ctrl+Y and Ctrl+Shift+Z).
  for (const auto& accel : app_.Module().Accelerators(IDR_MAINFRAME)) {
    QAction* action = EnsureAction(accel.id);
    QList<QKeySequence> keys = action->shortcuts();
    keys << QKeySequence(QString::fromStdString(accel.keys));
    action->setShortcuts(keys);
  }
  // Help for the window as a whole; the view and the dialogs answer F1 with
  // their own topics before it gets here. The Help menu's "Help Topics"
  // shows F1 as its key: outside a document window F1 opens the contents as
  // that item does, inside one the topic of the focus (the table's, say),
  // so the key stays context help and the item is its fallback.
  QAction* help = EnsureAction(ID_HELP);
  help->setShortcut(QKeySequence(Qt::Key_F1));
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_CONTROL_BAR})
    EnsureAction(id)->setCheckable(true);

  BuildToolBar();
  BuildStatusBar();
  if (!toolBar_ || !statusBar() || !controlBar_->Tree()) return false;

  connect(background_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
  qApp->installEventFilter(this);
  ShowMenu(IDR_MAINFRAME);
  UpdateCommandUI();
  return true;
}

QAction* CMainFrame::EnsureAction(int id) {
  auto it = actions_.find(id);
  if (it != actions_.end()) return it->second;
  auto* action = new QAction(this);
  action->setProperty(kCommandId, id);
  const CommandPrompt prompt = SplitCommandPrompt(app_.Module().String(id));
  action->setStatusTip(FromBytes(prompt.prompt));
  if (!prompt.tooltip.empty()) action->setToolTip(FromBytes(prompt.tooltip));
  connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
  addAction(action);  // shortcuts work whichever menu is shown
  actions_[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

std::vector<QMenu*> CMainFrame::BuildMenu(int menuId) {
  std::vector<QMenu*> popups;
  for (const auto& popup : app_.Module().Menu(menuId)) {
    auto* menu = new QMenu(FromBytes(popup.text), this);
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    for (const auto& item : popup.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = EnsureAction(item.id);
      const QString text = FromBytes(item.text);
      if (action->text().isEmpty()) action->setText(text);
      if (action->text() != text) {
        // Same command, another text in this menu: an action of its own.
        auto* own = new QAction(text, this);
        own->setProperty(kCommandId, item.id);
        own->setStatusTip(action->statusTip());
        own->setCheckable(action->isCheckable());
        const int id = item.id;
        connect(own, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        action = own;
      }
      menu->addAction(action);
    }
    popups.push_back(menu);
  }
  return popups;
}

QMenu* CMainFrame::Popup(int menuId, int position) const {
  auto it = menus_.find(menuId);
  if (it == menus_.end() || position < 0 || position >= static_cast<int>(it->second.size()))
    return nullptr;
  return it->second[static_cast<std::size_t>(position)];
}

void CMainFrame::ShowMenu(int menuId) {
  if (shownMenu_ == menuId) return;
  menuBar()->clear();
  for (QMenu* menu : menus_[menuId]) menuBar()->addMenu(menu);
  shownMenu_ = menuId;
}

void CMainFrame::SetAboutText(const QString& text) {
  QMenu* helpMenu = Popup(IDR_DOCMENU, 5);
  if (!helpMenu || helpMenu->actions().isEmpty()) return;
  QAction* old = helpMenu->actions().first();
  auto* about = new QAction(text, this);
  about->setProperty(kCommandId, ID_APP_ABOUT);
  about->setStatusTip(old->statusTip());
  connect(about, &QAction::triggered, this, [this] { RouteCommand(ID_APP_ABOUT); });
  helpMenu->insertAction(old, about);
  helpMenu->removeAction(old);
}

void CMainFrame::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(16, 16));
  for (int id : app_.Module().Toolbar(IDR_MAINFRAME)) {
    if (id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* action = EnsureAction(id);
    action->setIcon(ToolbarIcon(id));
    toolBar_->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  idleLabel_ = new QLabel(app_.Str(IDS_IDLEMESSAGE), bar);
  bar->addWidget(idleLabel_, 1);
  portPane_ = new QLabel(bar);
  portPane_->setObjectName(QString::number(IDC_PORT_PANE));
  portPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  portPane_->setAlignment(Qt::AlignCenter);
  bar->addPermanentWidget(portPane_);
  portPane_->hide();
  for (int id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
    auto* label = new QLabel(app_.Str(id), bar);
    label->setObjectName(QString::number(id));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 12);
    bar->addPermanentWidget(label);
    indicators_.push_back(label);
  }
  UpdateIndicators();
}

void CMainFrame::UpdateIndicators() {
  // A lamp that is off, or whose state the system does not tell, shows its
  // label greyed.
  const QString lamps[] = {QStringLiteral("capslock"), QStringLiteral("numlock"),
                           QStringLiteral("scrolllock")};
  for (std::size_t i = 0; i < indicators_.size(); ++i)
    indicators_[i]->setEnabled(LockLamp(lamps[i]).value_or(false));
}

void CMainFrame::UpdatePortPane() {
  // Shown whenever the environment redirects the view's port, whatever
  // device it points at: the user then is not talking to the cable.
  std::optional<PortOverride> redirected;
  if (active_) redirected = FindPortOverride(app_, active_->View().PortName());
  if (!redirected) {
    portPane_->hide();
    return;
  }
  portPane_->setText(SimulatedPortText(app_, *redirected));
  portPane_->setToolTip(redirected->variable + QLatin1Char('=') + redirected->device);
  portPane_->setMinimumWidth(portPane_->fontMetrics().horizontalAdvance(portPane_->text()) + 12);
  portPane_->show();
}

void CMainFrame::UpdateTreePages() {
  // The tree's pages follow their commands: Product Information and Optional
  // Features cannot be chosen while their commands are disabled.
  QTreeWidget* tree = controlBar_ ? controlBar_->Tree() : nullptr;
  if (!tree || tree->topLevelItemCount() == 0) return;
  QTreeWidgetItem* root = tree->topLevelItem(0);
  const int commands[] = {ID_PRODUCT_INFO, ID_CHANNEL_INFO, ID_OPTIONAL_FEATURES};
  for (int i = 0; i < root->childCount() && i < 3; ++i)
    root->child(i)->setDisabled(!IsCommandEnabled(commands[i]));
}

void CMainFrame::SetTitle(const QString& title) {
  title_ = title;
  UpdateCaption();
}

QString CMainFrame::Caption() const {
  const bool modified = active_ && active_->Document().IsModified();
  return modified ? QLatin1Char('*') + title_ : title_;
}

void CMainFrame::UpdateCaption() { setWindowTitle(Caption()); }

void CMainFrame::SetIdleText(const QString& text) {
  idleLabel_->setText(text);
  idleLabel_->setToolTip(text);
}

QString CMainFrame::IdleText() const { return idleLabel_->text(); }

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::WindowTitleChange && windowTitle() != Caption()) {
    // A maximized document window would put its name into the caption; the
    // caption is the program's own.
    setWindowTitle(Caption());
  }
  return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
      if (auto* menu = qobject_cast<QMenu*>(watched)) {
        // F1 on a highlighted menu item opens the topic of its command.
        if (QAction* action = menu->activeAction(); action && CommandOf(action) != 0) {
          app_.ShowHelp(CommandOf(action));
          return true;
        }
      }
    }
  } else if (event->type() == QEvent::KeyRelease && watched == qApp->focusObject()) {
    const int k = static_cast<QKeyEvent*>(event)->key();
    if (k == Qt::Key_CapsLock || k == Qt::Key_NumLock || k == Qt::Key_ScrollLock)
      UpdateIndicators();
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler,
                                   std::function<bool()> enabled) {
  handlers_[id] = {std::move(handler), std::move(enabled)};
  EnsureAction(id);
  UpdateCommandUI();
}

bool CMainFrame::RouteCommand(int id) {
  if (!IsCommandEnabled(id)) return false;
  bool done = false;
  if (active_) {
    done = active_->View().OnCommand(id) || active_->Document().OnCommand(id);
  }
  if (!done) done = FrameCommand(id) || app_.OnCommand(id);
  UpdateCommandUI();
  return done;
}

bool CMainFrame::IsCommandEnabled(int id) const {
  if (active_) {
    if (auto v = active_->View().CommandEnabled(id)) return *v;
    if (auto d = active_->Document().CommandEnabled(id)) return *d;
  }
  if (auto f = FrameCommandEnabled(id)) return *f;
  if (auto a = app_.CommandEnabled(id)) return *a;
  return false;
}

void CMainFrame::UpdateCommandUI() {
  for (QAction* action : findChildren<QAction*>()) {
    const int id = CommandOf(action);
    if (id == 0) continue;
    action->setEnabled(IsCommandEnabled(id));
    switch (id) {
      case ID_VIEW_TOOLBAR: action->setChecked(toolBar_ && !toolBar_->isHidden()); break;
      case ID_VIEW_STATUS_BAR: action->setChecked(!statusBar()->isHidden()); break;
      case ID_VIEW_CONTROL_BAR: action->setChecked(controlBar_ && !controlBar_->isHidden()); break;
      default: break;
    }
  }
  UpdateTreePages();
  if (portPane_) UpdatePortPane();
}

bool CMainFrame::FrameCommand(int id) {
  switch (id) {
    case ID_VIEW_CONTROL_BAR:
      ShowControlBar(controlBar_->isHidden());
      return true;
    case ID_VIEW_TOOLBAR:
      toolBar_->setVisible(toolBar_->isHidden());
      return true;
    case ID_VIEW_STATUS_BAR:
      statusBar()->setVisible(statusBar()->isHidden());
      return true;
    case ID_CHANNEL_INFO:
      ShowActiveChild();
      return true;
    case ID_APP_EXIT:
      close();
      return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
      FocusNextPane(id == ID_NEXT_PANE);
      return true;
    case ID_HELP_FINDER:
      app_.ShowHelpIndex();
      return true;
    case ID_HELP: {
      // F1 that the table and the dialogs did not answer themselves: the
      // topic of the view's focus inside a document window, else the start page.
      QWidget* focus = QApplication::focusWidget();
      if (active_ && focus && active_->isAncestorOf(focus)) {
        app_.ShowHelp(active_->View().FocusHelpContext());
      } else {
        app_.ShowHelpIndex();
      }
      return true;
    }
    default:
      break;
  }
  auto it = handlers_.find(id);
  if (it == handlers_.end()) return false;
  it->second.run();
  return true;
}

std::optional<bool> CMainFrame::FrameCommandEnabled(int id) const {
  switch (id) {
    case ID_VIEW_CONTROL_BAR:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_APP_EXIT:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
    case ID_HELP:
    case ID_HELP_FINDER:
      return true;
    case ID_CHANNEL_INFO:
      return active_ != nullptr;
    default:
      break;
  }
  auto it = handlers_.find(id);
  if (it == handlers_.end()) return std::nullopt;
  return it->second.enabled ? it->second.enabled() : true;
}

void CMainFrame::ShowControlBar(bool show) {
  controlBar_->setVisible(show);
  UpdateCommandUI();
}

void CMainFrame::FocusNextPane(bool /*forward*/) {
  // Two panes take turns: the navigation tree and the document window.
  QWidget* focus = QApplication::focusWidget();
  const bool inTree = focus && controlBar_->isAncestorOf(focus);
  if (inTree && active_ && active_->isVisible()) {
    active_->widget()->setFocus(Qt::OtherFocusReason);
  } else if (!controlBar_->isHidden()) {
    controlBar_->Tree()->setFocus(Qt::OtherFocusReason);
  }
}

void CMainFrame::AddChild(CChildFrame* child) {
  children_.push_back(child);
  background_->addSubWindow(child);
  active_ = child;
  connect(&child->Document(), &CShellDoc::modifiedChanged, this, [this, child] {
    if (child == active_) UpdateCaption();
  });
  ShowMenu(IDR_DOCMENU);
  UpdateCommandUI();
  UpdateCaption();
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
  // A hidden window stays the one in use until another is activated.
  if (auto* child = qobject_cast<CChildFrame*>(window)) active_ = child;
  UpdateCommandUI();
  UpdateCaption();
}

void CMainFrame::DestroyActiveChild() {
  CChildFrame* child = active_;
  if (!child) return;
  ChildDestroyed(child);
  background_->removeSubWindow(child);
  delete child;
}

void CMainFrame::ChildDestroyed(CChildFrame* child) {
  std::erase(children_, child);
  if (active_ == child) active_ = nullptr;
  if (children_.empty()) ShowMenu(IDR_MAINFRAME);
  UpdateCommandUI();
  UpdateCaption();
}

void CMainFrame::ShowActiveChild() {
  if (!active_) return;
  active_->showNormal();
  background_->setActiveSubWindow(active_);
  active_->widget()->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::CloseWithoutAsking() {
  closeConfirmed_ = true;
  close();
  closeConfirmed_ = false;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Exit, the close box and the system menu: changes not saved yet are asked
  // about first; Cancel keeps the program running.
  if (!closeConfirmed_ && active_ && !active_->Document().SaveModified()) {
    event->ignore();
    return;
  }
  if (HelpWindow* help = app_.Help()) help->close();
  QMainWindow::closeEvent(event);
}

}  // namespace varo::shell
