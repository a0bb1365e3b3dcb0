#include "platform/linux/wayland/bridge_receiver.h"

#include "platform/linux/x11/pointer_x11.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <utility>

namespace platform {
namespace {

// Positions beyond what any X screen can hold are nonsense; they would also
// overflow the recogniser's differences.
constexpr int CoordinateLimit = 32767;
// A window class longer than this is nonsense, and is not kept.
constexpr int WindowClassLimit = 256;

bool Plausible(int x, int y)
{
    return x >= -CoordinateLimit && x <= CoordinateLimit && y >= -CoordinateLimit && y <= CoordinateLimit;
}

bool SamePoint(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

} // namespace

std::unique_ptr<BridgeReceiver> BridgeReceiver::Listen(const QString& compositorService, const QString& name,
                                                       QString& error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString owner = bus.isConnected() ? bus.interface()->serviceOwner(compositorService).value() : QString();
    if (owner.isEmpty()) {
        error = QStringLiteral("%1 is not on the session bus").arg(compositorService);
        return nullptr;
    }
    std::unique_ptr<BridgeReceiver> receiver(new BridgeReceiver(compositorService, owner, name));
    if (!bus.registerObject(QString::fromLatin1(BridgePath), receiver.get(), QDBusConnection::ExportScriptableSlots)) {
        error = QStringLiteral("the object %1 is taken on the session bus").arg(QString::fromLatin1(BridgePath));
        return nullptr;
    }
    if (!bus.registerService(QString::fromLatin1(BridgeService))) {
        bus.unregisterObject(QString::fromLatin1(BridgePath));
        error = QStringLiteral("the name %1 is taken on the session bus").arg(QString::fromLatin1(BridgeService));
        return nullptr;
    }
    return receiver;
}

BridgeReceiver::BridgeReceiver(const QString& compositorService, const QString& owner, const QString& name)
    : name_(name)
    , owner_(owner)
    , ownerWatch_(compositorService, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForOwnerChange)
{
    connect(&ownerWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { OwnerChanged(newOwner); });
    firstReport_.setSingleShot(true);
    connect(&firstReport_, &QTimer::timeout, this,
            [this] { Fail(QStringLiteral("%1 has reported nothing since it started").arg(name_)); });
}

void BridgeReceiver::ExpectFirstReportWithin(int milliseconds)
{
    if (!position_)
        firstReport_.start(milliseconds);
}

BridgeReceiver::~BridgeReceiver() { StopListening(); }

void BridgeReceiver::AskWhetherRunning(std::function<bool()> stillRunning, const QString& whenGone)
{
    stillRunning_ = std::move(stillRunning);
    whenGone_ = whenGone;
}

void BridgeReceiver::CheckStillRunning()
{
    if (!failed_ && stillRunning_ && !stillRunning_())
        Fail(whenGone_);
}

void BridgeReceiver::StopListening()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(QString::fromLatin1(BridgeService));
    bus.unregisterObject(QString::fromLatin1(BridgePath));
}

bool BridgeReceiver::Position(Point& position) const
{
    if (!position_ || failed_)
        return false;
    position = *position_;
    return true;
}

void BridgeReceiver::WatchRest(const Point& restingAt, std::function<void()> moved)
{
    moved_ = std::move(moved);
    // A report between the caller's last reading and now is motion too.
    if (!position_ || !SamePoint(*position_, restingAt) || failed_)
        QTimer::singleShot(0, this, [this] {
            if (auto moved = std::exchange(moved_, nullptr))
                moved();
        });
}

void BridgeReceiver::StopWatching() { moved_ = nullptr; }

bool BridgeReceiver::FromBridge() const { return !failed_ && message().service() == owner_; }

void BridgeReceiver::Moved(int x, int y)
{
    if (!FromBridge())
        return;
    if (!Plausible(x, y)) {
        Fail(QStringLiteral("%1 reported the pointer at %2, %3, off every screen").arg(name_).arg(x).arg(y));
        return;
    }
    firstReport_.stop();
    const QPoint origin = x11::PrimaryScreenOrigin();
    position_ = Point{x - origin.x(), y - origin.y()};
    if (auto moved = std::exchange(moved_, nullptr))
        moved();
}

void BridgeReceiver::ActiveWindow(bool fullScreen, const QString& windowClass)
{
    if (!FromBridge() || windowClass.size() > WindowClassLimit)
        return;
    activeWindow_ = ForegroundWindow{fullScreen, windowClass.toStdString()};
}

void BridgeReceiver::ButtonsHeld(bool held)
{
    if (FromBridge())
        buttonsHeld_ = held;
}

// The compositor restarted or left: the bridge went with it.
void BridgeReceiver::OwnerChanged(const QString& newOwner)
{
    owner_ = newOwner;
    Fail(QStringLiteral("%1 has gone with the compositor's session-bus connection").arg(name_));
}

void BridgeReceiver::Fail(const QString& reason)
{
    if (std::exchange(failed_, true))
        return;
    firstReport_.stop();
    // The next source may need the name at once.
    StopListening();
    // The detection, if asleep, wakes and meets a source that cannot be read.
    if (auto moved = std::exchange(moved_, nullptr))
        moved();
    emit Failed(reason);
}

} // namespace platform
