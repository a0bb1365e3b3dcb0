#pragma once
// Test double of the monitors: a layout that the tests set by hand, each
// change reported to the watcher as the system would.

#include "platform/monitors.h"

#include <vector>

namespace platform::fake {

// Changes the layout and tells the watcher, if any.
void SetMonitors(std::vector<MonitorRect> monitors);
bool WatchingMonitors();
// No monitors told, nobody watching.
void ResetMonitors();

} // namespace platform::fake
