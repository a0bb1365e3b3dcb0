#pragma once
// Test double of the desktop's notices: records them.

#include <string>
#include <vector>

namespace platform::fake {

struct DesktopNotification {
    std::string title;
    std::string text;
};

const std::vector<DesktopNotification>& DesktopNotifications();
void ResetDesktopNotifications();

} // namespace platform::fake
