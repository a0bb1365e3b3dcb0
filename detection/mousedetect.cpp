#include "detection/mousedetect.h"

#include "detection/corner_map.h"

#include <algorithm>
#include <limits>
#include <utility>

THistory HistoryX;
THistory HistoryY;
bool CornerLatched = false;
std::int32_t CornerDwell = 0;

namespace {

std::function<std::int32_t()> IntervalReader;
std::function<const TCornerMap*()> CornerMapReader;

using platform::SystemMetric;

// Screen edges are compared in 64 bits, so that no screen size or position
// can overflow.
std::int64_t LastColumn() { return std::int64_t{platform::GetSystemMetrics(SystemMetric::ScreenWidth)} - 1; }
std::int64_t LastRow() { return std::int64_t{platform::GetSystemMetrics(SystemMetric::ScreenHeight)} - 1; }

std::int32_t DetectionInterval() { return IntervalReader ? IntervalReader() : DesignedDetectionInterval; }

// The monitors' corners when they are in use; nullptr for the primary
// screen's.
const TCornerMap* MonitorCorners()
{
    const TCornerMap* map = CornerMapReader ? CornerMapReader() : nullptr;
    return map && !map->Empty() ? map : nullptr;
}

// Leaves the latched state once either coordinate is strictly inside its
// range; on the monitors' corners, once the cursor is off them.
void ReleaseLatchOutsideCorner(const platform::Point& cursor)
{
    if (const TCornerMap* map = MonitorCorners()) {
        if (!map->InCornerRegion(cursor))
            CornerLatched = false;
        return;
    }
    if (0 < cursor.x && cursor.x < LastColumn())
        CornerLatched = false;
    if (0 < cursor.y && cursor.y < LastRow())
        CornerLatched = false;
}

void RecordSample(const platform::Point& cursor)
{
    std::shift_left(HistoryX.begin(), HistoryX.end(), 1);
    std::shift_left(HistoryY.begin(), HistoryY.end(), 1);
    HistoryX.back() = cursor.x;
    HistoryY.back() = cursor.y;
}

// How far the cursor went from `from` to `to` in the direction of the first
// leg: `direction` is +1 when the first leg decreases the coordinate (left,
// up) and -1 when it increases it (right, down).
std::int64_t Travel(std::int32_t from, std::int32_t to, int direction)
{
    return direction * (std::int64_t{from} - to);
}

// Finds the three crossings of a shake in the window and applies the speed
// test. Each search stops at the first slot that passes its leg.
bool ShakeCompleted(const THistory& axis, int direction, std::int32_t distance, std::int32_t time)
{
    int i = 0;
    while (i < HistoryLength && !(Travel(axis[0], axis[i], direction) > distance))
        ++i;
    int j = i;
    while (j < HistoryLength && !(-Travel(axis[i], axis[j], direction) > distance))
        ++j;
    int k = j;
    while (k < HistoryLength && !(Travel(axis[j], axis[k], direction) > distance))
        ++k;
    if (k >= HistoryLength || k == 0)
        return false;
    return std::int64_t{k - i} * ChargePerSampleStep <= time;
}

// Every leg of a shake is the difference of two samples in the window, so
// an axis whose samples all lie within `distance` of each other holds none.
bool SpreadExceeds(const THistory& axis, std::int32_t distance)
{
    const auto [lowest, highest] = std::minmax_element(axis.begin(), axis.end());
    return std::int64_t{*highest} - *lowest > distance;
}

TEventNumber DetectShake(std::int32_t distance, std::int32_t time)
{
    struct ShakeTest {
        TEventNumber event;
        const THistory& axis;
        bool axisMoved;
        int direction;
    };
    const bool xMoved = SpreadExceeds(HistoryX, distance);
    const bool yMoved = SpreadExceeds(HistoryY, distance);
    const ShakeTest tests[] = {
        {EventLeftRightLeft, HistoryX, xMoved, +1},
        {EventRightLeftRight, HistoryX, xMoved, -1},
        {EventUpDownUp, HistoryY, yMoved, +1},
        {EventDownUpDown, HistoryY, yMoved, -1},
    };
    for (const ShakeTest& test : tests) {
        if (test.axisMoved && ShakeCompleted(test.axis, test.direction, distance, time))
            return test.event;
    }
    return NoEvent;
}

// Where the latch holds: x and y each on or beyond an edge.
bool InCornerRegion(const platform::Point& cursor)
{
    if (const TCornerMap* map = MonitorCorners())
        return map->InCornerRegion(cursor);
    const bool xAtEdge = cursor.x <= 0 || cursor.x >= LastColumn();
    const bool yAtEdge = cursor.y <= 0 || cursor.y >= LastRow();
    return xAtEdge && yAtEdge;
}

bool AllSamplesAre(const THistory& axis, std::int32_t value)
{
    return std::all_of(axis.begin(), axis.end(), [value](std::int32_t sample) { return sample == value; });
}

TEventNumber CornerUnder(const platform::Point& cursor)
{
    if (const TCornerMap* map = MonitorCorners())
        return map->CornerAt(cursor);
    if (cursor.x == 0 && cursor.y == 0)
        return EventUpperLeftCorner;
    if (cursor.x == LastColumn() && cursor.y == 0)
        return EventUpperRightCorner;
    if (cursor.x == 0 && cursor.y == LastRow())
        return EventLowerLeftCorner;
    if (cursor.x == LastColumn() && cursor.y == LastRow())
        return EventLowerRightCorner;
    return NoEvent;
}

// Dwell time saturates instead of overflowing under a huge interval.
std::int32_t AddDwell(std::int32_t dwell, std::int32_t interval)
{
    const std::int64_t sum = std::int64_t{dwell} + interval;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

TEventNumber DetectCorner(const platform::Point& cursor, std::int32_t cornerWait)
{
    const TEventNumber corner = CornerUnder(cursor);
    if (corner == NoEvent) {
        CornerDwell = 0;
        return NoEvent;
    }
    CornerDwell = AddDwell(CornerDwell, DetectionInterval());
    if (CornerDwell < cornerWait)
        return NoEvent;
    ResetMouseHistory();
    CornerLatched = true;
    CornerDwell = 0;
    return corner;
}

} // namespace

void ResetMouseHistory()
{
    if (platform::Point cursor; platform::GetCursorPos(cursor)) {
        HistoryX.fill(cursor.x);
        HistoryY.fill(cursor.y);
    }
    CornerLatched = false;
    CornerDwell = 0;
}

TEventNumber DetectMousePattern(std::int32_t Distance, std::int32_t Time, std::int32_t CornerWait)
{
    platform::Point cursor;
    if (!platform::GetCursorPos(cursor))
        return NoEvent;
    if (CornerLatched) {
        ReleaseLatchOutsideCorner(cursor);
        return NoEvent;
    }
    RecordSample(cursor);
    if (const TEventNumber shake = DetectShake(Distance, Time); shake != NoEvent) {
        ResetMouseHistory();
        return shake;
    }
    return DetectCorner(cursor, CornerWait);
}

bool MouseDetectSettled()
{
    if (CornerLatched)
        return true;
    return CornerDwell == 0 && AllSamplesAre(HistoryX, HistoryX.back()) && AllSamplesAre(HistoryY, HistoryY.back());
}

bool MouseDetectInertAt(const platform::Point& cursor)
{
    if (CornerLatched)
        return InCornerRegion(cursor);
    return CornerDwell == 0 && AllSamplesAre(HistoryX, cursor.x) && AllSamplesAre(HistoryY, cursor.y) &&
           CornerUnder(cursor) == NoEvent;
}

void SetDetectionIntervalReader(std::function<std::int32_t()> reader) { IntervalReader = std::move(reader); }

void SetCornerMapReader(std::function<const TCornerMap*()> reader) { CornerMapReader = std::move(reader); }
