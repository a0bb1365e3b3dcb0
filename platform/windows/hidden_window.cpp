#include "platform/windows/hidden_window.h"

#include "platform/window.h"

#include <utility>

namespace platform::win32 {
namespace {

// Posted by the application window to itself, so that the handler runs from
// the loop and not inside another program's call.
constexpr UINT CalledForward = WM_APP + 3;

std::function<void()>& ForwardHandler()
{
    static std::function<void()> handler;
    return handler;
}

// Another copy's ShowWindow shows the window; its BringWindowToTop changes
// the window order from another thread. Neither may show the window, which has
// no size and stands for the program: the handler shows the program's own
// windows instead. The program's own foreground requests come from this
// thread and call nothing.
LRESULT CALLBACK ApplicationWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING) {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        const bool shown = (position->flags & SWP_SHOWWINDOW) != 0;
        const bool raisedByAnother = (position->flags & SWP_NOZORDER) == 0 && InSendMessage();
        position->flags &= ~SWP_SHOWWINDOW;
        if (shown || raisedByAnother)
            PostMessageA(window, CalledForward, 0, 0);
    }
    if (message == CalledForward) {
        if (const std::function<void()>& handler = ForwardHandler())
            handler();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterClassOnce(const char* className, WNDPROC procedure)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, className, &existing))
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

HWND CreateHiddenWindow(const char* className, WNDPROC procedure, const char* title)
{
    if (!RegisterClassOnce(className, procedure))
        return nullptr;
    return CreateWindowExA(WS_EX_TOOLWINDOW, className, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND ApplicationWindow()
{
    // Made once and kept until the program ends, as the application's own.
    static const HWND window = CreateHiddenWindow(ApplicationWindowClass, ApplicationWindowProcedure);
    return window;
}

void SetApplicationWindowForwardHandler(std::function<void()> comeForward)
{
    ForwardHandler() = std::move(comeForward);
}

} // namespace platform::win32
