#pragma once
// Qt's own X connection, for the groups of the Linux layer that speak Xlib.

#include <string>

// Xlib's, without its macros, which clash with Qt's names when included first.
typedef struct _XDisplay Display;
struct xcb_connection_t;

namespace platform::x11 {

// Qt's display; nullptr without an application on the X11 platform.
Display* QtDisplay();

// The same connection through XCB. A request sent through Xlib on it is
// remembered until Xlib reads that request's completion, which it never
// does while Qt reads the events: a request made many times (every
// animation frame) goes through XCB, which remembers nothing.
xcb_connection_t* QtConnection();

// The name of the selection that the tray manager of the default screen owns.
std::string TraySelectionName(Display* display);

} // namespace platform::x11
