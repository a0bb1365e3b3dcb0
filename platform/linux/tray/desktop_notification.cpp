// Desktop notices through the session bus's notification service: a call
// that nobody waits for, so that a desktop without the service costs nothing.

#include "platform/notification.h"

#include "platform/linux/tray/desktop_notification.h"

#include <QDBusMessage>
#include <QGuiApplication>
#include <QStringList>
#include <QVariantMap>

namespace platform {
namespace {

constexpr int NoticeDuration = 10000; // milliseconds
constexpr unsigned NewNotice = 0;     // replaces no earlier notice

} // namespace

void SendDesktopNotification(QDBusConnection& bus, const QString& title, const QString& text)
{
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QGuiApplication::applicationDisplayName() << NewNotice << QString() << title << text << QStringList()
           << QVariantMap() << NoticeDuration;
    bus.call(notify, QDBus::NoBlock);
}

void ShowDesktopNotification(const std::string& title, const std::string& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        SendDesktopNotification(bus, QString::fromStdString(title), QString::fromStdString(text));
}

} // namespace platform
