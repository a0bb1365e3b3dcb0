#include "platform/linux/x11/xcb_owned.h"

#include "platform/linux/x11/qt_x11.h"

#include <X11/Xlib.h>

#include <string_view>

namespace platform::x11 {

XcbServer ConnectToQtServer()
{
    Display* qt = QtDisplay();
    if (!qt)
        return {};
    int screenNumber = 0;
    XcbConnection connection(xcb_connect(DisplayString(qt), &screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return {};
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (; screens.rem > 0 && screenNumber > 0; --screenNumber)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return {};
    const xcb_window_t root = screens.data->root;
    return {std::move(connection), root};
}

std::string WindowClassPart(const xcb_get_property_reply_t* reply)
{
    if (!reply || reply->format != 8)
        return {};
    const std::string_view text(static_cast<const char*>(xcb_get_property_value(reply)),
                                static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    const std::size_t instanceEnd = text.find('\0');
    if (instanceEnd == std::string_view::npos)
        return {};
    const std::string_view rest = text.substr(instanceEnd + 1);
    return std::string(rest.substr(0, rest.find('\0')));
}

} // namespace platform::x11
