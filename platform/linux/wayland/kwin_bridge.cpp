// Plasma: the KWin script, loaded from beside the program, reports the
// pointer to the bridge receiver; it is unloaded when the receiver goes.

#include "platform/linux/wayland/compositor_sources.h"

#include "platform/linux/wayland/bridge_receiver.h"
#include "platform/linux/wayland/kwin_script.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {
namespace {

constexpr char KWinService[] = "org.kde.KWin";
constexpr char ScriptFile[] = "quorzane-pointer.js";

} // namespace

std::unique_ptr<CompositorPointer> StartKWinBridge(QString& why)
{
    // Listening first: the script reports at once when it runs.
    QString notListening;
    std::unique_ptr<BridgeReceiver> receiver =
        BridgeReceiver::Listen(QString::fromLatin1(KWinService), QStringLiteral("the KWin script"), notListening);
    if (!receiver)
        return nullptr;
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(ScriptFile));
    QString refused;
    std::unique_ptr<KWinScript> script = KWinScript::Load(path, refused);
    if (!script) {
        why = QStringLiteral("KWin did not take the script %1: %2").arg(path, refused);
        return nullptr;
    }
    const KWinScript* loaded = script.get();
    receiver->AskWhetherRunning([loaded] { return loaded->Loaded(); },
                                QStringLiteral("the KWin script was unloaded"));
    receiver->HoldBridge(std::move(script));
    receiver->ExpectFirstReportWithin(BridgeFirstReportWait);
    return receiver;
}

} // namespace platform
