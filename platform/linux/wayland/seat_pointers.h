#pragma once
// The pointers of the compositor's seats. A seat's pointer comes and goes
// with its capabilities (sway's seat has none until a pointing device
// appears), so it is asked for and released as they change. Reports each
// enter, with the surface entered, and each leave; a pointer that goes while
// on a surface leaves it.

#include "platform/linux/wayland/proxy_owner.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace platform::wayland {

class SeatPointers {
public:
    struct Events {
        std::function<void(wl_surface* surface)> entered;
        std::function<void()> left;
    };

    explicit SeatPointers(Events events);
    ~SeatPointers();
    SeatPointers(const SeatPointers&) = delete;
    SeatPointers& operator=(const SeatPointers&) = delete;

    // Binds global `name` when it is a seat; false when it is not.
    bool Offer(wl_registry* registry, std::uint32_t name, std::string_view interface, std::uint32_t version);

    // Forgets the seat that was global `name`; false when none was.
    bool Remove(std::uint32_t name);

private:
    struct Seat;

    std::vector<std::unique_ptr<Seat>> seats_;
    Events events_;
};

} // namespace platform::wayland
