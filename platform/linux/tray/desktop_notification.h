#pragma once
// The desktop's notification service (org.freedesktop.Notifications), which
// shows the balloons of D-Bus tray icons and the program's own notices.

#include <QDBusConnection>
#include <QString>

namespace platform {

// Asks the service on `bus` to show `text` under `title`, without waiting:
// a bus without the service answers with an error that nobody reads.
void SendDesktopNotification(QDBusConnection& bus, const QString& title, const QString& text);

} // namespace platform
