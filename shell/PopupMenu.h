#pragma once
// TPopupMenu: a popup menu as the tray icon opens it. The menu's entries and
// their handlers belong to the form that made it; this names the menu and
// how it is aligned to the point where it opens.

#include "platform/popupmenu.h"

#include <cstdint>

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu {
public:
    platform::MenuHandle Handle = 0;
    TPopupAlignment Alignment = TPopupAlignment::paLeft;

    // Opens the menu at x, y and returns once the user has chosen an entry or
    // dismissed it; entries can be chosen with either mouse button.
    void Popup(std::int32_t X, std::int32_t Y) const;
};
