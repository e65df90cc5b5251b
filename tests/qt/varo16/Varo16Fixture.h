#pragma once

#include "model16/ui/CVaro_16App.h"
#include "model16/ui/CVaro_16View.h"
#include "qt/support/ProgramFixture.h"

namespace varo::test {

// Varo16 as the shared Qt fixture starts it.
struct Varo16Program {
  using App = model16::ui::CVaro_16App;
  using View = model16::ui::CVaro_16View;
  static ProgramFiles Files() {
    return {"Varo16", "Varo16.ini", {"English16.lng", "Chinese16.lng", "title.ico", "background.bmp"}};
  }
};

using Varo16Folder = BasicFolder<Varo16Program>;
using Session = BasicSession<Varo16Program>;

}  // namespace varo::test
