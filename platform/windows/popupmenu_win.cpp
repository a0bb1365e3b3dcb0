// A popup menu on Windows is a menu of the system. The command of the chosen
// entry goes as WM_COMMAND to the window that the menu's data names (the
// form that made the menu sets it), or else to the application window.

#include "platform/popupmenu.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

namespace platform {
namespace {

HWND CommandTarget(HMENU menu, HWND owner)
{
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    if (GetMenuInfo(menu, &info)) {
        const HWND named = reinterpret_cast<HWND>(info.dwMenuData);
        if (named && IsWindow(named))
            return named;
    }
    return owner;
}

} // namespace

bool TrackPopupMenu(MenuHandle menu, std::uint32_t flags, std::int32_t x, std::int32_t y)
{
    const HMENU handle = reinterpret_cast<HMENU>(menu);
    if (!IsMenu(handle))
        return false;
    const HWND owner = win32::ApplicationWindow();
    const UINT command = ::TrackPopupMenu(handle, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr);
    // A menu opened from the notification area closes properly only once its
    // owner has had another message.
    ::PostMessageA(owner, WM_NULL, 0, 0);
    if (command != 0)
        SendMessageA(CommandTarget(handle, owner), WM_COMMAND, command, 0);
    return true;
}

} // namespace platform
