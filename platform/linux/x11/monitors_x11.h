#pragma once
// The monitors as the X server sees them. In a Wayland session a
// compositor's source may stand in for the X server's pointer, and then for
// these too (see platform/linux/wayland/pointer_source.cpp).

#include "platform/monitors.h"

#include <vector>

namespace platform::x11 {

// RandR's monitors relative to the primary screen, as platform::GetMonitorRects
// describes them.
std::vector<MonitorRect> MonitorRects();

// Tells the watcher that the monitors may read differently now (another
// source of the pointer came into use).
void NoteMonitorsChanged();

} // namespace platform::x11
