// Requests to end the program on Windows: the end of the session reaches a
// hidden top-level window as WM_QUERYENDSESSION and WM_ENDSESSION; the
// console's control events (Ctrl+C, closing the console, log-off, shut-down)
// arrive on a thread of the system's and are posted to that window, so that
// they are handled on the user-interface thread. The system may end the
// process as soon as WM_ENDSESSION or a closing console's handler returns,
// so those save the settings before they return.

#include "platform/termination.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <atomic>
#include <utility>

namespace platform {
namespace {

constexpr char WatcherClass[] = "QuorzaneTerminationWatcher";
constexpr UINT TerminationRequest = WM_APP + 1;
// lParam: an event that the console's handler waits on until the settings
// are saved.
constexpr UINT SessionEndRequest = WM_APP + 2;
// How long a closing console's handler waits for the save; the system ends
// the process after about five seconds anyway.
constexpr DWORD SaveWaitMs = 4000;

TerminationHandlers& Callbacks()
{
    static TerminationHandlers handlers;
    return handlers;
}

void SaveAndEnd()
{
    Callbacks().saveNow();
    Callbacks().endWithoutAsking();
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
    const TerminationHandlers& handlers = Callbacks();
    switch (msg) {
    case WM_QUERYENDSESSION:
        return handlers.mayEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wParam)
            SaveAndEnd();
        return 0;
    case TerminationRequest:
        handlers.endWithoutAsking();
        return 0;
    case SessionEndRequest:
        Callbacks().saveNow();
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        handlers.endWithoutAsking();
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

// The process ends when the handler of these returns.
bool EndsTheProcess(DWORD event)
{
    return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

// Hands the request to the user-interface thread; for an event that ends the
// process, waits until the settings are saved there.
void RequestFromConsole(HWND window, DWORD event)
{
    if (!EndsTheProcess(event)) {
        PostMessageA(window, TerminationRequest, 0, 0);
        return;
    }
    const HANDLE saved = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!saved || !PostMessageA(window, SessionEndRequest, 0, reinterpret_cast<LPARAM>(saved)))
        return;
    // After a time-out the window's thread may still set it: the handle is
    // then left to the process's end, which comes next.
    if (::WaitForSingleObject(saved, SaveWaitMs) == WAIT_OBJECT_0)
        ::CloseHandle(saved);
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
            RequestFromConsole(window, event);
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

void WatchTerminationRequests(TerminationHandlers handlers)
{
    Callbacks() = std::move(handlers);
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
