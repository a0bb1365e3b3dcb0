// The cursor operations of the platform layer, from whichever source is in
// use: a compositor's (see wayland_notice.cpp, which picks it at start) or
// the X server's.

#include "platform/linux/wayland/pointer_source.h"

#include "platform/cursor.h"
#include "platform/linux/x11/monitors_x11.h"
#include "platform/linux/x11/pointer_x11.h"
#include "platform/monitors.h"
#include "platform/pointer_activity.h"

#include <QPointer>

#include <utility>

namespace platform {
namespace {

QPointer<CompositorPointer>& InUse()
{
    static QPointer<CompositorPointer> source;
    return source;
}

} // namespace

void UseCompositorPointer(CompositorPointer* source)
{
    InUse() = source;
    x11::NoteMonitorsChanged();
}

CompositorPointer* CompositorPointerInUse() { return InUse().data(); }

bool GetCursorPos(Point& position)
{
    if (const CompositorPointer* source = CompositorPointerInUse())
        return source->Position(position);
    return x11::QueryCursorPos(position);
}

// In a Wayland session XWayland's monitors are the compositor's outputs, in
// the global coordinates that a bridge reports the pointer in; corner
// surfaces see only the primary screen's corners, which stay in use then, as
// they do without any source (XWayland sees the pointer over its own windows
// alone).
std::vector<MonitorRect> GetMonitorRects()
{
    if (!InWaylandSession())
        return x11::MonitorRects();
    const CompositorPointer* source = CompositorPointerInUse();
    return source && source->SeesShakes() ? x11::MonitorRects() : std::vector<MonitorRect>{};
}

void CheckPointerSource()
{
    if (CompositorPointer* source = CompositorPointerInUse())
        source->CheckStillRunning();
}

bool WatchPointerRest(const Point& restingAt, std::function<void()> moved)
{
    if (CompositorPointer* source = CompositorPointerInUse()) {
        source->WatchRest(restingAt, std::move(moved));
        return true;
    }
    return x11::WatchPointerRest(restingAt, std::move(moved));
}

void StopWatchingPointer()
{
    if (CompositorPointer* source = CompositorPointerInUse())
        source->StopWatching();
    else
        x11::StopWatchingPointer();
}

} // namespace platform
