#pragma once
// Where a popup window goes near a point, for the menus and the balloons.

#include <QPoint>
#include <QSize>

#include <cstdint>

namespace platform {

// Screen pixels of the primary screen, as the cursor group and Xlib give
// them, in Qt's global coordinates.
QPoint GlobalPoint(std::int32_t x, std::int32_t y);

// The top left of a popup of `size` for the point `at`, aligned as the
// TpmLeftAlign/TpmCenterAlign/TpmRightAlign flags say. A popup that does not
// fit below the point opens above it, as one from a tray at the bottom of the
// screen should; then it is moved as little as needed to stay on the screen.
QPoint PopupTopLeft(std::uint32_t flags, QPoint at, QSize size);

} // namespace platform
