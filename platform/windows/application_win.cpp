#include "platform/application.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

namespace platform {

void ProcessMessages()
{
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // A quit request is for the program's own loop: it goes back into
        // the queue, and the handling stops here.
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

void SetForegroundWindow()
{
    if (const HWND window = win32::ApplicationWindow())
        ::SetForegroundWindow(window);
}

} // namespace platform
