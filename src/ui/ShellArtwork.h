// The program icon and the six menu pictures, drawn for Vantrel and compiled into the program
// as Qt resources (resources/vantrel.qrc).
#pragma once

#include <QIcon>

#include "core/shell/PopupMenuModel.h"

namespace vantrel {

// Registers the resources of vantrel.qrc. They live in a static library, which the linker would
// otherwise leave out; safe to call more than once. ProgramIcon and MenuPictureIcon call it
// themselves, anything else reading ":/..." must call it first.
void InitVantrelResources();

// The program's icon at 16 to 256 pixels: the main window's icon and the tray icon.
QIcon ProgramIcon();

// One of the 13 x 13 menu pictures (with a double-size version for high-density screens);
// a null icon for MenuPicture::None.
QIcon MenuPictureIcon(MenuPicture picture);

}  // namespace vantrel
