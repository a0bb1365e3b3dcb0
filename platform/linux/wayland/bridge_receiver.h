#pragma once
// The program's end of a bridge inside the compositor (the KWin script, the
// GNOME Shell extension). The bridge calls Moved(x, y) on the session bus,
// in the compositor's global coordinates, at the first motion after a rest
// and then at most every 50 ms while the pointer moves; nothing at rest.
// It also calls ActiveWindow(fullScreen, class) when the active window or
// its full-screen state changes and, where the compositor tells,
// ButtonsHeld(held). Calls from anyone but the compositor are refused.

#include "platform/linux/wayland/compositor_pointer.h"

#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

namespace platform {

class BridgeReceiver final : public CompositorPointer, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quorzane.Quorzane.Pointer")

public:
    // Takes the program's name and object on the session bus and listens to
    // the connection that owns `compositorService`; `name` says which bridge
    // it is. Nullptr, with the reason in `error`, where that fails.
    static std::unique_ptr<BridgeReceiver> Listen(const QString& compositorService, const QString& name,
                                                  QString& error);
    ~BridgeReceiver() override;

    // Keeps what holds the bridge in the compositor (the loaded script) for
    // as long as the receiver listens.
    void HoldBridge(std::shared_ptr<void> bridge) { bridge_ = std::move(bridge); }

    bool Position(Point& position) const override;
    void WatchRest(const Point& restingAt, std::function<void()> moved) override;
    void StopWatching() override;
    QString Name() const override { return name_; }

    // The bridge has stopped (turned off in the compositor): the source
    // fails with `reason`, once.
    void Fail(const QString& reason);

    // A bridge that can be ended without a word (a KWin script unloaded by
    // the user) is asked by `stillRunning` when the user next deals with the
    // program; the source fails with `whenGone` if it has gone.
    void AskWhetherRunning(std::function<bool()> stillRunning, const QString& whenGone);
    void CheckStillRunning() override;

    // A bridge reports where the pointer is as soon as it runs: one that has
    // said nothing after `milliseconds` never started, and the source fails.
    void ExpectFirstReportWithin(int milliseconds);

    // What the bridge last said; nothing before it said anything.
    std::optional<bool> ButtonHeld() const override { return buttonsHeld_; }
    std::optional<ForegroundWindow> Foreground() const override { return activeWindow_; }

public slots:
    Q_SCRIPTABLE Q_NOREPLY void Moved(int x, int y);
    Q_SCRIPTABLE Q_NOREPLY void ActiveWindow(bool fullScreen, const QString& windowClass);
    Q_SCRIPTABLE Q_NOREPLY void ButtonsHeld(bool held);

private:
    BridgeReceiver(const QString& compositorService, const QString& owner, const QString& name);
    void OwnerChanged(const QString& newOwner);
    void StopListening();
    bool FromBridge() const;

    QString name_;
    QString owner_;
    QDBusServiceWatcher ownerWatch_;
    std::optional<Point> position_;
    std::optional<ForegroundWindow> activeWindow_;
    std::optional<bool> buttonsHeld_;
    std::function<void()> moved_;
    bool failed_ = false;
    std::shared_ptr<void> bridge_;
    QTimer firstReport_;
    std::function<bool()> stillRunning_;
    QString whenGone_;
};

// The session-bus name, object and interface that bridges call.
inline constexpr char BridgeService[] = "org.quorzane.Quorzane";
inline constexpr char BridgePath[] = "/org/quorzane/Quorzane/Pointer";

// A running bridge reports at once; this leaves room for a busy desktop.
inline constexpr int BridgeFirstReportWait = 10000; // milliseconds

} // namespace platform
