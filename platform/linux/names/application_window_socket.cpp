// The application window on Linux: its title is kept here and published as a
// listening socket named by the window's class and title, where other copies
// of this user find it and send it their requests. Only one window per class
// and title can be found: while another copy holds the title, this copy tries
// again now and then, so that it is found once the other has ended.

#include "platform/window.h"

#include "platform/linux/names/local_socket.h"
#include "platform/linux/names/window_requests.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace platform {
namespace {

constexpr int RetryIntervalMs = 500;

struct ApplicationWindow {
    std::string text;
    QPointer<QLocalServer> server;
};

ApplicationWindow& Own()
{
    static ApplicationWindow window;
    return window;
}

QString SocketNameOf(const std::string& title)
{
    return linux_socket::WindowSocketName(QString::fromLatin1(ApplicationWindowClass), QString::fromStdString(title));
}

void AnswerWhenComplete(QLocalSocket* connection)
{
    if (connection->state() != QLocalSocket::ConnectedState)
        return;
    if (!connection->canReadLine()) {
        if (connection->bytesAvailable() > window_requests::MaximumRequestBytes)
            connection->abort();
        return;
    }
    const QByteArray request = connection->readLine(window_requests::MaximumRequestBytes).trimmed();
    connection->write(window_requests::Answer(request) + '\n');
    connection->disconnectFromServer();
}

void Serve(QLocalSocket* connection)
{
    QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    // Abstract sockets carry no permissions: only this user's programs are heard.
    if (!linux_socket::PeerIsThisUser(*connection)) {
        connection->abort();
        connection->deleteLater();
        return;
    }
    QObject::connect(connection, &QLocalSocket::readyRead, connection,
                     [connection] { AnswerWhenComplete(connection); });
    AnswerWhenComplete(connection);
}

void Publish(const std::string& title);

void PublishLater()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        QTimer::singleShot(RetryIntervalMs, application, [] {
            if (!Own().server)
                Publish(Own().text);
        });
}

void Publish(const std::string& title)
{
    ApplicationWindow& own = Own();
    const QString name = SocketNameOf(title);
    if (own.server && own.server->serverName() == name)
        return;
    // The new name is bound before the old one is dropped, so that the window
    // is never missing while it is renamed.
    QLocalServer* server = linux_socket::Listen(name);
    delete own.server.data();
    own.server = server;
    if (!server) {
        PublishLater();
        return;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* connection = server->nextPendingConnection())
            Serve(connection);
    });
}

} // namespace

std::string GetApplicationWindowText() { return Own().text; }

void SetApplicationWindowText(const std::string& text)
{
    Own().text = text;
    Publish(text);
}

QString window_requests::PublishedApplicationWindow()
{
    const QLocalServer* server = Own().server;
    return server ? server->serverName() : QString();
}

} // namespace platform
