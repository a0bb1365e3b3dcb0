// Top-level windows found by class and title through the system, and this
// program's hidden application window.

#include "platform/window.h"

#include "platform/windows/hidden_window.h"
#include "platform/windows/win32.h"

#include <utility>
#include <vector>

namespace platform {

WindowHandle FindWindow(const std::string& className, const std::string& title)
{
    return win32::FromHwnd(FindWindowA(className.c_str(), title.c_str()));
}

bool IsIconic(WindowHandle window) { return ::IsIconic(win32::ToHwnd(window)) != 0; }

bool ShowWindow(WindowHandle window, ShowCommand command)
{
    const HWND handle = win32::ToHwnd(window);
    if (command != ShowCommand::Restore || !IsWindow(handle))
        return false;
    // The result tells whether the window was visible before, not whether
    // the request was taken.
    ::ShowWindow(handle, SW_RESTORE);
    return IsWindow(handle) != 0;
}

bool BringWindowToTop(WindowHandle window) { return ::BringWindowToTop(win32::ToHwnd(window)) != 0; }

std::string GetApplicationWindowText()
{
    const HWND window = win32::ApplicationWindow();
    const int length = window ? GetWindowTextLengthA(window) : 0;
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetApplicationWindowText(const std::string& text)
{
    if (const HWND window = win32::ApplicationWindow())
        SetWindowTextA(window, text.c_str());
}

void WhenApplicationWindowCalledForward(std::function<void()> comeForward)
{
    win32::SetApplicationWindowForwardHandler(std::move(comeForward));
}

} // namespace platform
