// GNOME: the program's Shell extension reports the pointer to the bridge
// receiver. An extension that is installed but off is turned on if the user
// agrees; one the running shell does not know yet needs a new login.

#include "platform/linux/wayland/compositor_sources.h"

#include "platform/linux/wayland/bridge_receiver.h"
#include "platform/linux/wayland/gnome_extension.h"

#include <QDBusConnection>
#include <QMessageBox>

namespace platform {
namespace {

constexpr char ShellService[] = "org.gnome.Shell";

bool UserTurnsItOn()
{
    return QMessageBox::question(nullptr, QStringLiteral("Quorzane on GNOME"),
                                 QStringLiteral("Quorzane follows the mouse pointer on GNOME through its GNOME Shell "
                                                "extension, which is installed but turned off.\n\nTurn it on?")) ==
           QMessageBox::Yes;
}

// Where the extension cannot report yet: why, or empty where the user chose
// to leave it off.
QString WhyNotRunning(const GnomeExtension& extension, const GnomeExtensionStatus& status)
{
    switch (status.state) {
    case GnomeExtensionState::UnknownToShell:
        return QStringLiteral("its GNOME Shell extension came after this session started: log out and in once "
                              "to use it");
    case GnomeExtensionState::Failed:
        return QStringLiteral("its GNOME Shell extension failed: %1").arg(status.error);
    case GnomeExtensionState::Off:
        if (!status.canEnable)
            return QStringLiteral("its GNOME Shell extension is off, and extensions cannot be turned on here");
        if (!UserTurnsItOn())
            return QStringLiteral("its GNOME Shell extension stays off");
        if (!extension.Enable())
            return QStringLiteral("GNOME Shell did not turn its extension on");
        return {};
    default:
        return {};
    }
}

// The user may turn the extension off while the program runs: the shell
// says so with a signal, and the receiver then fails.
class ExtensionStateWatch final : public QObject {
    Q_OBJECT

public:
    explicit ExtensionStateWatch(BridgeReceiver& receiver) : QObject(&receiver), receiver_(receiver)
    {
        QDBusConnection::sessionBus().connect(
            QString::fromLatin1(ShellService), QStringLiteral("/org/gnome/Shell"),
            QStringLiteral("org.gnome.Shell.Extensions"), QStringLiteral("ExtensionStateChanged"), this,
            SLOT(StateChanged(QString, QVariantMap)));
    }

private slots:
    void StateChanged(const QString& uuid, const QVariantMap& info)
    {
        if (uuid == QLatin1String(GnomeExtension::Uuid) &&
            StatusFromInfo(info).state != GnomeExtensionState::Running)
            receiver_.Fail(QStringLiteral("its GNOME Shell extension was turned off"));
    }

private:
    BridgeReceiver& receiver_;
};

} // namespace

std::unique_ptr<CompositorPointer> StartGnomeBridge(QString& why)
{
    const GnomeExtension extension;
    const GnomeExtensionStatus status = extension.Query();
    if (status.state == GnomeExtensionState::NotGnome)
        return nullptr;
    // Listening first: the extension reports once the program is on the bus.
    QString notListening;
    std::unique_ptr<BridgeReceiver> receiver = BridgeReceiver::Listen(
        QString::fromLatin1(ShellService), QStringLiteral("the GNOME Shell extension"), notListening);
    if (!receiver) {
        why = notListening;
        return nullptr;
    }
    if (status.state != GnomeExtensionState::Running) {
        why = WhyNotRunning(extension, status);
        if (!why.isEmpty())
            return nullptr;
    }
    new ExtensionStateWatch(*receiver); // owned by the receiver
    receiver->ExpectFirstReportWithin(BridgeFirstReportWait);
    return receiver;
}

} // namespace platform

#include "gnome_bridge.moc"
