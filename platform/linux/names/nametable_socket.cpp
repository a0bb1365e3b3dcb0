// The name table on Linux: a name is held by a listening socket in the
// abstract namespace, so adding a name is the kernel's indivisible bind, and
// the name disappears with the last process that holds the socket, even one
// that was killed. The sockets are close-on-exec: started programs never
// inherit them.

#include "platform/nametable.h"

#include "platform/linux/names/local_socket.h"

#include <QPointer>

#include <map>

namespace platform {
namespace {

constexpr Atom FirstAtom = 0xC000;
constexpr int ProbeTimeoutMs = 500;

struct HeldName {
    QPointer<QLocalServer> server;
    int count = 0;
};

// The process's side of the table: the atom given to each name seen so far,
// and the names this process holds.
struct NameTable {
    std::map<QString, Atom> atoms;
    std::map<Atom, HeldName> held;
};

NameTable& Table()
{
    static NameTable table;
    return table;
}

QString SocketNameOf(const std::string& name)
{
    return linux_socket::AtomSocketName(QString::fromStdString(name));
}

Atom AtomOf(const QString& socketName)
{
    auto& atoms = Table().atoms;
    if (const auto found = atoms.find(socketName); found != atoms.end())
        return found->second;
    if (atoms.size() > 0xFFFF - FirstAtom)
        return NoAtom;
    const auto atom = static_cast<Atom>(FirstAtom + atoms.size());
    atoms.emplace(socketName, atom);
    return atom;
}

bool HeldHere(Atom atom) { return atom != NoAtom && Table().held.count(atom) != 0; }

// Nobody talks to a name's socket but the look-up, which only needs the
// connection to succeed; dropping connections at once keeps the backlog free.
void DropConnections(QLocalServer* server)
{
    while (QLocalSocket* connection = server->nextPendingConnection()) {
        connection->abort();
        connection->deleteLater();
    }
}

// Binds the name for this process; false when another process holds it
// (then `taken` is set) or sockets cannot be used.
bool Hold(const QString& socketName, Atom atom, bool* taken = nullptr)
{
    QLocalServer* server = linux_socket::Listen(socketName, taken);
    if (!server)
        return false;
    QObject::connect(server, &QLocalServer::newConnection, server, [server] { DropConnections(server); });
    Table().held[atom] = {server, 1};
    return true;
}

} // namespace

Atom GlobalFindAtom(const std::string& name)
{
    const QString socketName = SocketNameOf(name);
    const Atom atom = AtomOf(socketName);
    if (HeldHere(atom) || linux_socket::Connect(socketName, ProbeTimeoutMs))
        return atom;
    return NoAtom;
}

Atom GlobalAddAtom(const std::string& name)
{
    const QString socketName = SocketNameOf(name);
    const Atom atom = AtomOf(socketName);
    if (atom == NoAtom)
        return NoAtom;
    if (HeldHere(atom)) {
        ++Table().held[atom].count;
        return atom;
    }
    return Hold(socketName, atom) ? atom : NoAtom;
}

AtomLookUp GlobalFindOrAddAtom(const std::string& name)
{
    const QString socketName = SocketNameOf(name);
    const Atom atom = AtomOf(socketName);
    if (atom == NoAtom)
        return {};
    if (HeldHere(atom))
        return {atom, false};
    bool taken = false;
    if (Hold(socketName, atom, &taken))
        return {atom, true};
    // The kernel refused the bind because another process holds the name:
    // that settles it, even when the holder does not listen yet (it may be
    // between its bind and its listen) and a connection would be refused.
    if (taken)
        return {atom, false};
    return {linux_socket::Connect(socketName, ProbeTimeoutMs) ? atom : NoAtom, false};
}

void GlobalDeleteAtom(Atom atom)
{
    auto& held = Table().held;
    const auto entry = held.find(atom);
    if (entry == held.end() || --entry->second.count > 0)
        return;
    delete entry->second.server.data();
    held.erase(entry);
}

} // namespace platform
