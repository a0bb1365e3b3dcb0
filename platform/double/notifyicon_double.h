#pragma once
// Test double of the notification-area shell: records every request and
// answers as the test says.

#include "platform/notifyicon.h"

#include <vector>

namespace platform::fake {

struct ShellRequest {
    NotifyIconMessage message = NotifyIconMessage::Add;
    TNotifyIconData data;
};

const std::vector<ShellRequest>& ShellRequests();
// The menu last offered for an icon (0 when none was).
MenuHandle OfferedMenu();
// Whether requests succeed (they do after a reset).
void SetShellSucceeds(bool succeeds);
// Whether a notification area is there (it is after a reset).
void SetNotificationAreaPresent(bool present);
void ResetShell();

} // namespace platform::fake
