#pragma once
// The pointer as a Wayland compositor reports it. In a Wayland session
// XWayland sees the pointer only over X11 windows; a source of this kind
// stands in for the X server's pointer while it is in use.

#include "platform/cursor.h"
#include "platform/foreground.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace platform {

class CompositorPointer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The latest position relative to the primary screen; false before the
    // first report.
    virtual bool Position(Point& position) const = 0;

    // Calls `moved` once, from the message loop, at the first report that
    // the pointer has left `restingAt`. A second call replaces the first.
    virtual void WatchRest(const Point& restingAt, std::function<void()> moved) = 0;
    virtual void StopWatching() = 0;

    // Which source this is, for the user: "the KWin script".
    virtual QString Name() const = 0;

    // Asks the bridge, where it says nothing when it goes away, whether it
    // still runs; the source fails if not.
    virtual void CheckStillRunning() {}

    // Whether shakes can be seen, or only rests on the corners.
    virtual bool SeesShakes() const { return true; }

    // Whether a mouse button is down, and the active window, as the
    // compositor last reported them; none where it does not tell.
    virtual std::optional<bool> ButtonHeld() const { return std::nullopt; }
    virtual std::optional<ForegroundWindow> Foreground() const { return std::nullopt; }

signals:
    // The source can no longer report (its bridge went, or sent nonsense):
    // why, in a sentence for the user.
    void Failed(const QString& reason);
};

} // namespace platform
