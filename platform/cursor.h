#pragma once
// Cursor and screen: where the mouse cursor is and how large the primary
// screen is, in screen pixels with the origin at the top-left corner.

#include <cstdint>

namespace platform {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Reads the cursor position into `position`. Returns false, leaving
// `position` untouched, when the position cannot be read.
bool GetCursorPos(Point& position);

enum class SystemMetric { ScreenWidth, ScreenHeight };

// The primary screen's width or height in pixels, asked afresh on each call.
std::int32_t GetSystemMetrics(SystemMetric metric);

} // namespace platform
