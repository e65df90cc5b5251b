#pragma once

#include <QMdiSubWindow>

#include <memory>

namespace varo::shell {

class CShellDoc;
class CShellView;

// A document window. It owns its document and its view. A close request (its
// close box, Close in the File menu, or the request a newly opened document
// sends to the window that was active before) only hides it: the document
// stays open and Channel Information shows it again.
class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  CChildFrame(std::unique_ptr<CShellDoc> doc, CShellView* view, QWidget* parent = nullptr);
  ~CChildFrame() override;

  CShellDoc& Document() const { return *doc_; }
  CShellView& View() const { return *view_; }

  // Sizes the window to fit its form, never larger than the window's first
  // size of 1600 x 1200 pixels nor than `room` (the area it lives in; an
  // empty size sets no bound), so that a table taller than the area scrolls
  // inside the window instead of running off its bottom.
  void FitToForm(const QSize& room = {});
  // The area changed size: the window fits its form in the new room, unless
  // the user has sized it (or maximized it) since it was last fitted.
  void RefitTo(const QSize& room);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<CShellDoc> doc_;
  CShellView* view_;
  QSize fitted_;  // the size the last fitting gave
};

}  // namespace varo::shell
