#include "platform/monitors.h"
#include "platform/double/monitors_double.h"

#include <utility>

namespace platform {
namespace {
struct FakeMonitors {
    std::vector<MonitorRect> monitors;
    std::function<void()> changed;
};
FakeMonitors state;
} // namespace

std::vector<MonitorRect> GetMonitorRects() { return state.monitors; }

void WatchMonitors(std::function<void()> changed) { state.changed = std::move(changed); }

void StopWatchingMonitors() { state.changed = nullptr; }

namespace fake {

void SetMonitors(std::vector<MonitorRect> monitors)
{
    state.monitors = std::move(monitors);
    if (state.changed)
        state.changed();
}

bool WatchingMonitors() { return static_cast<bool>(state.changed); }

void ResetMonitors() { state = {}; }

} // namespace fake
} // namespace platform
