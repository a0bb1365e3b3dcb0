#include "platform/linux/wayland/kwin_script.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace platform {
namespace {

constexpr int CallTimeout = 2000; // milliseconds
// KWin deletes an unloaded script only when its event loop next turns, so
// the left-over can still be there at the next call; each check is a round
// trip that gives KWin that turn.
constexpr int UnloadChecks = 20;

const QString KWinService = QStringLiteral("org.kde.KWin");
const QString ScriptingPath = QStringLiteral("/Scripting");
const QString ScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString ScriptInterface = QStringLiteral("org.kde.kwin.Script");
const QString Plugin = QString::fromLatin1(KWinScript::PluginName);

// Where KWin publishes a loaded script: KWin 6 under /Scripting, KWin 5 at
// the root, named by its number.
const QStringList ScriptPathPatterns = {QStringLiteral("/Scripting/Script%1"), QStringLiteral("/%1")};

QDBusMessage Call(const QDBusMessage& call)
{
    return QDBusConnection::sessionBus().call(call, QDBus::Block, CallTimeout);
}

QDBusMessage CallKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(KWinService, path, interface, method);
    call.setArguments(arguments);
    return Call(call);
}

QDBusMessage CallScripting(const QString& method, const QVariantList& arguments)
{
    return CallKWin(ScriptingPath, ScriptingInterface, method, arguments);
}

bool Answered(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

QString Reason(const QDBusMessage& reply)
{
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

// Asked of the bus itself, with our own time limit: the bus interface that Qt
// shares would wait 25 seconds.
bool KWinOnBus()
{
    if (!QDBusConnection::sessionBus().isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    call << KWinService;
    const QDBusMessage reply = Call(call);
    return Answered(reply) && reply.arguments().constFirst().toBool();
}

std::optional<bool> ScriptLoaded(QString& error)
{
    const QDBusMessage reply = CallScripting(QStringLiteral("isScriptLoaded"), {Plugin});
    if (!Answered(reply)) {
        error = QStringLiteral("KWin's scripting interface did not answer: %1").arg(Reason(reply));
        return std::nullopt;
    }
    return reply.arguments().constFirst().toBool();
}

void Unload()
{
    CallScripting(QStringLiteral("unloadScript"), {Plugin});
}

bool UnloadLeftOver(QString& error)
{
    std::optional<bool> loaded = ScriptLoaded(error);
    if (loaded.value_or(false))
        Unload();
    for (int check = 0; loaded.value_or(false) && check < UnloadChecks; ++check)
        loaded = ScriptLoaded(error);
    if (loaded.value_or(false))
        error = QStringLiteral("KWin keeps an earlier copy of the %1 script loaded").arg(Plugin);
    return loaded.has_value() && !*loaded;
}

std::optional<int> LoadFile(const QString& file, QString& error)
{
    const QDBusMessage reply = CallScripting(QStringLiteral("loadScript"), {file, Plugin});
    if (!Answered(reply)) {
        error = QStringLiteral("KWin did not load %1: %2").arg(file, Reason(reply));
        return std::nullopt;
    }
    const int id = reply.arguments().constFirst().toInt();
    if (id < 0) {
        error = QStringLiteral("KWin refused to load %1 as a second %2 script").arg(file, Plugin);
        return std::nullopt;
    }
    return id;
}

bool NoSuchObject(const QDBusMessage& reply)
{
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod");
}

bool Run(int id, const QString& file, QString& error)
{
    for (const QString& pattern : ScriptPathPatterns) {
        const QDBusMessage reply = CallKWin(pattern.arg(id), ScriptInterface, QStringLiteral("run"));
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
        if (!NoSuchObject(reply)) {
            error = QStringLiteral("KWin could not run %1: %2").arg(file, Reason(reply));
            return false;
        }
    }
    error = QStringLiteral("KWin loaded %1 but shows no script %2 to run").arg(file).arg(id);
    return false;
}

// A script that fails to evaluate is still run without error on the bus;
// KWin then deletes it.
bool StillLoaded(const QString& file, QString& error)
{
    const std::optional<bool> loaded = ScriptLoaded(error);
    if (loaded.has_value() && !*loaded)
        error = QStringLiteral("KWin stopped %1 at its start: see KWin's log").arg(file);
    return loaded.value_or(false);
}

} // namespace

std::unique_ptr<KWinScript> KWinScript::Load(const QString& scriptPath, QString& error)
{
    error.clear();
    if (!KWinOnBus())
        return nullptr;
    // KWin reads the file itself, from its own working folder.
    const QFileInfo info(scriptPath);
    if (!info.isFile()) {
        error = QStringLiteral("There is no KWin script at %1").arg(scriptPath);
        return nullptr;
    }
    const QString file = info.absoluteFilePath();
    if (!UnloadLeftOver(error))
        return nullptr;
    const std::optional<int> id = LoadFile(file, error);
    if (!id)
        return nullptr;
    if (!Run(*id, file, error) || !StillLoaded(file, error)) {
        Unload();
        return nullptr;
    }
    return std::unique_ptr<KWinScript>(new KWinScript(*id));
}

KWinScript::KWinScript(int id)
    : id_(id)
{
}

KWinScript::~KWinScript()
{
    Unload();
}

bool KWinScript::Loaded() const
{
    QString notAnswered;
    return ScriptLoaded(notAnswered).value_or(true);
}

} // namespace platform
