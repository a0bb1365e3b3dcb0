#pragma once
// Notices on the desktop that need no tray icon to show them.

#include <string>

namespace platform {

// Shows `text` under `title` through the desktop's notification service.
// Where no service runs the notice is lost, without an error: callers that
// must be heard say it elsewhere too.
void ShowDesktopNotification(const std::string& title, const std::string& text);

} // namespace platform
