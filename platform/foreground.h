#pragma once
// What the user is doing besides moving the mouse: whether a button is down,
// and which window is in front. The rules against unmeant patterns look at
// them when a pattern completes.

#include <string>

namespace platform {

// Whether any mouse button is down now; false where nobody tells.
bool AnyPointerButtonHeld();

struct ForegroundWindow {
    bool fullScreen = false;
    // The window's class (on X11 the class part of WM_CLASS); empty where
    // nobody tells.
    std::string windowClass;
};

// The active window as the desktop last reported it (followed by events,
// never polled); no class and not full screen where nobody tells.
ForegroundWindow GetForegroundWindow();

} // namespace platform
