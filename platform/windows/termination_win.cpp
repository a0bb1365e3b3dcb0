// Requests to end the program on Windows: the end of the session reaches a
// hidden top-level window as WM_QUERYENDSESSION and WM_ENDSESSION; the
// console's control events (Ctrl+C, closing the console, log-off, shut-down)
// arrive on a thread of the system's and are posted to that window, so that
// they are handled on the user-interface thread.

#include "platform/termination.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <atomic>
#include <utility>

namespace platform {
namespace {

constexpr char WatcherClass[] = "QuorzaneTerminationWatcher";
constexpr UINT TerminationRequest = WM_APP + 1;

struct Watch {
    std::function<void()> onRequest;
    std::function<bool()> mayEndSession;
};

Watch& Callbacks()
{
    static Watch watch;
    return watch;
}

// The window that the control handler's thread posts to, once it exists.
std::atomic<HWND>& WatcherWindow()
{
    static std::atomic<HWND> window{nullptr};
    return window;
}

// A control event that came before the window.
std::atomic<bool>& RequestHeld()
{
    static std::atomic<bool> held{false};
    return held;
}

LRESULT CALLBACK WatcherProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const Watch& watch = Callbacks();
    switch (msg) {
    case WM_QUERYENDSESSION:
        return watch.mayEndSession && !watch.mayEndSession() ? FALSE : TRUE;
    case WM_ENDSESSION:
        if (wParam && watch.onRequest)
            watch.onRequest();
        return 0;
    case TerminationRequest:
        if (watch.onRequest)
            watch.onRequest();
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

BOOL WINAPI ControlHandler(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (const HWND window = WatcherWindow().load())
            PostMessageA(window, TerminationRequest, 0, 0);
        else
            RequestHeld() = true;
        return TRUE;
    default:
        return FALSE;
    }
}

void InstallControlHandler()
{
    [[maybe_unused]] static const bool installed = SetConsoleCtrlHandler(ControlHandler, TRUE) != 0;
}

} // namespace

void HoldTerminationRequests() { InstallControlHandler(); }

void WatchTerminationRequests(std::function<void()> onRequest, std::function<bool()> mayEndSession)
{
    Callbacks() = {std::move(onRequest), std::move(mayEndSession)};
    const HWND window = win32::CreateHiddenWindow(WatcherClass, WatcherProcedure);
    if (!window)
        return;
    WatcherWindow() = window;
    InstallControlHandler();
    // A request that came while it was held is handled now, from the loop.
    if (RequestHeld().exchange(false))
        PostMessageA(window, TerminationRequest, 0, 0);
}

} // namespace platform
