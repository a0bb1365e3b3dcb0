#pragma once
// For the Qt forms: the popup-menu handle of a QMenu.

#include "platform/popupmenu.h"

class QMenu;

namespace platform {

inline MenuHandle MenuHandleOf(QMenu& menu) { return reinterpret_cast<MenuHandle>(&menu); }

} // namespace platform
