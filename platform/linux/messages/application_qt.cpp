#include "platform/application.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace platform {

void ProcessMessages() { QCoreApplication::processEvents(); }

void PostQuitMessage(int exitCode)
{
    if (QCoreApplication* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

// X11 window managers decide focus themselves; a popup menu grabs the
// pointer and keyboard on its own, which is what the call is for.
void SetForegroundWindow() {}

} // namespace platform
