#include "platform/notification.h"
#include "platform/double/notification_double.h"

namespace platform {
namespace {
std::vector<fake::DesktopNotification> notifications;
} // namespace

void ShowDesktopNotification(const std::string& title, const std::string& text)
{
    notifications.push_back({title, text});
}

namespace fake {
const std::vector<DesktopNotification>& DesktopNotifications() { return notifications; }
void ResetDesktopNotifications() { notifications.clear(); }
} // namespace fake

} // namespace platform
