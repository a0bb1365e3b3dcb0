#pragma once
// Per-user local sockets in the abstract namespace, which stand in for the
// name table and for findable windows: binding a name is one indivisible
// step, and the kernel drops the name when its last holder ends.

#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

#include <memory>

namespace platform::linux_socket {

// The socket names of a name in the name table and of a window with its
// class name and title: private to this user and X display, without regard
// to case.
QString AtomSocketName(const QString& name);
QString WindowSocketName(const QString& className, const QString& title);

// A server bound to `name` and parented to the application object, or null
// when the name is taken (then `taken` is set, when given) or no application
// object exists.
QLocalServer* Listen(const QString& name, bool* taken = nullptr);

// A socket connected within `timeoutMs` to the server bound to `name`, or
// null when nothing listens there.
std::unique_ptr<QLocalSocket> Connect(const QString& name, int timeoutMs);

// Whether the process at the other end of `socket` runs as this user.
bool PeerIsThisUser(const QLocalSocket& socket);

} // namespace platform::linux_socket
