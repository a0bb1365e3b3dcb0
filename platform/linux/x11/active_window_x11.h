#pragma once
// The active window as the X11 window manager reports it.

#include "platform/foreground.h"

namespace platform::x11 {

// The window that the root's _NET_ACTIVE_WINDOW names: whether its
// _NET_WM_STATE holds _NET_WM_STATE_FULLSCREEN, and the class part of its
// WM_CLASS. Following starts at the first call; nothing without a window
// manager that tells, or without a display.
ForegroundWindow ActiveWindow();

} // namespace platform::x11
