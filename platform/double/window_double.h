#pragma once
// Test double of the window search: other programs' windows that the tests
// put in place by hand, this copy's own application window (found like any
// other, and first, as the newest window, whose restoring and raising call the
// program's handler), and a record of the requests.

#include "platform/window.h"

#include <string>
#include <utility>
#include <vector>

namespace platform::fake {

// Adds another program's top-level window and returns its handle.
WindowHandle AddWindow(const std::string& className, const std::string& title, bool iconic = false);
WindowHandle OwnApplicationWindow();
bool WindowIsIconic(WindowHandle window);
// Every search so far: class name and title.
std::vector<std::pair<std::string, std::string>> WindowSearches();
// The windows restored and raised so far, in order.
std::vector<WindowHandle> RestoredWindows();
std::vector<WindowHandle> RaisedWindows();
// Every text given to the own application window so far.
std::vector<std::string> ApplicationWindowTexts();
// No other windows, an own application window with an empty title and no
// handler for requests to it, nothing recorded.
void ResetWindows();

} // namespace platform::fake
