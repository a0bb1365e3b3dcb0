#pragma once
// The menus behind menu handles, for the other groups of this folder.

#include "platform/popupmenu.h"

class QMenu;

namespace platform::menus {

// The live menu of a handle, or nullptr.
QMenu* Find(MenuHandle handle);

} // namespace platform::menus
