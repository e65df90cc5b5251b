#include "model199/ui/CVaro_199View.h"

#include "model199/ui/CVaro_199Doc.h"

namespace varo::model199::ui {

CVaro_199View::CVaro_199View(shell::CShellApp& app, CVaro_199Doc& doc, QWidget* parent)
    : CChannelView(app, doc, parent) {
  setObjectName(QStringLiteral("CVaro_199View"));
}

}  // namespace varo::model199::ui
