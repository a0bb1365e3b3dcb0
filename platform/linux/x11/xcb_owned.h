#pragma once
// XCB connections of the program's own to Qt's X server, and what XCB hands
// over to be freed, each with an owner; and the class in a WM_CLASS value.

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace platform::x11 {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// XCB's replies, events and errors are the caller's to free.
struct XcbFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T>
using XcbOwned = std::unique_ptr<T, XcbFree>;

// A connection of its own to the server that Qt talks to, and the root
// window of its default screen; empty without Qt's display or a connection.
struct XcbServer {
    XcbConnection connection;
    xcb_window_t root = XCB_NONE;
};
XcbServer ConnectToQtServer();

// WM_CLASS holds the instance name and then the class, each ended by a zero
// byte: the class, or the empty text for a value of any other form.
std::string WindowClassPart(const xcb_get_property_reply_t* reply);

} // namespace platform::x11
