#pragma once

#include "model199/ui/CVaro_199App.h"
#include "model199/ui/CVaro_199View.h"
#include "qt/support/ProgramFixture.h"

namespace varo::test {

// Varo199V3 as the shared Qt fixture starts it.
struct Varo199Program {
  using App = model199::ui::CVaro_199App;
  using View = model199::ui::CVaro_199View;
  static ProgramFiles Files() {
    return {"Varo199V3",
            "Varo199V3.ini",
            {"English199V3.lng", "Chinese199V3.lng", "title.ico", "background.bmp"}};
  }
};

using Varo199Folder = BasicFolder<Varo199Program>;
using Session199 = BasicSession<Varo199Program>;

}  // namespace varo::test
