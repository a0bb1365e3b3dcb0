// Cursor and screen on X11: the pointer is queried on Qt's own X connection,
// the screen is Qt's primary screen in device pixels.

#include "platform/cursor.h"

#include <QGuiApplication>
#include <QScreen>

#include <X11/Xlib.h>

#include <cmath>

namespace platform {
namespace {

Display* QtDisplay()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
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

bool GetCursorPos(Point& position)
{
    Display* display = QtDisplay();
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
    // Positions are relative to the primary screen, whose top-left is (0, 0).
    const QPoint origin = PrimaryScreenPixels().topLeft();
    position = {rootX - origin.x(), rootY - origin.y()};
    return true;
}

std::int32_t GetSystemMetrics(SystemMetric metric)
{
    const QRect screen = PrimaryScreenPixels();
    return metric == SystemMetric::ScreenWidth ? screen.width() : screen.height();
}

} // namespace platform
