#pragma once
// Other programs' windows, by their window class: the classes of the open
// windows, and the class of a window that the user points at with a click.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The window classes of the desktop's open top-level windows, sorted, each
// once, without this program's own windows. Empty where none can be read.
std::vector<std::string> OpenWindowClasses();

// Called once with the class of the window the user clicked, or nullopt
// when the user cancelled the pick or it could not go on.
using WindowPicked = std::function<void(std::optional<std::string>)>;

// Starts a pick and returns at once: the pointer shows a crosshair until the
// user clicks a window with the left button (its class is reported) or
// cancels with Escape or the right button. `picked` is called from the
// message loop. A second call replaces a pick in progress, which is then
// reported as cancelled. False, calling nothing, where no pick can start.
bool PickWindowClass(WindowPicked picked);

// Ends a pick in progress without calling anything; nothing when none runs.
void CancelWindowPick();

} // namespace platform
