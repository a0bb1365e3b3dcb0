#pragma once
// Popup menus: opening a menu that a form made, at a point on the screen.

#include <cstdint>

namespace platform {

// Identifies a menu; 0 is none. The forms make it from their menu objects.
using MenuHandle = std::uintptr_t;

// Where the menu goes horizontally relative to x, and which buttons choose.
inline constexpr std::uint32_t TpmLeftAlign = 0x0;
inline constexpr std::uint32_t TpmRightButton = 0x2;
inline constexpr std::uint32_t TpmCenterAlign = 0x4;
inline constexpr std::uint32_t TpmRightAlign = 0x8;

// Opens `menu` with its top at y (screen pixels, as GetCursorPos gives them)
// and its left edge (TpmLeftAlign), centre (TpmCenterAlign) or right edge
// (TpmRightAlign) at x, moved as little as needed to stay on the screen.
// Returns after the user has chosen an entry, whose action has then run, or
// dismissed the menu. False when `menu` is no menu.
bool TrackPopupMenu(MenuHandle menu, std::uint32_t flags, std::int32_t x, std::int32_t y);

} // namespace platform
