#include "platform/linux/x11/qt_x11.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

namespace platform::x11 {

Display* QtDisplay()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

std::string TraySelectionName(Display* display)
{
    return "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
}

} // namespace platform::x11
