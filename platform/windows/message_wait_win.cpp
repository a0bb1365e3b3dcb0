// The thread's message queue as the launcher's waiting loop takes it: one
// message at a time, and a sleep that ends with the process or with the next
// message.

#include "platform/process.h"

#include "platform/windows/win32.h"

namespace platform {
namespace {

MSG SystemMessage(const QueuedMessage& message)
{
    MSG msg{};
    msg.hwnd = win32::ToHwnd(message.window);
    msg.message = message.id;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    msg.pt = {message.x, message.y};
    return msg;
}

} // namespace

bool PeekQueuedMessage(QueuedMessage& message)
{
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    message.window = win32::FromHwnd(msg.hwnd);
    message.id = msg.message;
    message.wParam = msg.wParam;
    message.lParam = msg.lParam;
    message.time = msg.time;
    message.x = msg.pt.x;
    message.y = msg.pt.y;
    return true;
}

void DispatchQueuedMessage(const QueuedMessage& message)
{
    const MSG msg = SystemMessage(message);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

std::uint32_t WaitForProcessOrMessage(Handle process)
{
    const HANDLE handle = win32::ToHandle(process);
    // Messages that arrived before the call count as well, not only new ones.
    const DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0)
        return WaitObject0;
    if (result == WAIT_OBJECT_0 + 1)
        return WaitMessageQueued;
    return WaitFailed;
}

} // namespace platform
