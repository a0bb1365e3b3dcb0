#pragma once
// Hidden top-level windows of this program: the application window that
// other copies find by its class and title, and the windows that receive the
// system's broadcasts and the layer's own messages.

#include "platform/windows/win32.h"

#include <functional>

namespace platform::win32 {

// Registers the window class `className` (once) with `procedure`, and makes a
// hidden, zero-sized top-level window of it that stays off the task bar.
// Nullptr when the window cannot be made.
HWND CreateHiddenWindow(const char* className, WNDPROC procedure, const char* title = "");

// This program's application window, of class "TApplication", made at the
// first call; nullptr when it cannot be made. It stays hidden: another
// program that shows it or brings it to the top calls `comeForward` instead,
// from the message loop.
HWND ApplicationWindow();
void SetApplicationWindowForwardHandler(std::function<void()> comeForward);

} // namespace platform::win32
