#include "platform/linux/wayland/wayland_connection.h"

#include <QSocketNotifier>

#include <wayland-client.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform::wayland {
namespace {

std::string ProtocolErrorText(wl_display* display)
{
    const wl_interface* interface = nullptr;
    std::uint32_t objectId = 0;
    const std::uint32_t code = wl_display_get_protocol_error(display, &interface, &objectId);
    return "the compositor ended the connection with error " + std::to_string(code) + " on " +
           (interface ? interface->name : "an unknown object") + " " + std::to_string(objectId);
}

std::string LossReason(wl_display* display)
{
    const int error = wl_display_get_error(display);
    if (error == EPROTO)
        return ProtocolErrorText(display);
    if (error == EPIPE || error == ECONNRESET || error == 0)
        return "the compositor closed the connection";
    return std::string("the connection to the compositor failed: ") + std::strerror(error);
}

} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::Open(std::string& whyNot)
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) {
        whyNot = "WAYLAND_DISPLAY is not set";
        return nullptr;
    }
    Owned<wl_display> display(wl_display_connect(nullptr));
    if (!display) {
        whyNot = std::string("cannot connect to the Wayland display ") + name + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<WaylandConnection>(std::move(display));
}

WaylandConnection::WaylandConnection(Owned<wl_display> display)
    : display_(std::move(display))
{
}

// The notifiers go before the display whose socket they watch.
WaylandConnection::~WaylandConnection() = default;

void WaylandConnection::Serve(std::function<void(const std::string& reason)> lost)
{
    onLost_ = std::move(lost);
    const int fd = wl_display_get_fd(display_.get());
    readable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(readable_.get(), &QSocketNotifier::activated, [this] { ReadAndDispatch(); });
    writable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writable_->setEnabled(false);
    QObject::connect(writable_.get(), &QSocketNotifier::activated, [this] { Flush(); });
    if (DispatchQueued())
        Flush();
}

void WaylandConnection::Flush()
{
    if (lost_)
        return;
    const bool sent = wl_display_flush(display_.get()) >= 0;
    // A compositor that closed the connection may have said why before:
    // the read that follows finds it.
    if (sent || errno == EPIPE)
        WaitToWrite(false);
    else if (errno == EAGAIN)
        WaitToWrite(true);
    else
        Lose();
}

void WaylandConnection::WaitToWrite(bool waiting)
{
    if (writable_)
        writable_->setEnabled(waiting);
}

// The socket has something to read (or has closed). libwayland reads only
// once nothing is queued: what is queued goes first, then the read, then
// what it brought.
void WaylandConnection::ReadAndDispatch()
{
    while (!lost_ && wl_display_prepare_read(display_.get()) != 0) {
        if (!DispatchQueued())
            return;
    }
    if (lost_)
        return;
    if (wl_display_read_events(display_.get()) < 0) {
        Lose();
        return;
    }
    if (DispatchQueued())
        Flush();
}

bool WaylandConnection::DispatchQueued()
{
    if (wl_display_dispatch_pending(display_.get()) < 0) {
        Lose();
        return false;
    }
    return !lost_;
}

void WaylandConnection::Lose()
{
    if (lost_)
        return;
    lost_ = true;
    if (readable_) {
        readable_->setEnabled(false);
        writable_->setEnabled(false);
    }
    if (onLost_)
        onLost_(LossReason(display_.get()));
}

} // namespace platform::wayland
