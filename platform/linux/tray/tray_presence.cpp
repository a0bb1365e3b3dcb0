#include "platform/linux/tray/tray_presence.h"

#include "platform/linux/x11/qt_x11.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPointer>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <string>
#include <utility>

namespace platform {
namespace {

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
    Look();
    if (kind_ == TrayKind::Unseen)
        WatchForTrays();
}

TrayPresence::~TrayPresence() { StopWatching(); }

void TrayPresence::WatchForTrays()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        watcherWatch_.setConnection(bus);
        watcherWatch_.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
        watcherWatch_.addWatchedService(WatcherService);
        connect(&watcherWatch_, &QDBusServiceWatcher::serviceRegistered, this, &TrayPresence::Look);
        bus.connect(WatcherService, QStringLiteral("/StatusNotifierWatcher"), WatcherService,
                    QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(Look()));
    }
    // Qt listens to the root window's structure events, which is where a
    // tray manager announces itself.
    if (Display* display = x11::QtDisplay()) {
        managerAtom_ = XInternAtom(display, "MANAGER", False);
        selectionAtom_ = XInternAtom(display, x11::TraySelectionName(display).c_str(), False);
        QCoreApplication::instance()->installNativeEventFilter(this);
        filtering_ = true;
    }
}

void TrayPresence::StopWatching()
{
    watcherWatch_.setWatchedServices({});
    QDBusConnection::sessionBus().disconnect(WatcherService, QStringLiteral("/StatusNotifierWatcher"), WatcherService,
                                             QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(Look()));
    if (std::exchange(filtering_, false) && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TrayPresence::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type == managerAtom_ && client->data.data32[1] == selectionAtom_)
        // After this event is handled: the manager's selection is set by then.
        QMetaObject::invokeMethod(this, &TrayPresence::Look, Qt::QueuedConnection);
    return false;
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
    StopWatching();
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
