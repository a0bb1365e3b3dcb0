#pragma once
// The corners of every monitor as they stand: the map is made from the
// monitors at construction and made again at each change the system reports,
// so that the detection tick reads it without asking the system.

#include "detection/corner_map.h"

class TMonitorCorners {
public:
    TMonitorCorners();
    // Stops following the monitors.
    ~TMonitorCorners();
    TMonitorCorners(const TMonitorCorners&) = delete;
    TMonitorCorners& operator=(const TMonitorCorners&) = delete;

    // Empty where the monitors cannot be told.
    const TCornerMap& Map() const { return map_; }

private:
    void Refresh();

    TCornerMap map_;
};
