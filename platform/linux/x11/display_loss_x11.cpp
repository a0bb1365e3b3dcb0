// A broken X connection ends a program wherever it is noticed: Xlib calls
// its fatal I/O error handler, and Qt ends the process from its event
// handling with exit(1). Both roads lead here, so the settings are saved
// first and the program says once, in one line, what happened; it then ends
// without running the destructors, which would talk to the dead server.

#include "platform/display.h"

#include "platform/linux/x11/qt_x11.h"

#include <QString>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

std::function<void()>& SaveOnLoss()
{
    static std::function<void()> save;
    return save;
}

QtMessageHandler& QtHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

[[noreturn]] void EndForLostDisplay()
{
    static std::atomic_flag ending;
    if (!ending.test_and_set()) {
        if (SaveOnLoss())
            SaveOnLoss()();
        std::fputs("Quorzane: the connection to the X display was lost\n", stderr);
    }
    std::_Exit(1);
}

int EndOnXlibIoError(Display*) { EndForLostDisplay(); }

bool QtConnectionBroken()
{
    xcb_connection_t* connection = x11::QtConnection();
    return connection && xcb_connection_has_error(connection);
}

// Qt's exit(1) after a broken connection runs the exit handlers; a normal
// end of the program finds the application object gone.
void EndIfTheDisplayWasLost()
{
    if (QtConnectionBroken())
        EndForLostDisplay();
}

// Qt says the same as this program's own line, before it ends the process.
void DropQtLossReport(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("The X11 connection broke")))
        return;
    if (QtHandler())
        QtHandler()(type, context, message);
}

} // namespace

void WatchDisplayLoss(std::function<void()> saveSettings)
{
    SaveOnLoss() = std::move(saveSettings);
    XSetIOErrorHandler(EndOnXlibIoError);
    // A write to a server that has just gone must take the road above, not
    // end the program by SIGPIPE before the settings are saved. Started
    // programs get the default action back (see process_linux.cpp).
    std::signal(SIGPIPE, SIG_IGN);
    QtHandler() = qInstallMessageHandler(DropQtLossReport);
    std::atexit(EndIfTheDisplayWasLost);
}

} // namespace platform
