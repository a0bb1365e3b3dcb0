#pragma once
// Which kind of tray the desktop offers, for the notification-area shell.
//
// Qt picks the kind once per process, when it makes its first tray icon: a
// StatusNotifierItem on D-Bus when a host is registered then, otherwise an
// XEmbed icon. A tray icon made before any tray exists would thus stay an
// XEmbed icon for good, lost on a desktop whose panel (slower than the
// autostart at login) is a D-Bus host. So icons are made only once a tray of
// either kind is there; until then the presence is looked for again whenever
// a tray announces itself: an XEmbed manager's MANAGER message on the root
// window, or the D-Bus watcher coming or a host registering with it. Nothing
// is polled, so a desktop without a tray costs no wake-ups.

#include <QAbstractNativeEventFilter>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <optional>

namespace platform {

enum class TrayKind { Unseen, XEmbed, StatusNotifier };

struct TrayBalloon {
    QString title;
    QString text;
};

class TrayPresence final : public QObject, private QAbstractNativeEventFilter {
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

private slots:
    void Look();

private:
    explicit TrayPresence(QObject* parent);
    ~TrayPresence() override;
    void WatchForTrays();
    void StopWatching();
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

    TrayKind kind_ = TrayKind::Unseen;
    QDBusServiceWatcher watcherWatch_;
    bool filtering_ = false;
    unsigned long managerAtom_ = 0;
    unsigned long selectionAtom_ = 0;
    std::optional<TrayBalloon> balloon_;
    QString toolTipNote_;
};

} // namespace platform
