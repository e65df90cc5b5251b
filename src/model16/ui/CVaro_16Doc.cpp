#include "model16/ui/CVaro_16Doc.h"

#include "model16/Model16.h"
#include "model16/ui/CVaro_16View.h"

namespace varo::model16::ui {

CVaro_16Doc::CVaro_16Doc(shell::CShellApp& app) : CRadioDoc(app, Model16()) {}

CVaro_16View* CVaro_16Doc::ChannelView() const { return qobject_cast<CVaro_16View*>(View()); }

}  // namespace varo::model16::ui
