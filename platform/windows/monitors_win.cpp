// Monitors on Windows: the system's own list, already in the cursor's
// coordinates (the primary monitor's top-left corner is the origin). A change
// of the display reaches every top-level window as WM_DISPLAYCHANGE; a
// hidden one of this group's own receives it while watching.

#include "platform/monitors.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <utility>

namespace platform {
namespace {

constexpr char WatcherClass[] = "QuorzaneMonitorWatcher";

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list)
{
    reinterpret_cast<std::vector<MonitorRect>*>(list)->push_back(
        {area->left, area->top, area->right - area->left, area->bottom - area->top});
    return TRUE;
}

struct MonitorWatch {
    std::function<void()> changed;
    HWND window = nullptr;
};

MonitorWatch& Watch()
{
    static MonitorWatch watch;
    return watch;
}

LRESULT CALLBACK WatcherProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DISPLAYCHANGE && Watch().changed)
        Watch().changed();
    return DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace

std::vector<MonitorRect> GetMonitorRects()
{
    std::vector<MonitorRect> monitors;
    if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors)))
        return {};
    return monitors;
}

void WatchMonitors(std::function<void()> changed)
{
    MonitorWatch& watch = Watch();
    watch.changed = std::move(changed);
    if (!watch.window)
        watch.window = win32::CreateHiddenWindow(WatcherClass, WatcherProcedure);
}

void StopWatchingMonitors()
{
    MonitorWatch& watch = Watch();
    watch.changed = nullptr;
    if (watch.window)
        DestroyWindow(watch.window);
    watch.window = nullptr;
}

} // namespace platform
