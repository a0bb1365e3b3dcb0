// A message window is a hidden top-level window of the program's own class,
// whose procedure hands every message to the window's handler. The handlers
// live in a table by window, so that a destroyed window's late messages find
// none.

#include "platform/messagewindow.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <map>
#include <memory>

namespace platform {
namespace {

constexpr char MessageWindowClass[] = "QuorzaneMessageWindow";

using HandlerTable = std::map<HWND, std::shared_ptr<MessageHandler>>;

HandlerTable& Handlers()
{
    static HandlerTable handlers;
    return handlers;
}

LRESULT CALLBACK MessageWindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto found = Handlers().find(window);
    // Messages of the window's creation come before its handler.
    if (found == Handlers().end())
        return ::DefWindowProcA(window, msg, wParam, lParam);
    // Held for the call, so that a handler may destroy its own window.
    const std::shared_ptr<MessageHandler> handler = found->second;
    TMessage message{msg, wParam, lParam, 0};
    (*handler)(message);
    return message.Result;
}

} // namespace

WindowHandle AllocateHWnd(MessageHandler handler)
{
    const HWND window = win32::CreateHiddenWindow(MessageWindowClass, MessageWindowProcedure);
    if (!window)
        return 0;
    Handlers()[window] = std::make_shared<MessageHandler>(std::move(handler));
    return win32::FromHwnd(window);
}

void DeallocateHWnd(WindowHandle window)
{
    const HWND handle = win32::ToHwnd(window);
    if (Handlers().erase(handle) != 0)
        DestroyWindow(handle);
}

bool PostMessageA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    // The system takes no window as this thread's queue.
    return window != 0 && ::PostMessageA(win32::ToHwnd(window), msg, wParam, lParam) != 0;
}

std::intptr_t DefWindowProcA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    return ::DefWindowProcA(win32::ToHwnd(window), msg, wParam, lParam);
}

} // namespace platform
