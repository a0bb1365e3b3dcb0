// Cursor and screen on X11: the pointer is queried on a connection of its
// own to Qt's X server, the screen is Qt's primary screen in device pixels.
// The same query tells which buttons are down, which is kept for the rule
// against patterns made while one is held.
//
// A connection of its own because the query runs 20 times a second for the
// life of the program: on Qt's connection every reply is read by Qt's event
// thread and handed over to this one, two thread switches per query, which
// measurably added to the program's idle CPU time.

#include "platform/cursor.h"

#include "platform/linux/x11/pointer_x11.h"
#include "platform/linux/x11/qt_x11.h"

#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>

#include <cmath>
#include <memory>

namespace platform {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

// A connection to the server that Qt talks to; none when Qt has no X11
// connection or this one cannot be opened.
DisplayConnection OpenPointerDisplay()
{
    Display* qt = x11::QtDisplay();
    return qt ? DisplayConnection(XOpenDisplay(DisplayString(qt))) : nullptr;
}

// The buttons that count as held: the wheel's "buttons" 4 and 5 are only
// ever clicked.
constexpr unsigned int HeldButtonsMask = Button1Mask | Button2Mask | Button3Mask;

struct PointerQuery {
    DisplayConnection connection = OpenPointerDisplay();
    // The buttons down at the last query that succeeded.
    unsigned int buttons = 0;
};

// Opened once, at the first query (the application object exists by then),
// and closed when the program ends.
PointerQuery& Pointer()
{
    static PointerQuery query;
    return query;
}

// The primary screen's rectangle in device pixels of the X root window.
QRect PrimaryScreenPixels()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect logical = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    return {static_cast<int>(std::lround(logical.x() * ratio)), static_cast<int>(std::lround(logical.y() * ratio)),
            static_cast<int>(std::lround(logical.width() * ratio)),
            static_cast<int>(std::lround(logical.height() * ratio))};
}

} // namespace

namespace x11 {

QPoint PrimaryScreenOrigin() { return PrimaryScreenPixels().topLeft(); }

bool QueryCursorPos(Point& position)
{
    PointerQuery& pointer = Pointer();
    Display* display = pointer.connection.get();
    if (!display)
        return false;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    // False means the pointer is on another X screen: no usable position.
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons))
        return false;
    pointer.buttons = buttons;
    // Positions are relative to the primary screen, whose top-left is (0, 0).
    const QPoint origin = PrimaryScreenOrigin();
    position = {rootX - origin.x(), rootY - origin.y()};
    return true;
}

bool PointerButtonsHeld() { return (Pointer().buttons & HeldButtonsMask) != 0; }

} // namespace x11

std::int32_t GetSystemMetrics(SystemMetric metric)
{
    const QRect screen = PrimaryScreenPixels();
    return metric == SystemMetric::ScreenWidth ? screen.width() : screen.height();
}

} // namespace platform
