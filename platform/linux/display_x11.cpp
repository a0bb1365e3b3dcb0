#include "platform/display.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>

namespace platform {

std::string DisplayUnavailableReason()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return "DISPLAY is not set";
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(name), XCloseDisplay);
    if (!display)
        return std::string("cannot open display \"") + name + "\"";
    return {};
}

} // namespace platform
