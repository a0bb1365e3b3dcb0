// Moves the pointer of a wlroots compositor as a device does, through a
// virtual pointer (wlr-virtual-pointer): sway's seat has no pointer at all
// until a client makes one, and then the compositor routes its motion like a
// mouse's, enters and leaves included. One process makes a whole path, so
// that the pointer device stays the same throughout:
//
//   wlr_pointer WIDTH HEIGHT mousemove X Y | sleep SECONDS | click BUTTON ...
//
// WIDTH x HEIGHT is the extent of all outputs together: positions are sent
// as absolute motion over it, so (X, Y) lands on that pixel. A move goes in a
// few steps a couple of milliseconds apart, from the previous position.

#include "pointer_words.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <span>
#include <string_view>

namespace {

constexpr int MoveSteps = 4;
constexpr double StepPause = 0.002; // seconds

template <typename Proxy, void (*Destroy)(Proxy*)>
struct Destroyer {
    void operator()(Proxy* proxy) const { Destroy(proxy); }
};
template <typename Proxy, void (*Destroy)(Proxy*)>
using Owned = std::unique_ptr<Proxy, Destroyer<Proxy, Destroy>>;

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;
using Seat = Owned<wl_seat, wl_seat_destroy>;
using Manager = Owned<zwlr_virtual_pointer_manager_v1, zwlr_virtual_pointer_manager_v1_destroy>;
using VirtualPointer = Owned<zwlr_virtual_pointer_v1, zwlr_virtual_pointer_v1_destroy>;

struct Globals {
    Seat seat;
    Manager manager;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto& globals = *static_cast<Globals*>(data);
    const std::string_view named = interface;
    if (named == wl_seat_interface.name && !globals.seat)
        globals.seat.reset(static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
    else if (named == zwlr_virtual_pointer_manager_v1_interface.name && !globals.manager)
        globals.manager.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1)));
}

constexpr wl_registry_listener RegistryListener = {
    .global = OnGlobal,
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

std::uint32_t NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

struct Point {
    int x = 0;
    int y = 0;
};

std::uint32_t ButtonCode(int button)
{
    switch (button) {
    case 1:
        return BTN_LEFT;
    case 2:
        return BTN_MIDDLE;
    case 3:
        return BTN_RIGHT;
    default:
        return 0;
    }
}

class Mover {
public:
    Mover(wl_display* display, zwlr_virtual_pointer_v1* pointer, Point extent)
        : display_(display), pointer_(pointer), extent_(extent)
    {
    }

    bool Inside(Point point) const
    {
        return point.x >= 0 && point.y >= 0 && point.x < extent_.x && point.y < extent_.y;
    }

    bool MoveTo(int x, int y)
    {
        if (!Inside({x, y}))
            return false;
        MoveTo(Point{x, y});
        return true;
    }

    bool Click(int button)
    {
        const std::uint32_t code = ButtonCode(button);
        if (code == 0)
            return false;
        Press(code);
        return true;
    }

private:
    void MoveTo(Point to)
    {
        // The first move jumps: where the pointer was is not known.
        const Point from = moved_ ? last_ : to;
        const int steps = moved_ ? MoveSteps : 1;
        for (int step = 1; step <= steps; ++step) {
            Send({from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps});
            if (step < steps)
                pointer_words::Pause(StepPause);
        }
        last_ = to;
        moved_ = true;
    }

    void Press(std::uint32_t button)
    {
        for (const auto state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            zwlr_virtual_pointer_v1_button(pointer_, NowMs(), button, state);
            zwlr_virtual_pointer_v1_frame(pointer_);
        }
        wl_display_flush(display_);
    }

    void Send(Point at)
    {
        zwlr_virtual_pointer_v1_motion_absolute(pointer_, NowMs(), static_cast<std::uint32_t>(at.x),
                                                static_cast<std::uint32_t>(at.y), static_cast<std::uint32_t>(extent_.x),
                                                static_cast<std::uint32_t>(extent_.y));
        zwlr_virtual_pointer_v1_frame(pointer_);
        wl_display_flush(display_);
    }

    wl_display* display_;
    zwlr_virtual_pointer_v1* pointer_;
    Point extent_;
    Point last_;
    bool moved_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    Point extent;
    if (argc < 3 || !pointer_words::ParseInt(argv[1], extent.x) || !pointer_words::ParseInt(argv[2], extent.y) ||
        extent.x <= 0 || extent.y <= 0)
        return pointer_words::Usage("wlr_pointer", "the extent comes first, as two positive numbers", "WIDTH HEIGHT ");
    const Display display(wl_display_connect(nullptr));
    if (!display) {
        std::fprintf(stderr, "wlr_pointer: cannot connect to the Wayland display: %s\n", std::strerror(errno));
        return 1;
    }
    Globals globals;
    const Registry registry(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &RegistryListener, &globals);
    if (wl_display_roundtrip(display.get()) < 0 || !globals.manager) {
        std::fputs("wlr_pointer: the compositor offers no wlr-virtual-pointer\n", stderr);
        return 1;
    }
    const VirtualPointer pointer(
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager.get(), globals.seat.get()));
    Mover mover(display.get(), pointer.get(), extent);
    const int status = pointer_words::Run(mover, std::span<char*>(argv + 3, static_cast<std::size_t>(argc - 3)),
                                          "wlr_pointer", "WIDTH HEIGHT ");
    // Everything sent has been handled once the compositor answers.
    if (wl_display_roundtrip(display.get()) < 0) {
        std::fputs("wlr_pointer: the compositor ended the connection\n", stderr);
        return 1;
    }
    return status;
}
