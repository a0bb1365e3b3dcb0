#pragma once
// Test double of the popup menus: records each opening and runs what the
// test wants to happen while the menu is open.

#include "platform/popupmenu.h"

#include <functional>
#include <vector>

namespace platform::fake {

struct PopupRequest {
    MenuHandle menu = 0;
    std::uint32_t flags = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

const std::vector<PopupRequest>& PopupRequests();
// Runs inside every TrackPopupMenu, as a user's choice would.
void SetWhilePopupOpen(std::function<void()> action);
void ResetPopupMenus();

} // namespace platform::fake
