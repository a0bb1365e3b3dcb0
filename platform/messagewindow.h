#pragma once
// Message windows: hidden receivers whose messages are handed to a handler,
// one at a time, on the user-interface thread. Components use them for the
// notifications that the system and they themselves send.

#include <cstdint>
#include <functional>

namespace platform {

// Identifies a window; 0 is none.
using WindowHandle = std::uintptr_t;

struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

using MessageHandler = std::function<void(TMessage& message)>;

// The first message number that a program may give its own meaning.
inline constexpr std::uint32_t WmUser = 0x0400;

// Mouse messages, as the notification-area shell reports them.
inline constexpr std::uint32_t WmMouseMove = 0x0200;
inline constexpr std::uint32_t WmLButtonDown = 0x0201;
inline constexpr std::uint32_t WmLButtonUp = 0x0202;
inline constexpr std::uint32_t WmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t WmRButtonDown = 0x0204;
inline constexpr std::uint32_t WmRButtonUp = 0x0205;
inline constexpr std::uint32_t WmMButtonUp = 0x0208;

// Creates a hidden window whose messages go to `handler`; 0 when no window
// can be made. The window lives until DeallocateHWnd.
WindowHandle AllocateHWnd(MessageHandler handler);

// Destroys the window; messages still queued for it are dropped and the
// handler is never called again. 0 and unknown windows are ignored.
void DeallocateHWnd(WindowHandle window);

// Queues a message for the window; the message loop hands it to the window's
// handler later, in the order of posting. False when there is no such window.
bool PostMessageA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

// The default handling of a message that a window's handler does not handle
// itself; returns the message's result.
std::intptr_t DefWindowProcA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

} // namespace platform
