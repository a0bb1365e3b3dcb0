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

void UseCompositorPointer(CompositorPointer* source) { InUse() = source; }

CompositorPointer* CompositorPointerInUse() { return InUse().data(); }

bool GetCursorPos(Point& position)
{
    if (const CompositorPointer* source = CompositorPointerInUse())
        return source->Position(position);
    return x11::QueryCursorPos(position);
}

// In a Wayland session the pointer may come from the compositor, in its own
// coordinates and, from corner surfaces, only on the primary screen's
// corners; the source may change while the program runs. The primary
// screen's corners stay in use there.
std::vector<MonitorRect> GetMonitorRects()
{
    if (InWaylandSession())
        return {};
    return x11::MonitorRects();
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
