#pragma once
// The corner pixels of a desktop of several monitors: each monitor's four
// outer corners where the edge of the desktop stops the pointer. A corner on
// a seam, where the pointer could go on into another monitor (straight or
// diagonally), is no corner.

#include "detection/mousedetect.h"
#include "platform/monitors.h"

#include <vector>

class TCornerMap {
public:
    // No monitors: no corners.
    TCornerMap() = default;
    explicit TCornerMap(const std::vector<platform::MonitorRect>& monitors);

    bool Empty() const { return corners_.empty(); }

    // The corner event of `pixel`: EventUpperLeftCorner .. EventLowerRightCorner
    // on a monitor's outer corner, NoEvent anywhere else.
    TEventNumber CornerAt(const platform::Point& pixel) const;

    // Whether a fired corner stays latched with the cursor at `point`: on any
    // of the corners, so that going straight from one corner to another does
    // not fire again, while moving along an edge lets go.
    bool InCornerRegion(const platform::Point& point) const { return CornerAt(point) != NoEvent; }

private:
    struct TCorner {
        platform::Point pixel;
        TEventNumber event;
    };
    std::vector<TCorner> corners_;
};
