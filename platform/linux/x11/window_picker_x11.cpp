// Other programs' windows on X11, each request on a connection of its own to
// Qt's X server, so that nothing of it mixes with Qt's events:
// - the open windows are the window manager's client list, or without a
//   window manager the root window's mapped children;
// - a pick grabs the pointer and the keyboard on the root window with a
//   crosshair cursor; the message loop reads the grab's events through a
//   socket notifier. The window clicked is the root's child under the
//   pointer, and its client is the first window at or below it that has a
//   class (a window manager's frame has none).

#include "platform/window_picker.h"

#include "platform/linux/x11/qt_x11.h"
#include "platform/linux/x11/xcb_owned.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>

namespace platform {
namespace {

template <typename T>
using Reply = x11::XcbOwned<T>;
using Server = x11::XcbServer;

// The cursor font's crosshair, and the keysym of Escape.
constexpr std::uint16_t CrosshairGlyph = 34;
constexpr xcb_keysym_t EscapeKeysym = 0xff1b;
constexpr std::uint8_t LeftButton = 1;
constexpr std::uint8_t RightButton = 3;
// Frames of window managers hold their client a level or two down.
constexpr int ClientSearchDepth = 3;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type, std::uint32_t longs)
{
    return xcb_get_property(connection, 0, window, property, type, 0, longs);
}

// The window's class; none where WM_CLASS is missing or names none.
std::optional<std::string> ClassPart(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    std::string windowClass = x11::WindowClassPart(reply.get());
    if (windowClass.empty())
        return std::nullopt;
    return windowClass;
}

std::optional<std::uint32_t> CardinalOf(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

std::vector<xcb_window_t> Children(xcb_connection_t* connection, xcb_window_t window)
{
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

std::vector<xcb_window_t> ManagedWindows(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_atom_t clientList = Atom(connection, "_NET_CLIENT_LIST");
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, AskProperty(connection, root, clientList, XCB_ATOM_WINDOW, 65536), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    return {windows, windows + xcb_get_property_value_length(reply.get()) / 4};
}

// Without a window manager the top-level windows are the root's children;
// those on screen are the open ones.
std::vector<xcb_window_t> MappedTopLevels(xcb_connection_t* connection, xcb_window_t root)
{
    const std::vector<xcb_window_t> children = Children(connection, root);
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (const xcb_window_t child : children)
        cookies.push_back(xcb_get_window_attributes(connection, child));
    std::vector<xcb_window_t> mapped;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, cookies[i], nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect)
            mapped.push_back(children[i]);
    }
    return mapped;
}

// The class of `window` or of the first window below it that has one.
std::optional<std::string> ClientClass(xcb_connection_t* connection, xcb_window_t window)
{
    std::deque<std::pair<xcb_window_t, int>> waiting{{window, 0}};
    while (!waiting.empty()) {
        const auto [candidate, depth] = waiting.front();
        waiting.pop_front();
        const std::optional<std::string> found =
            ClassPart(connection, AskProperty(connection, candidate, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256));
        if (found)
            return found;
        if (depth < ClientSearchDepth) {
            const std::vector<xcb_window_t> children = Children(connection, candidate);
            // Topmost first.
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                waiting.emplace_back(*child, depth + 1);
        }
    }
    return std::nullopt;
}

std::optional<xcb_keycode_t> KeycodeOf(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    const Reply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (!mapping || mapping->keysyms_per_keycode == 0)
        return std::nullopt;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    for (int i = 0; i < length; ++i) {
        if (keysyms[i] == keysym)
            return static_cast<xcb_keycode_t>(setup->min_keycode + i / mapping->keysyms_per_keycode);
    }
    return std::nullopt;
}

// Waits until Qt's X server has carried out Qt's requests so far: the menu
// from which a pick starts has let go of the pointer by then.
void SyncWithQt()
{
    if (xcb_connection_t* qt = x11::QtConnection())
        std::free(xcb_get_input_focus_reply(qt, xcb_get_input_focus(qt), nullptr));
}

class WindowPick final : public QObject {
public:
    explicit WindowPick(WindowPicked picked)
        : QObject(qGuiApp)
        , picked_(std::move(picked))
    {
    }
    ~WindowPick() override { Release(); }
    WindowPick(const WindowPick&) = delete;
    WindowPick& operator=(const WindowPick&) = delete;

    bool Start()
    {
        server_ = x11::ConnectToQtServer();
        xcb_connection_t* connection = server_.connection.get();
        if (!connection)
            return false;
        SyncWithQt();
        cursor_ = CrosshairCursor();
        const Reply<xcb_grab_pointer_reply_t> pointer(xcb_grab_pointer_reply(
            connection,
            xcb_grab_pointer(connection, 0, server_.root, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE,
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, cursor_, XCB_CURRENT_TIME),
            nullptr));
        if (!pointer || pointer->status != XCB_GRAB_STATUS_SUCCESS)
            return false;
        // Without the keyboard only the right button cancels.
        escape_ = KeycodeOf(connection, EscapeKeysym);
        std::free(xcb_grab_keyboard_reply(connection,
                                          xcb_grab_keyboard(connection, 0, server_.root, XCB_CURRENT_TIME,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                          nullptr));
        notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &WindowPick::ReadEvents);
        // The replies above may have brought events along, which the
        // notifier never reports.
        QTimer::singleShot(0, this, &WindowPick::ReadEvents);
        return true;
    }

    void Finish(std::optional<std::string> windowClass)
    {
        const WindowPicked picked = std::exchange(picked_, nullptr);
        Abandon();
        if (picked)
            picked(std::move(windowClass));
    }

    void Abandon()
    {
        picked_ = nullptr;
        Release();
        deleteLater();
    }

private:
    xcb_cursor_t CrosshairCursor()
    {
        xcb_connection_t* connection = server_.connection.get();
        const xcb_font_t font = xcb_generate_id(connection);
        xcb_open_font(connection, font, 6, "cursor");
        const xcb_cursor_t cursor = xcb_generate_id(connection);
        xcb_create_glyph_cursor(connection, cursor, font, font, CrosshairGlyph, CrosshairGlyph + 1, 0, 0, 0, 0xffff,
                                0xffff, 0xffff);
        xcb_close_font(connection, font);
        return cursor;
    }

    void Release()
    {
        notifier_.reset();
        if (xcb_connection_t* connection = server_.connection.get()) {
            xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
            xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
            if (cursor_ != XCB_NONE)
                xcb_free_cursor(connection, cursor_);
            xcb_flush(connection);
        }
        server_ = {};
    }

    void ReadEvents()
    {
        xcb_connection_t* connection = server_.connection.get();
        while (connection && picked_) {
            const Reply<xcb_generic_event_t> event(xcb_poll_for_event(connection));
            if (!event)
                break;
            Handle(*event);
        }
        if (picked_ && (!connection || xcb_connection_has_error(connection)))
            Finish(std::nullopt);
    }

    void Handle(const xcb_generic_event_t& event)
    {
        switch (event.response_type & 0x7f) {
        case XCB_BUTTON_PRESS: {
            const auto& press = reinterpret_cast<const xcb_button_press_event_t&>(event);
            if (pressed_ == 0) {
                pressed_ = press.detail;
                pressedOn_ = press.child;
            }
            break;
        }
        case XCB_BUTTON_RELEASE:
            // On the release, so that the window under the pointer gets no
            // release without its press.
            if (reinterpret_cast<const xcb_button_release_event_t&>(event).detail == pressed_)
                Clicked();
            break;
        case XCB_KEY_PRESS:
            if (escape_ && reinterpret_cast<const xcb_key_press_event_t&>(event).detail == *escape_)
                Finish(std::nullopt);
            break;
        default:
            break;
        }
    }

    void Clicked()
    {
        const std::uint8_t button = std::exchange(pressed_, 0);
        if (button == RightButton || (button == LeftButton && pressedOn_ == XCB_NONE)) {
            Finish(std::nullopt);
            return;
        }
        if (button == LeftButton)
            Finish(ClientClass(server_.connection.get(), pressedOn_));
    }

    WindowPicked picked_;
    Server server_;
    xcb_cursor_t cursor_ = XCB_NONE;
    std::optional<xcb_keycode_t> escape_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::uint8_t pressed_ = 0;
    xcb_window_t pressedOn_ = XCB_NONE;
};

// The pick in progress, owned by the application object.
QPointer<WindowPick>& CurrentPick()
{
    static QPointer<WindowPick> pick;
    return pick;
}

} // namespace

std::vector<std::string> OpenWindowClasses()
{
    const Server server = x11::ConnectToQtServer();
    xcb_connection_t* connection = server.connection.get();
    if (!connection)
        return {};
    std::vector<xcb_window_t> windows = ManagedWindows(connection, server.root);
    if (windows.empty())
        windows = MappedTopLevels(connection, server.root);
    const xcb_atom_t pidAtom = Atom(connection, "_NET_WM_PID");
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    for (const xcb_window_t window : windows)
        cookies.emplace_back(AskProperty(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256),
                             AskProperty(connection, window, pidAtom, XCB_ATOM_CARDINAL, 1));
    const auto ownProcess = static_cast<std::uint32_t>(getpid());
    std::vector<std::string> classes;
    for (const auto& [classCookie, pidCookie] : cookies) {
        const std::optional<std::string> windowClass = ClassPart(connection, classCookie);
        if (windowClass && CardinalOf(connection, pidCookie) != ownProcess)
            classes.push_back(*windowClass);
    }
    std::sort(classes.begin(), classes.end());
    classes.erase(std::unique(classes.begin(), classes.end()), classes.end());
    return classes;
}

bool PickWindowClass(WindowPicked picked)
{
    if (WindowPick* running = CurrentPick())
        running->Finish(std::nullopt);
    if (!qGuiApp)
        return false;
    auto pick = std::make_unique<WindowPick>(std::move(picked));
    if (!pick->Start())
        return false;
    // The application object owns it from here; it deletes itself when done.
    CurrentPick() = pick.release();
    return true;
}

void CancelWindowPick()
{
    if (WindowPick* running = CurrentPick())
        running->Abandon();
}

} // namespace platform
