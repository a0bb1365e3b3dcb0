#include "platform/foreground.h"

#include "platform/windows/win32.h"

#include <array>

namespace platform {
namespace {

// The desktop is a window that covers its monitor too, and is never a
// full-screen program.
bool IsDesktop(HWND window) { return window == ::GetShellWindow() || window == ::GetDesktopWindow(); }

bool CoversItsMonitor(HWND window)
{
    RECT bounds{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetWindowRect(window, &bounds) ||
        !::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    return ::EqualRect(&bounds, &monitor.rcMonitor) != FALSE;
}

} // namespace

bool AnyPointerButtonHeld()
{
    // The high bit is the button's state now; the low bit is about earlier
    // presses, which do not count.
    for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
        if (::GetAsyncKeyState(button) & 0x8000)
            return true;
    }
    return false;
}

ForegroundWindow GetForegroundWindow()
{
    const HWND window = ::GetForegroundWindow();
    if (!window || IsDesktop(window))
        return {};
    std::array<char, 256> name{};
    const int length = ::GetClassNameA(window, name.data(), static_cast<int>(name.size()));
    return {CoversItsMonitor(window), std::string(name.data(), length > 0 ? static_cast<std::size_t>(length) : 0)};
}

} // namespace platform
