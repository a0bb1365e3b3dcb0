#pragma once
// The GNOME Shell extension through which the program follows the pointer in
// a GNOME Wayland session (resources/gnome-shell): whether the running shell
// has it on, and turning it on. The shell loads extensions only when it
// starts, so one installed later is unknown to it until the next login.
// Every call waits for the shell at most CallTimeout.

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

namespace platform {

enum class GnomeExtensionState {
    NotGnome,       // no GNOME Shell on the session bus
    Running,        // on: the pointer's reports come
    Off,            // installed and loaded, not on
    UnknownToShell, // not there when the shell started: log out and in
    Failed,         // the shell could not run it, or did not answer
};

struct GnomeExtensionStatus {
    GnomeExtensionState state = GnomeExtensionState::NotGnome;
    // Why, for Failed: the shell's error text, or the bus's.
    QString error;
    // For Off: whether Enable() can turn it on. Not when the user has turned
    // off all extensions in the shell, or the setting is locked.
    bool canEnable = false;
};

class GnomeExtension {
public:
    static constexpr int CallTimeout = 2000; // milliseconds
    static constexpr char Uuid[] = "pointer@quorzane.org";

    explicit GnomeExtension(const QDBusConnection& bus = QDBusConnection::sessionBus());

    GnomeExtensionStatus Query() const;

    // Asks the shell to turn the extension on, which it does for good (it is
    // the user's own setting) and at once, a moment after the answer. True
    // when the shell took the request.
    bool Enable() const;

private:
    QDBusMessage CallShell(const QString& method) const;

    QDBusConnection bus_;
};

// What the shell's description of the extension (GetExtensionInfo) says.
GnomeExtensionStatus StatusFromInfo(const QVariantMap& info);

} // namespace platform
