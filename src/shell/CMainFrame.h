#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace varo::shell {

class BackgroundArea;
class CChildFrame;
class CControlBar;
class CShellApp;

// The main window: menus 128 (no document window) and 129 (with one), the
// toolbar, the status bar with its key indicators, the control bar with the
// navigation tree at the left, and the tiled background in which the document
// windows live. Every command (menu, toolbar, accelerator, tree) is routed
// through the active view, its document, the main frame and the application,
// the first that knows it carrying it out; a command nobody knows is disabled.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CShellApp& app);
  ~CMainFrame() override;

  // Builds menus, toolbar, status bar, control bar and background; false
  // when a part could not be made.
  bool Create();

  // The caption. The frame sets it to string 128 once and never rewrites it;
  // only the product/band step changes it through here. While the active
  // document holds unsaved changes the caption shows a '*' in front of it.
  void SetTitle(const QString& title);
  QString Title() const { return title_; }
  // Closes the main window without asking about unsaved changes (the caller
  // has asked already).
  void CloseWithoutAsking();

  // The status bar's idle text ("Ready"), replaced by what the last transfer
  // did ("Read from COM1 in 2.7 s").
  void SetIdleText(const QString& text);
  QString IdleText() const;

  // Replaces the text of the Help menu's first item in the document menu
  // (the About item) with `text`.
  void SetAboutText(const QString& text);

  // Runs command `id` along the route; false when nobody carried it out.
  bool RouteCommand(int id);
  bool IsCommandEnabled(int id) const;
  // Re-evaluates enabled and checked states of every command.
  void UpdateCommandUI();
  QAction* Action(int id) const;

  // Commands the frame carries out for the radio model (Optional Features,
  // Product Information). `enabled` may be empty (always enabled).
  void SetCommandHandler(int id, std::function<void()> handler,
                         std::function<bool()> enabled = {});

  // Document windows.
  void AddChild(CChildFrame* child);
  // The document window in use: the one last activated, also while hidden.
  CChildFrame* ActiveChild() const { return active_; }
  const std::vector<CChildFrame*>& Children() const { return children_; }
  void DestroyActiveChild();
  // Channel Information: shows the active document window again.
  void ShowActiveChild();

  CControlBar* ControlBar() const { return controlBar_; }
  BackgroundArea* Background() const { return background_; }
  QToolBar* ToolBar() const { return toolBar_; }
  // The status bar pane that names a port redirected to a simulated radio;
  // hidden while the active view's port is not redirected.
  QLabel* PortPane() const { return portPane_; }
  // Which menu the menu bar shows: 128 or 129.
  int ShownMenu() const { return shownMenu_; }
  QMenu* Popup(int menuId, int position) const;

  void ShowControlBar(bool show);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FrameCommand(int id);
  std::optional<bool> FrameCommandEnabled(int id) const;
  QAction* EnsureAction(int id);
  std::vector<QMenu*> BuildMenu(int menuId);
  void ShowMenu(int menuId);
  void BuildToolBar();
  void BuildStatusBar();
  void UpdateIndicators();
  void UpdatePortPane();
  void UpdateTreePages();
  void OnSubWindowActivated(QMdiSubWindow* window);
  void ChildDestroyed(CChildFrame* child);
  void FocusNextPane(bool forward);
  QString Caption() const;
  void UpdateCaption();

  CShellApp& app_;
  QString title_;
  BackgroundArea* background_ = nullptr;
  CControlBar* controlBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  std::vector<QLabel*> indicators_;
  QLabel* idleLabel_ = nullptr;
  QLabel* portPane_ = nullptr;
  std::map<int, QAction*> actions_;
  std::map<int, std::vector<QMenu*>> menus_;
  int shownMenu_ = 0;
  struct Handler {
    std::function<void()> run;
    std::function<bool()> enabled;
  };
  std::map<int, Handler> handlers_;
  std::vector<CChildFrame*> children_;
  CChildFrame* active_ = nullptr;
  bool closeConfirmed_ = false;
};

}  // namespace varo::shell
