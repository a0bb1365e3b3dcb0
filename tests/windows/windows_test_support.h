#pragma once
// Helpers of the tests of the Windows platform layer: handling this thread's
// messages while waiting, and a stand-in for the task bar's notification
// area.

#include "platform/application.h"
#include "platform/windows/win32.h"

#include <shellapi.h>

#include <functional>
#include <vector>

namespace wintest {

// Handles this thread's messages until `done` holds or `timeoutMs` has
// passed (long enough for a loaded machine); the result is `done()` at the
// end. `object`, when given, also ends a sleep when it is signalled.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000, HANDLE object = nullptr)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        MsgWaitForMultipleObjectsEx(object ? 1 : 0, object ? &object : nullptr, static_cast<DWORD>(deadline - now),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        platform::ProcessMessages();
    }
    return true;
}

// A window of the task bar's class that takes the shell's icon requests in
// place of the task bar, as the system's shell hands them on: one
// WM_COPYDATA per request, whose data field is the request.
class FakeTaskBar {
public:
    FakeTaskBar()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = ClassName;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, ClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        Requests().clear();
    }
    ~FakeTaskBar() { DestroyWindow(window_); }
    FakeTaskBar(const FakeTaskBar&) = delete;
    FakeTaskBar& operator=(const FakeTaskBar&) = delete;

    // Whether another task bar runs, which would take the requests instead.
    static bool OtherTaskBarRuns() { return FindWindowA(ClassName, nullptr) != nullptr; }

    // The requests so far (NIM_ADD, NIM_MODIFY, NIM_DELETE).
    static std::vector<DWORD>& Requests()
    {
        static std::vector<DWORD> requests;
        return requests;
    }

    // What the task bar says to every window when it starts.
    static void AnnounceStart()
    {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        platform::ProcessMessages();
    }

private:
    static constexpr char ClassName[] = "Shell_TrayWnd";

    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_COPYDATA) {
            Requests().push_back(static_cast<DWORD>(reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData));
            return TRUE;
        }
        return DefWindowProcA(window, msg, wParam, lParam);
    }

    HWND window_ = nullptr;
};

} // namespace wintest
