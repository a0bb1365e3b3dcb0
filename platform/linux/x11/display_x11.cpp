#include "platform/display.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {

TDisplayHold::TDisplayHold()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        reason_ = "DISPLAY is not set";
        return;
    }
    connection_ = XOpenDisplay(name);
    if (!connection_)
        reason_ = std::string("cannot open display \"") + name + "\"";
}

TDisplayHold::~TDisplayHold()
{
    if (connection_)
        XCloseDisplay(static_cast<Display*>(connection_));
}

} // namespace platform
