#include "platform/linux/tray/tray_presence.h"

#include "platform/linux/x11/qt_x11.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPointer>

#include <X11/Xlib.h>

#include <string>
#include <utility>

namespace platform {
namespace {

constexpr int PollInterval = 1000;       // milliseconds
constexpr int WatcherCallTimeout = 1000; // milliseconds

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// Qt's own test: a watcher with a host registered.
bool StatusNotifierHostRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(WatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(WatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, WatcherCallTimeout);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// An XEmbed tray manager owns the tray selection of the default screen.
bool XEmbedTrayRunning()
{
    Display* display = x11::QtDisplay();
    if (!display)
        return false;
    const std::string selection = x11::TraySelectionName(display);
    return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
}

} // namespace

TrayPresence* TrayPresence::Instance()
{
    static QPointer<TrayPresence> instance;
    if (!instance && qGuiApp)
        instance = new TrayPresence(qGuiApp);
    return instance.data();
}

TrayPresence::TrayPresence(QObject* parent)
    : QObject(parent)
{
    poll_.setInterval(PollInterval);
    connect(&poll_, &QTimer::timeout, this, &TrayPresence::Look);
    Look();
    if (kind_ == TrayKind::Unseen)
        poll_.start();
}

void TrayPresence::Look()
{
    // Without an X server (the offscreen platform of the widget tests) there
    // is nothing to wait for: Qt's icons simply stay unseen.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        kind_ = TrayKind::XEmbed;
    else if (StatusNotifierHostRegistered())
        kind_ = TrayKind::StatusNotifier;
    else if (XEmbedTrayRunning())
        kind_ = TrayKind::XEmbed;
    else
        return;
    poll_.stop();
    emit Found();
}

void TrayPresence::RequestBalloon(const TrayBalloon& balloon)
{
    balloon_ = balloon;
    emit BalloonRequested();
}

std::optional<TrayBalloon> TrayPresence::TakeBalloon() { return std::exchange(balloon_, std::nullopt); }

void TrayPresence::SetToolTipNote(const QString& note)
{
    if (note == toolTipNote_)
        return;
    toolTipNote_ = note;
    emit ToolTipNoteChanged();
}

} // namespace platform
