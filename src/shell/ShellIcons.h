#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace varo::shell {

// The programs' own artwork, drawn in code so that it scales with the screen.

// The toolbar picture of command `id` (New, Open, Save, Undo, Redo, Read,
// Write, Verify, Print, About); an empty icon for any other command.
QIcon ToolbarIcon(int id);

// The control bar's close button picture (icon 131).
QPixmap CloseIcon(int size);

// A hand-held radio: the programs' icon when "title.ico" is missing.
QImage RadioImage(int size);
QIcon RadioIcon();

// The built-in background tile (bitmap 137, 238 x 157), used when
// "background.bmp" cannot be loaded.
QImage BuiltInBackground();

// The delivered "background.bmp" picture (238 x 157).
QImage SuiteBackground();

}  // namespace varo::shell
