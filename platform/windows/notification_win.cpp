// Windows has no notification service apart from the task bar's
// notification area, whose balloons come from an icon shown there. The
// program's notices are about a desktop without that area, where a balloon
// has nowhere to show: they are not shown here.

#include "platform/notification.h"

namespace platform {

void ShowDesktopNotification(const std::string& /*title*/, const std::string& /*text*/) {}

} // namespace platform
