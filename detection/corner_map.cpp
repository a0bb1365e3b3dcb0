#include "detection/corner_map.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Positions are compared in 64 bits, so that a monitor at the end of the
// coordinate range cannot overflow its neighbours' positions.
struct TPixel {
    std::int64_t x;
    std::int64_t y;
};

bool Contains(const platform::MonitorRect& monitor, const TPixel& pixel)
{
    return monitor.x <= pixel.x && pixel.x < std::int64_t{monitor.x} + monitor.width && monitor.y <= pixel.y &&
           pixel.y < std::int64_t{monitor.y} + monitor.height;
}

bool OnAnyMonitor(const std::vector<platform::MonitorRect>& monitors, const TPixel& pixel)
{
    return std::any_of(monitors.begin(), monitors.end(),
                       [&pixel](const platform::MonitorRect& monitor) { return Contains(monitor, pixel); });
}

// A corner counts when the pointer can go on from it neither sideways, nor
// up or down, nor diagonally: all three neighbours beyond it are off the
// desktop. `outward` is the corner's direction, -1 or +1 on each axis.
bool StopsThePointer(const std::vector<platform::MonitorRect>& monitors, const TPixel& corner, const TPixel& outward)
{
    const TPixel beyond[] = {
        {corner.x + outward.x, corner.y},
        {corner.x, corner.y + outward.y},
        {corner.x + outward.x, corner.y + outward.y},
    };
    return std::none_of(std::begin(beyond), std::end(beyond),
                        [&monitors](const TPixel& pixel) { return OnAnyMonitor(monitors, pixel); });
}

bool FitsAPoint(const TPixel& pixel)
{
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return lowest <= pixel.x && pixel.x <= highest && lowest <= pixel.y && pixel.y <= highest;
}

} // namespace

TCornerMap::TCornerMap(const std::vector<platform::MonitorRect>& monitors)
{
    for (const platform::MonitorRect& monitor : monitors) {
        if (monitor.width <= 0 || monitor.height <= 0)
            continue;
        const std::int64_t left = monitor.x;
        const std::int64_t top = monitor.y;
        const std::int64_t right = left + monitor.width - 1;
        const std::int64_t bottom = top + monitor.height - 1;
        // In the order in which a single screen's corners are tested, for a
        // monitor one pixel wide or high.
        const struct {
            TPixel pixel;
            TPixel outward;
            TEventNumber event;
        } candidates[] = {
            {{left, top}, {-1, -1}, EventUpperLeftCorner},
            {{right, top}, {+1, -1}, EventUpperRightCorner},
            {{left, bottom}, {-1, +1}, EventLowerLeftCorner},
            {{right, bottom}, {+1, +1}, EventLowerRightCorner},
        };
        for (const auto& candidate : candidates) {
            if (FitsAPoint(candidate.pixel) && StopsThePointer(monitors, candidate.pixel, candidate.outward))
                corners_.push_back({{static_cast<std::int32_t>(candidate.pixel.x),
                                     static_cast<std::int32_t>(candidate.pixel.y)},
                                    candidate.event});
        }
    }
}

TEventNumber TCornerMap::CornerAt(const platform::Point& pixel) const
{
    const auto found = std::find_if(corners_.begin(), corners_.end(), [&pixel](const TCorner& corner) {
        return corner.pixel.x == pixel.x && corner.pixel.y == pixel.y;
    });
    return found == corners_.end() ? TEventNumber{NoEvent} : found->event;
}
