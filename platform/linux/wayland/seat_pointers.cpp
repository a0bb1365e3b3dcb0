#include "platform/linux/wayland/seat_pointers.h"

#include <wayland-client.h>

#include <algorithm>
#include <utility>

namespace platform::wayland {
namespace {

// Version 5 is the newest whose pointer events are all handled below; 3
// brings the pointer's release and 5 the seat's.
constexpr std::uint32_t SeatVersion = 5;

} // namespace

struct SeatPointers::Seat {
    const Events* events = nullptr;
    std::uint32_t name = 0;
    Owned<wl_seat> seat;
    Owned<wl_pointer> pointer;
    bool onSurface = false;

    void DropPointer()
    {
        pointer.reset();
        Leave();
    }

    void Leave()
    {
        if (std::exchange(onSurface, false))
            events->left();
    }

    static void OnCapabilities(void* data, wl_seat*, std::uint32_t capabilities)
    {
        auto& seat = *static_cast<Seat*>(data);
        const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
        if (hasPointer && !seat.pointer) {
            seat.pointer.reset(wl_seat_get_pointer(seat.seat.get()));
            wl_pointer_add_listener(seat.pointer.get(), &PointerListener, &seat);
        } else if (!hasPointer && seat.pointer) {
            seat.DropPointer();
        }
    }

    static void OnEnter(void* data, wl_pointer*, std::uint32_t, wl_surface* surface, wl_fixed_t, wl_fixed_t)
    {
        auto& seat = *static_cast<Seat*>(data);
        // A surface destroyed since the compositor sent this comes as null.
        if (!surface)
            return;
        seat.onSurface = true;
        seat.events->entered(surface);
    }

    static void OnLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) { static_cast<Seat*>(data)->Leave(); }

    static constexpr wl_seat_listener SeatListener = {
        .capabilities = OnCapabilities,
        .name = [](void*, wl_seat*, const char*) {},
    };

    static constexpr wl_pointer_listener PointerListener = {
        .enter = OnEnter,
        .leave = OnLeave,
        .motion = [](void*, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {},
        .button = [](void*, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        .axis = [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
        .frame = [](void*, wl_pointer*) {},
        .axis_source = [](void*, wl_pointer*, std::uint32_t) {},
        .axis_stop = [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
        .axis_discrete = [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
        .axis_value120 = [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    };
};

SeatPointers::SeatPointers(Events events)
    : events_(std::move(events))
{
}

SeatPointers::~SeatPointers() = default;

bool SeatPointers::Offer(wl_registry* registry, std::uint32_t name, std::string_view interface, std::uint32_t version)
{
    if (interface != wl_seat_interface.name)
        return false;
    auto seat = std::make_unique<Seat>();
    seat->events = &events_;
    seat->name = name;
    seat->seat.reset(static_cast<wl_seat*>(
        wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, SeatVersion))));
    wl_seat_add_listener(seat->seat.get(), &Seat::SeatListener, seat.get());
    seats_.push_back(std::move(seat));
    return true;
}

bool SeatPointers::Remove(std::uint32_t name)
{
    const auto gone = std::find_if(seats_.begin(), seats_.end(),
                                   [name](const std::unique_ptr<Seat>& seat) { return seat->name == name; });
    if (gone == seats_.end())
        return false;
    (*gone)->DropPointer();
    seats_.erase(gone);
    return true;
}

} // namespace platform::wayland
