// The active window on X11, followed through property changes on a
// connection of its own to Qt's X server, read from the message loop through
// a socket notifier.
//
// A connection of its own rather than Qt's: following the active window
// means selecting property changes on other programs' windows, and an event
// selection is kept per connection and window: made through Qt's connection
// it would replace Qt's own selection on a window of the program, whenever
// one of those is the active one.
//
// The events (property changes of the root and of the active window, and the
// active window's own unmapping or end) only mark what is known as stale; it
// is read again (two round trips) when it is next asked for, which is when a
// pattern completes with a rule on. A window that changes often costs a
// wake-up per change and no round trip.

#include "platform/linux/x11/active_window_x11.h"

#include "platform/linux/x11/xcb_owned.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

namespace platform {
namespace {

using x11::XcbConnection;
template <typename T>
using Owned = x11::XcbOwned<T>;
using PropertyReply = Owned<xcb_get_property_reply_t>;

struct Atoms {
    xcb_atom_t activeWindow = XCB_NONE;
    xcb_atom_t wmState = XCB_NONE;
    xcb_atom_t fullScreen = XCB_NONE;
};

Atoms InternAtoms(xcb_connection_t* connection)
{
    constexpr std::array<std::string_view, 3> names{"_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN"};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t at = 0; at < names.size(); ++at)
        cookies[at] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[at].size()), names[at].data());
    std::array<xcb_atom_t, names.size()> atoms{};
    for (std::size_t at = 0; at < names.size(); ++at) {
        const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookies[at], nullptr));
        atoms[at] = reply ? reply->atom : XCB_NONE;
    }
    return {atoms[0], atoms[1], atoms[2]};
}

void SelectEvents(xcb_connection_t* connection, xcb_window_t window, std::uint32_t mask)
{
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
}

// Enough for any window's state list and class.
constexpr std::uint32_t MaxPropertyLongs = 256;

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type)
{
    return xcb_get_property(connection, 0, window, property, type, 0, MaxPropertyLongs);
}

PropertyReply PropertyAnswer(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    xcb_generic_error_t* error = nullptr;
    PropertyReply reply(xcb_get_property_reply(connection, cookie, &error));
    // A window that went meanwhile answers with an error: no value.
    std::free(error);
    return reply;
}

bool Viewable(xcb_connection_t* connection, xcb_get_window_attributes_cookie_t cookie)
{
    xcb_generic_error_t* error = nullptr;
    const Owned<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(connection, cookie, &error));
    std::free(error);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The property's value as 32-bit items (atoms, windows); none for a missing
// property or one of another kind.
std::span<const std::uint32_t> Items(const PropertyReply& reply)
{
    if (!reply || reply->format != 32)
        return {};
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4};
}

class ActiveWindowFollower final : public QObject {
public:
    explicit ActiveWindowFollower(QObject* parent)
        : QObject(parent)
    {
        Connect();
    }

    ForegroundWindow Now()
    {
        if (stale_ && Connected())
            Refresh();
        return Connected() ? window_ : ForegroundWindow{};
    }

private:
    void Connect()
    {
        x11::XcbServer server = x11::ConnectToQtServer();
        if (!server.connection)
            return;
        root_ = server.root;
        atoms_ = InternAtoms(server.connection.get());
        if (atoms_.activeWindow == XCB_NONE)
            return;
        SelectEvents(server.connection.get(), root_, XCB_EVENT_MASK_PROPERTY_CHANGE);
        connection_ = std::move(server.connection);
        notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_.get()),
                                                      QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &ActiveWindowFollower::ReadEvents);
    }

    bool Connected() const { return connection_ && !xcb_connection_has_error(connection_.get()); }

    void ReadEvents()
    {
        while (const Owned<xcb_generic_event_t> event{xcb_poll_for_event(connection_.get())})
            Note(*event);
        if (!Connected())
            notifier_->setEnabled(false);
    }

    // A round trip reads the events that came before its reply off the
    // socket, which the notifier then never reports.
    void ReadQueuedEvents()
    {
        while (const Owned<xcb_generic_event_t> event{xcb_poll_for_queued_event(connection_.get())})
            Note(*event);
    }

    // Errors (a window that went before its selection changed) need nothing.
    void Note(const xcb_generic_event_t& event)
    {
        switch (event.response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY: {
            const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if ((change.window == root_ && change.atom == atoms_.activeWindow) ||
                (change.window == active_ && (change.atom == atoms_.wmState || change.atom == XCB_ATOM_WM_CLASS)))
                stale_ = true;
            return;
        }
        // A window manager may go on naming a window that has gone or been
        // hidden when no other takes its place.
        case XCB_UNMAP_NOTIFY:
            stale_ = stale_ || reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window == active_;
            return;
        case XCB_DESTROY_NOTIFY:
            stale_ = stale_ || reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == active_;
            return;
        default:
            return;
        }
    }

    void Refresh()
    {
        stale_ = false;
        xcb_connection_t* connection = connection_.get();
        const PropertyReply activeReply =
            PropertyAnswer(connection, AskProperty(connection, root_, atoms_.activeWindow, XCB_ATOM_WINDOW));
        const std::span<const std::uint32_t> named = Items(activeReply);
        const xcb_window_t active = named.empty() ? XCB_NONE : named.front();
        if (active != active_)
            Follow(active);
        window_ = active == XCB_NONE ? ForegroundWindow{} : ReadWindow(active);
        ReadQueuedEvents();
    }

    // Selected before its properties are read, so that a change after the
    // read is reported.
    void Follow(xcb_window_t active)
    {
        if (active_ != XCB_NONE)
            SelectEvents(connection_.get(), active_, XCB_EVENT_MASK_NO_EVENT);
        if (active != XCB_NONE)
            SelectEvents(connection_.get(), active, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        active_ = active;
        xcb_flush(connection_.get());
    }

    // Its state and properties in one round trip; nothing for a window that
    // is not on screen.
    ForegroundWindow ReadWindow(xcb_window_t window)
    {
        xcb_connection_t* connection = connection_.get();
        const xcb_get_window_attributes_cookie_t mapAsked = xcb_get_window_attributes(connection, window);
        const xcb_get_property_cookie_t stateAsked = AskProperty(connection, window, atoms_.wmState, XCB_ATOM_ATOM);
        const xcb_get_property_cookie_t classAsked =
            AskProperty(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
        const bool onScreen = Viewable(connection, mapAsked);
        const PropertyReply state = PropertyAnswer(connection, stateAsked);
        const PropertyReply windowClass = PropertyAnswer(connection, classAsked);
        if (!onScreen)
            return {};
        const std::span<const std::uint32_t> states = Items(state);
        const bool fullScreen = atoms_.fullScreen != XCB_NONE &&
                                std::find(states.begin(), states.end(), atoms_.fullScreen) != states.end();
        return {fullScreen, x11::WindowClassPart(windowClass.get())};
    }

    XcbConnection connection_;
    std::unique_ptr<QSocketNotifier> notifier_;
    xcb_window_t root_ = XCB_NONE;
    xcb_window_t active_ = XCB_NONE;
    Atoms atoms_;
    ForegroundWindow window_;
    bool stale_ = true;
};

// Made on first use, owned by the application object.
ActiveWindowFollower* Follower()
{
    static QPointer<ActiveWindowFollower> follower;
    if (!follower && qGuiApp)
        follower = new ActiveWindowFollower(qGuiApp);
    return follower.data();
}

} // namespace

namespace x11 {

ForegroundWindow ActiveWindow()
{
    ActiveWindowFollower* follower = Follower();
    return follower ? follower->Now() : ForegroundWindow{};
}

} // namespace x11

} // namespace platform
