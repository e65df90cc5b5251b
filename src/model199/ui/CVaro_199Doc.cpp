#include "model199/ui/CVaro_199Doc.h"

#include "model199/Model199.h"

namespace varo::model199::ui {

CVaro_199Doc::CVaro_199Doc(shell::CShellApp& app) : CRadioDoc(app, Model199()) {}

}  // namespace varo::model199::ui
