#pragma once
// Whether the program can reach the display server it needs, and what
// happens when it goes away.

#include <functional>
#include <string>

namespace platform {

// Empty when an X server can be reached; otherwise the reason why not.
std::string DisplayUnavailableReason();

// When the connection to the display server breaks (the server ended, a
// forwarded connection dropped), `saveSettings` runs, one line on standard
// error says that the display was lost, and the program ends at once with
// status 1. Call it once, after the application object exists.
void WatchDisplayLoss(std::function<void()> saveSettings);

} // namespace platform
