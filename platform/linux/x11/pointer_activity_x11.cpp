// Pointer activity on X11, on a connection of its own to Qt's X server, read
// from the message loop through a socket notifier:
// - XInput 2 raw motion on the root window, which every pointing device
//   sends (XTest's too) whatever window the pointer is over. It is asked for
//   only while watching: while the program samples the cursor anyway, a
//   mouse would otherwise wake it for each of its hundreds of reports a
//   second;
// - RandR's screen change notification, always asked for (it is rare);
// - a slow timer that compares the position, for warps, which move the
//   pointer without any device motion. Its query is answered while the
//   program sleeps and read at the next check (see pointer_probe.h), so
//   that each check costs one wake-up, not two.
// A lost connection ends the watch as motion would, so that the caller goes
// back to sampling and meets the lost display as it always does.

#include "platform/pointer_activity.h"

#include "platform/linux/x11/pointer_probe.h"
#include "platform/linux/x11/pointer_x11.h"
#include "platform/linux/x11/qt_x11.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/Xrandr.h>

#include <array>
#include <memory>
#include <optional>
#include <utility>

namespace platform {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

bool SamePoint(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

class PointerWatch final : public QObject {
public:
    explicit PointerWatch(QObject* parent)
        : QObject(parent)
    {
        safetyCheck_.setInterval(PointerRestCheckInterval);
        safetyCheck_.setTimerType(Qt::VeryCoarseTimer);
        connect(&safetyCheck_, &QTimer::timeout, this, &PointerWatch::CheckPosition);
        Connect();
    }

    bool Watch(const Point& restingAt, std::function<void()> moved)
    {
        if (!display_ || lost_)
            return false;
        moved_ = std::move(moved);
        SelectRawMotion(true);
        // Motion after the caller read the cursor but before the server took
        // the request sends no event that this connection gets: the round
        // trip orders the two, and a look after it finds such motion.
        XSync(display_.get(), False);
        const std::optional<RootPosition> now = probe_->Now();
        Point cursor;
        if (lost_ || !now || !x11::QueryCursorPos(cursor) || !SamePoint(cursor, restingAt))
            QTimer::singleShot(0, this, &PointerWatch::Fire);
        else
            restingAt_ = *now;
        // The round trip may have read events off the socket already, which
        // the notifier then never reports.
        if (!lost_ && XQLength(display_.get()) > 0)
            QTimer::singleShot(0, this, &PointerWatch::ReadEvents);
        safetyCheck_.start();
        return true;
    }

    void Stop()
    {
        moved_ = nullptr;
        safetyCheck_.stop();
        if (display_ && !lost_) {
            SelectRawMotion(false);
            XFlush(display_.get());
        }
    }

private:
    void Connect()
    {
        Display* qt = x11::QtDisplay();
        if (!qt)
            return;
        DisplayConnection display(XOpenDisplay(DisplayString(qt)));
        if (!display)
            return;
        int event = 0;
        int error = 0;
        int major = 2;
        int minor = 2;
        if (!XQueryExtension(display.get(), "XInputExtension", &inputOpcode_, &event, &error) ||
            XIQueryVersion(display.get(), &major, &minor) != Success)
            return;
        if (XRRQueryExtension(display.get(), &randrEventBase_, &error))
            XRRSelectInput(display.get(), DefaultRootWindow(display.get()), RRScreenChangeNotifyMask);
        XSetIOErrorExitHandler(display.get(), &PointerWatch::ConnectionLost, this);
        XFlush(display.get());
        probe_ = std::make_unique<PointerProbe>(DisplayString(display.get()));
        display_ = std::move(display);
        notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_.get()), QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &PointerWatch::ReadEvents);
    }

    // Xlib calls this instead of ending the program when the server goes.
    static void ConnectionLost(Display*, void* watch) { static_cast<PointerWatch*>(watch)->lost_ = true; }

    void SelectRawMotion(bool on)
    {
        std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
        if (on)
            XISetMask(bits.data(), XI_RawMotion);
        XIEventMask mask{XIAllMasterDevices, static_cast<int>(bits.size()), bits.data()};
        XISelectEvents(display_.get(), DefaultRootWindow(display_.get()), &mask, 1);
    }

    void ReadEvents()
    {
        bool moved = false;
        while (!lost_ && XPending(display_.get()) > 0) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            if (event.type == GenericEvent && event.xcookie.extension == inputOpcode_)
                moved = true;
            if (randrEventBase_ >= 0 && event.type == randrEventBase_ + RRScreenChangeNotify) {
                XRRUpdateConfiguration(&event);
                moved = true;
            }
        }
        if (lost_)
            notifier_->setEnabled(false);
        if (moved || lost_)
            Fire();
    }

    void CheckPosition()
    {
        const PointerProbe::Seen seen = probe_->Look(restingAt_);
        if (seen == PointerProbe::Seen::Moved || seen == PointerProbe::Seen::Lost)
            Fire();
    }

    void Fire()
    {
        if (!moved_)
            return;
        const std::function<void()> moved = std::move(moved_);
        Stop();
        moved();
    }

    DisplayConnection display_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<PointerProbe> probe_;
    QTimer safetyCheck_;
    int inputOpcode_ = -1;
    int randrEventBase_ = -1;
    bool lost_ = false;
    RootPosition restingAt_;
    std::function<void()> moved_;
};

// Made on first use, owned by the application object.
PointerWatch* Watcher()
{
    static QPointer<PointerWatch> watch;
    if (!watch && qGuiApp)
        watch = new PointerWatch(qGuiApp);
    return watch.data();
}

} // namespace

namespace x11 {

bool WatchPointerRest(const Point& restingAt, std::function<void()> moved)
{
    PointerWatch* watch = Watcher();
    return watch && watch->Watch(restingAt, std::move(moved));
}

void StopWatchingPointer()
{
    if (PointerWatch* watch = Watcher())
        watch->Stop();
}

} // namespace x11

} // namespace platform
