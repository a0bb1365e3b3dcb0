#include "platform/linux/names/local_socket.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::linux_socket {
namespace {

// An abstract name fills sun_path after one leading zero byte, and Qt keeps
// one more byte free.
constexpr qsizetype MaximumNameBytes = sizeof(sockaddr_un::sun_path) - 2;

// Each X display is a session of its own, as each Windows session has its
// own atom table and windows: a copy on another display does not count.
QString Session()
{
    QString display = qEnvironmentVariable("DISPLAY");
    // ":0.1" names a screen of display ":0".
    const qsizetype colon = display.lastIndexOf(u':');
    if (const qsizetype dot = display.indexOf(u'.', colon); colon >= 0 && dot > colon)
        display.truncate(dot);
    return display;
}

QString SocketName(const char* kind, const QString& key)
{
    const QString prefix = QStringLiteral("qz-%1:%2:%3:").arg(QLatin1String(kind)).arg(::getuid()).arg(Session());
    const QString folded = key.toCaseFolded();
    if (QFile::encodeName(prefix + folded).size() <= MaximumNameBytes)
        return prefix + folded;
    // Long keys keep their identity through a digest of the folded text.
    const QByteArray digest = QCryptographicHash::hash(folded.toUtf8(), QCryptographicHash::Sha256).toHex();
    return prefix + QLatin1String("#") + QString::fromLatin1(digest);
}

} // namespace

QString AtomSocketName(const QString& name) { return SocketName("atom", name); }

QString WindowSocketName(const QString& className, const QString& title)
{
    // The class name's length keeps class and title apart whatever they hold.
    return SocketName("window", QString::number(className.size()) + ':' + className + ':' + title);
}

QLocalServer* Listen(const QString& name, bool* taken)
{
    if (!QCoreApplication::instance())
        return nullptr;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(name)) {
        if (taken)
            *taken = server->serverError() == QAbstractSocket::AddressInUseError;
        return nullptr;
    }
    server->setParent(QCoreApplication::instance());
    return server.release();
}

std::unique_ptr<QLocalSocket> Connect(const QString& name, int timeoutMs)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket->connectToServer(name);
    if (!socket->waitForConnected(timeoutMs))
        return nullptr;
    return socket;
}

bool PeerIsThisUser(const QLocalSocket& socket)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    const auto descriptor = static_cast<int>(socket.socketDescriptor());
    return descriptor >= 0 && ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

} // namespace platform::linux_socket
