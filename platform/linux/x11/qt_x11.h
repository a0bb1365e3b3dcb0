#pragma once
// Qt's own X connection, for the groups of the Linux layer that speak Xlib.

#include <string>

// Xlib's, without its macros, which clash with Qt's names when included first.
typedef struct _XDisplay Display;

namespace platform::x11 {

// Qt's display; nullptr without an application on the X11 platform.
Display* QtDisplay();

// The name of the selection that the tray manager of the default screen owns.
std::string TraySelectionName(Display* display);

} // namespace platform::x11
