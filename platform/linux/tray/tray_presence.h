#pragma once
// Which kind of tray the desktop offers, for the notification-area shell.
//
// Qt picks the kind once per process, when it makes its first tray icon: a
// StatusNotifierItem on D-Bus when a host is registered then, otherwise an
// XEmbed icon. A tray icon made before any tray exists would thus stay an
// XEmbed icon for good, lost on a desktop whose panel (slower than the
// autostart at login) is a D-Bus host. So icons are made only once a tray of
// either kind is there; until then its presence is looked for every second.

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace platform {

enum class TrayKind { Unseen, XEmbed, StatusNotifier };

struct TrayBalloon {
    QString title;
    QString text;
};

class TrayPresence final : public QObject {
    Q_OBJECT

public:
    // The application's one instance, made at the first call and owned by
    // the application object; nullptr without one.
    static TrayPresence* Instance();

    // Unseen until a tray has been seen; then the kind that Qt uses, for good.
    TrayKind Kind() const { return kind_; }

    // A balloon for the first icon that is shown (kept until then).
    void RequestBalloon(const TrayBalloon& balloon);
    std::optional<TrayBalloon> TakeBalloon();

    // A line that the icons show below their own tool tip: where the pointer
    // comes from in a Wayland session. Empty for none.
    void SetToolTipNote(const QString& note);
    const QString& ToolTipNote() const { return toolTipNote_; }

signals:
    // Once, when Kind() stops being Unseen.
    void Found();
    void BalloonRequested();
    void ToolTipNoteChanged();

private:
    explicit TrayPresence(QObject* parent);
    void Look();

    TrayKind kind_ = TrayKind::Unseen;
    QTimer poll_;
    std::optional<TrayBalloon> balloon_;
    QString toolTipNote_;
};

} // namespace platform
