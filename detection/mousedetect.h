#pragma once
// The gesture recogniser: a sliding history of the last ten cursor samples,
// turned on each detection tick into a pattern event.

#include "platform/cursor.h"

#include <array>
#include <cstdint>
#include <functional>

// 0 when nothing completed; 1..8 for the patterns, in this order:
enum : std::uint8_t {
    NoEvent = 0,
    EventLeftRightLeft = 1,
    EventRightLeftRight = 2,
    EventUpDownUp = 3,
    EventDownUpDown = 4,
    EventUpperLeftCorner = 5,
    EventLowerLeftCorner = 6,
    EventUpperRightCorner = 7,
    EventLowerRightCorner = 8,
};
using TEventNumber = std::uint8_t;

class TCornerMap;

inline constexpr int HistoryLength = 10;
// Time charged per sample step between a shake's first and third crossing.
inline constexpr std::int32_t ChargePerSampleStep = 25;
// The detection timer's interval as the hidden main form is designed.
inline constexpr std::int32_t DesignedDetectionInterval = 50;

using THistory = std::array<std::int32_t, HistoryLength>;

// The recogniser's state; slot 0 holds the oldest sample, slot 9 the newest.
extern THistory HistoryX;
extern THistory HistoryY;
extern bool CornerLatched;
extern std::int32_t CornerDwell;

// Fills both histories with the current cursor position (keeping them as they
// are when it cannot be read), clears the latch and the dwell time.
void ResetMouseHistory();

// Records one cursor sample and reports the pattern it completes, if any.
// Thresholds of any value are used as they are.
TEventNumber DetectMousePattern(std::int32_t Distance, std::int32_t Time, std::int32_t CornerWait);

// Whether any cursor position could leave the state as it is at the next
// tick: the latched state, or a history of ten equal samples with no dwell
// time. Cheap, and needs no cursor read.
bool MouseDetectSettled();

// Whether a tick with the cursor at `cursor` would report nothing and change
// nothing, whatever the thresholds; then neither would any later tick while
// the cursor stays there, so the ticks may pause until it moves. True when
// latched and `cursor` is in the corner region, or when the ten samples all
// equal `cursor`, off the corner pixels, with no dwell time.
bool MouseDetectInertAt(const platform::Point& cursor);

// Tells the recogniser how to read the detection timer's interval in force,
// which a corner tick adds to the dwell time. Without a reader it is
// DesignedDetectionInterval.
void SetDetectionIntervalReader(std::function<std::int32_t()> reader);

// Tells the recogniser where the corner pixels are: the map that the reader
// returns, or the primary screen's four corners when it returns nullptr or
// an empty map. Without a reader, the primary screen's.
void SetCornerMapReader(std::function<const TCornerMap*()> reader);
