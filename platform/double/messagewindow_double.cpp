#include "platform/double/messagewindow_double.h"

#include <algorithm>
#include <deque>
#include <map>

namespace platform {
namespace {
struct FakeMessageWindowState {
    std::map<WindowHandle, MessageHandler> windows;
    WindowHandle lastWindow = 0;
    std::vector<fake::PostedMessage> posted;
    std::deque<fake::PostedMessage> queue;
    int defWindowProcCalls = 0;
    std::intptr_t defWindowProcResult = 0;
};
FakeMessageWindowState state;
} // namespace

WindowHandle AllocateHWnd(MessageHandler handler)
{
    const WindowHandle window = state.lastWindow + 1;
    state.lastWindow = window;
    state.windows[window] = std::move(handler);
    return window;
}

void DeallocateHWnd(WindowHandle window)
{
    state.windows.erase(window);
    std::erase_if(state.queue, [window](const fake::PostedMessage& m) { return m.window == window; });
}

bool PostMessageA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (!state.windows.contains(window))
        return false;
    state.posted.push_back({window, msg, wParam, lParam});
    state.queue.push_back(state.posted.back());
    return true;
}

std::intptr_t DefWindowProcA(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)
{
    ++state.defWindowProcCalls;
    return state.defWindowProcResult;
}

namespace fake {

const std::vector<PostedMessage>& PostedMessages() { return state.posted; }

std::intptr_t SendToWindow(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    const auto found = state.windows.find(window);
    if (found == state.windows.end())
        return 0;
    // A copy, so that a handler may destroy its own window.
    const MessageHandler handler = found->second;
    TMessage message{msg, wParam, lParam, 0};
    handler(message);
    return message.Result;
}

int DeliverPostedMessages()
{
    int delivered = 0;
    while (!state.queue.empty()) {
        const PostedMessage next = state.queue.front();
        state.queue.pop_front();
        SendToWindow(next.window, next.msg, next.wParam, next.lParam);
        ++delivered;
    }
    return delivered;
}

int LiveWindows() { return static_cast<int>(state.windows.size()); }
WindowHandle LastWindow() { return state.lastWindow; }
int DefWindowProcCalls() { return state.defWindowProcCalls; }
void SetDefWindowProcResult(std::intptr_t result) { state.defWindowProcResult = result; }
void ResetMessageWindows() { state = FakeMessageWindowState{}; }

} // namespace fake
} // namespace platform
