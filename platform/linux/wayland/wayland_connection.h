#pragma once
// A Wayland client connection of the program's own, served by the Qt event
// loop: a socket notifier wakes it when the compositor has sent something,
// which is then read and dispatched at once, and the requests that the
// handlers made are sent before the loop sleeps again. Nothing runs while
// the compositor says nothing.
//
// When the compositor goes away or ends the connection with a protocol
// error, the connection stops watching its socket (a closed socket would
// otherwise wake the loop without end) and says so once.

#include "platform/linux/wayland/proxy_owner.h"

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform::wayland {

class WaylandConnection {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY; null, with the
    // reason in `whyNot`, when there is none to connect to.
    static std::unique_ptr<WaylandConnection> Open(std::string& whyNot);

    explicit WaylandConnection(Owned<wl_display> display);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return display_.get(); }

    // Starts serving the connection from the event loop: what is queued
    // already is dispatched now. `lost` is called once, from a dispatch,
    // when the connection ends.
    void Serve(std::function<void(const std::string& reason)> lost);

    // Sends the requests made so far; when the socket is full, the rest
    // goes as soon as it can take more.
    void Flush();

    bool IsLost() const { return lost_; }

private:
    void WaitToWrite(bool waiting);
    void ReadAndDispatch();
    bool DispatchQueued();
    void Lose();

    Owned<wl_display> display_;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    std::function<void(const std::string&)> onLost_;
    bool lost_ = false;
};

} // namespace platform::wayland
