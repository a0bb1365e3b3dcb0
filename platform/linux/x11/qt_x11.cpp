#include "platform/linux/x11/qt_x11.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

namespace platform::x11 {
namespace {

QNativeInterface::QX11Application* QtX11()
{
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

} // namespace

Display* QtDisplay()
{
    const auto* x11 = QtX11();
    return x11 ? x11->display() : nullptr;
}

xcb_connection_t* QtConnection()
{
    const auto* x11 = QtX11();
    return x11 ? x11->connection() : nullptr;
}

std::string TraySelectionName(Display* display)
{
    return "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
}

} // namespace platform::x11
