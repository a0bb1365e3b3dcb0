#pragma once
// Test double of the message windows: windows are numbers, posted messages
// wait in one queue until the test delivers them, as the message loop would.

#include "platform/messagewindow.h"

#include <cstdint>
#include <vector>

namespace platform::fake {

struct PostedMessage {
    WindowHandle window = 0;
    std::uint32_t msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Every message posted to a live window so far, delivered or not.
const std::vector<PostedMessage>& PostedMessages();
// Hands the queued messages to their windows' handlers in order, including
// those posted meanwhile; returns how many were handed over.
int DeliverPostedMessages();
// Hands a message to the window's handler at once, as the system sends it;
// returns the message's result (0 for an unknown window).
std::intptr_t SendToWindow(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

int LiveWindows();
// The window made most recently, alive or not; 0 before the first.
WindowHandle LastWindow();

int DefWindowProcCalls();
void SetDefWindowProcResult(std::intptr_t result);

// No windows, nothing posted, the default procedure answering 0.
void ResetMessageWindows();

} // namespace platform::fake
