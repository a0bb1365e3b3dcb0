#pragma once
// The notification-area shell: adds, changes and removes the icons that
// programs show in the notification area (system tray), and reports mouse
// events over an icon as callback messages to the icon's window.

#include "platform/icon.h"
#include "platform/messagewindow.h"
#include "platform/popupmenu.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace platform {

// The size that the record's first version states: 88 bytes with a 64-byte
// tool tip in the classic 32-bit layout. The field marks the version; it is
// not sizeof the struct below.
inline constexpr std::uint32_t NotifyIconDataV1Size = 88;
inline constexpr std::size_t NotifyIconTipSize = 64;

// Which members of the record a request uses.
inline constexpr std::uint32_t NifMessage = 0x1;
inline constexpr std::uint32_t NifIcon = 0x2;
inline constexpr std::uint32_t NifTip = 0x4;

// One icon: it is identified by hWnd and uID together.
struct TNotifyIconData {
    std::uint32_t cbSize = 0;
    WindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    // Posted to hWnd for each mouse event over the icon, with uID in wParam
    // and the mouse message (WmLButtonUp, ...) in lParam.
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon = 0;
    // Zero-terminated.
    std::array<char, NotifyIconTipSize> szTip{};
};

enum class NotifyIconMessage : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// Add: shows a new icon (false when hWnd is no window or the icon exists).
// Modify: changes the members that uFlags names (false when no such icon).
// Delete: removes the icon (false when no such icon).
// An added icon stays in the notification area until it is deleted or its
// window is destroyed. While there is no notification area it waits, and it
// shows again whenever one appears or restarts.
bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data);

// Offers the popup menu of the icon that hWnd and uID name (0 for none) to
// trays that show an icon's menu themselves, such as a StatusNotifierItem host
// on D-Bus. Trays that only report the right click, as the Windows shell
// does, are not given it: there the icon's owner opens the menu. False when
// there is no such icon.
bool OfferNotifyIconMenu(const TNotifyIconData& data, MenuHandle menu);

// Whether the desktop has a notification area that shows the icons; false
// while none has been seen (a desktop without a tray, or one whose panel has
// not started yet).
bool NotificationAreaPresent();

} // namespace platform
