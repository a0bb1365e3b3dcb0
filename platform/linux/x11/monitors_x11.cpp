// Monitors on X11: RandR's monitors (each active output, or the monitors that
// the user defined), in pixels of the root window, read afresh when asked,
// which the caller does once at the start and then at each change. Qt follows
// RandR's notifications itself: its screens' signals tell of the changes.

#include "platform/monitors.h"

#include "platform/linux/x11/monitors_x11.h"
#include "platform/linux/x11/pointer_x11.h"
#include "platform/linux/x11/qt_x11.h"

#include <QGuiApplication>
#include <QObject>
#include <QScreen>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>
#include <span>
#include <utility>

namespace platform {
namespace {

struct MonitorsFree {
    void operator()(XRRMonitorInfo* monitors) const { XRRFreeMonitors(monitors); }
};

// Reports each change of Qt's screens: one added or removed, a new primary
// screen (positions count from its corner), a screen moved or resized.
class MonitorWatch final : public QObject {
public:
    explicit MonitorWatch(std::function<void()> changed)
        : changed_(std::move(changed))
    {
        connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
            Follow(screen);
            changed_();
        });
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { changed_(); });
        connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this] { changed_(); });
        for (QScreen* screen : QGuiApplication::screens())
            Follow(screen);
    }

    void Changed() const { changed_(); }

private:
    void Follow(QScreen* screen)
    {
        connect(screen, &QScreen::geometryChanged, this, [this] { changed_(); });
    }

    std::function<void()> changed_;
};

std::unique_ptr<MonitorWatch>& Watch()
{
    static std::unique_ptr<MonitorWatch> watch;
    return watch;
}

} // namespace

namespace x11 {

std::vector<MonitorRect> MonitorRects()
{
    Display* display = QtDisplay();
    if (!display)
        return {};
    int count = 0;
    // Nullptr from a server without RandR 1.5: the monitors cannot be told.
    const std::unique_ptr<XRRMonitorInfo, MonitorsFree> monitors(
        XRRGetMonitors(display, DefaultRootWindow(display), True, &count));
    if (!monitors)
        return {};
    const QPoint origin = PrimaryScreenOrigin();
    std::vector<MonitorRect> rects;
    for (const XRRMonitorInfo& monitor : std::span(monitors.get(), static_cast<std::size_t>(count)))
        rects.push_back({monitor.x - origin.x(), monitor.y - origin.y(), monitor.width, monitor.height});
    return rects;
}

void NoteMonitorsChanged()
{
    if (const std::unique_ptr<MonitorWatch>& watch = Watch())
        watch->Changed();
}

} // namespace x11

void WatchMonitors(std::function<void()> changed)
{
    Watch() = qGuiApp ? std::make_unique<MonitorWatch>(std::move(changed)) : nullptr;
}

void StopWatchingMonitors() { Watch().reset(); }

} // namespace platform
