#include "platform/linux/wayland/gnome_extension.h"

#include <QDBusArgument>
#include <QDBusMessage>

namespace platform {
namespace {

const QString ShellService = QStringLiteral("org.gnome.Shell");
const QString ShellPath = QStringLiteral("/org/gnome/Shell");
const QString ExtensionsInterface = QStringLiteral("org.gnome.Shell.Extensions");

// The shell's extension states (misc/extensionUtils.js); 45 renamed
// DISABLED to INACTIVE and added the two states of a change in progress.
enum ShellState {
    Enabled = 1,
    Disabled = 2,
    Error = 3,
    OutOfDate = 4,
    Downloading = 5,
    Initialized = 6,
    Deactivating = 7,
    Activating = 8,
    Uninstalled = 99,
};

GnomeExtensionStatus Failure(const QString& error) { return {GnomeExtensionState::Failed, error, false}; }

bool NoShell(const QDBusMessage& reply)
{
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

GnomeExtension::GnomeExtension(const QDBusConnection& bus)
    : bus_(bus)
{
}

QDBusMessage GnomeExtension::CallShell(const QString& method) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(ShellService, ShellPath, ExtensionsInterface, method);
    call << QString::fromLatin1(Uuid);
    // The shell is never started for the program's sake.
    call.setAutoStartService(false);
    return bus_.call(call, QDBus::Block, CallTimeout);
}

GnomeExtensionStatus GnomeExtension::Query() const
{
    if (!bus_.isConnected())
        return {};
    const QDBusMessage reply = CallShell(QStringLiteral("GetExtensionInfo"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return NoShell(reply) ? GnomeExtensionStatus{} : Failure(reply.errorMessage());
    if (reply.arguments().isEmpty())
        return Failure(QStringLiteral("GNOME Shell described no extension"));
    return StatusFromInfo(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
}

bool GnomeExtension::Enable() const
{
    if (!bus_.isConnected())
        return false;
    const QDBusMessage reply = CallShell(QStringLiteral("EnableExtension"));
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

GnomeExtensionStatus StatusFromInfo(const QVariantMap& info)
{
    // An extension the shell does not know is described as an empty map.
    if (!info.contains(QStringLiteral("state")))
        return {GnomeExtensionState::UnknownToShell, {}, false};
    switch (static_cast<int>(info.value(QStringLiteral("state")).toDouble())) {
    case Enabled:
    case Activating:
        return {GnomeExtensionState::Running, {}, false};
    case Disabled:
    case Initialized:
    case Deactivating:
    case Downloading:
        return {GnomeExtensionState::Off, {}, info.value(QStringLiteral("canChange")).toBool()};
    case Error:
        return Failure(info.value(QStringLiteral("error")).toString());
    case OutOfDate:
        return Failure(QStringLiteral("the extension is not made for this version of GNOME Shell"));
    case Uninstalled:
        return {GnomeExtensionState::UnknownToShell, {}, false};
    default:
        return Failure(QStringLiteral("GNOME Shell reports the extension in state %1")
                           .arg(info.value(QStringLiteral("state")).toString()));
    }
}

} // namespace platform
