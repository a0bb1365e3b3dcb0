#pragma once
// Monitors: where each monitor of the desktop lies, in the cursor's
// coordinates (the primary screen's top-left corner is (0, 0); a monitor left
// of or above it has negative coordinates), and when that changes.

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

struct MonitorRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const MonitorRect&) const = default;
};

// The monitors as they are now. Empty where they cannot be told, or where
// the cursor is not read in the same coordinates (a compositor's source).
std::vector<MonitorRect> GetMonitorRects();

// Calls `changed` from the message loop after each change of the monitors (one
// plugged in or out, moved or resized) until StopWatchingMonitors. A second
// call replaces the first.
void WatchMonitors(std::function<void()> changed);

// Stops watching; nothing when not watching.
void StopWatchingMonitors();

} // namespace platform
