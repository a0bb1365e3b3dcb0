#include "detection/monitor_corners.h"

#include "platform/monitors.h"

TMonitorCorners::TMonitorCorners()
{
    Refresh();
    platform::WatchMonitors([this] { Refresh(); });
}

TMonitorCorners::~TMonitorCorners() { platform::StopWatchingMonitors(); }

void TMonitorCorners::Refresh() { map_ = TCornerMap(platform::GetMonitorRects()); }
