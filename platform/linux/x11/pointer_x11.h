#pragma once
// The pointer as the X server sees it. In an X11 session this is the
// program's cursor; in a Wayland session XWayland sees the pointer only over
// X11 windows, and the compositor's report may stand in for it (see
// platform/linux/wayland/pointer_source.cpp).

#include "platform/cursor.h"

#include <QPoint>

#include <functional>

namespace platform::x11 {

// The pointer relative to the primary screen; false where it cannot be read.
bool QueryCursorPos(Point& position);

// Whether a mouse button was down at the last cursor query that succeeded;
// false before the first. It costs no request of its own: the detection tick
// queries the cursor anyway.
bool PointerButtonsHeld();

// The primary screen's top-left corner in pixels of the X root window, from
// which positions count.
QPoint PrimaryScreenOrigin();

// Pointer activity from the X server, as platform::WatchPointerRest and
// platform::StopWatchingPointer describe it.
bool WatchPointerRest(const Point& restingAt, std::function<void()> moved);
void StopWatchingPointer();

} // namespace platform::x11
