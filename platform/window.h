#pragma once
// Windows of this user's programs, found by class name and title, and this
// program's own application window, under which other copies find it.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// A top-level window that the search found; NoWindow when none.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle NoWindow = 0;

// The class name of every program's application window.
inline constexpr char ApplicationWindowClass[] = "TApplication";

// The top-level window with this class name and title, both compared
// without regard to case, or NoWindow. This program's own application window
// is found as well.
WindowHandle FindWindow(const std::string& className, const std::string& title);

// Whether `window` is minimised; false when it is gone.
bool IsIconic(WindowHandle window);

enum class ShowCommand : int { Restore = 9 };

// Restores a minimised `window` and activates it. Returns false when the
// window did not take the request (for example because it is gone).
bool ShowWindow(WindowHandle window, ShowCommand command);

// Puts `window` at the top of the window order. Returns false when the
// window did not take the request.
bool BringWindowToTop(WindowHandle window);

// The text (title) of this program's application window, which is hidden
// and of class ApplicationWindowClass: it is the application title. Setting it
// renames the window at once, for every later search; on Linux the
// application object must exist by then.
std::string GetApplicationWindowText();
void SetApplicationWindowText(const std::string& text);

// The application window is never shown, so another copy that restores it or
// brings it to the top (ShowWindow, BringWindowToTop) reaches the program
// through `comeForward` instead, which shows what stands for it on screen.
// Runs on the user-interface thread, before the program's open windows are
// raised; a later call replaces the handler. Call it once the application
// object exists.
void WhenApplicationWindowCalledForward(std::function<void()> comeForward);

} // namespace platform
