#pragma once
// Looks at the pointer's position now and then without waiting for the
// server: each look sends a query and takes the answer to the one before,
// which has long arrived. On a connection of its own that nothing polls, so
// an answer wakes nobody.

#include <xcb/xcb.h>

#include <memory>
#include <optional>

namespace platform {

struct RootPosition {
    int x = 0;
    int y = 0;
    bool operator==(const RootPosition&) const = default;
};

class PointerProbe {
public:
    // Connects to `display` (a name as in DISPLAY).
    explicit PointerProbe(const char* display);
    ~PointerProbe();
    PointerProbe(const PointerProbe&) = delete;
    PointerProbe& operator=(const PointerProbe&) = delete;

    // Where the pointer is now, in root-window pixels, waiting for the
    // answer; none when the connection is lost. Sends the next query.
    std::optional<RootPosition> Now();

    enum class Seen { Same, Moved, NotYet, Lost };
    // Compares the answer to the last query with `where`, and sends the next
    // query; NotYet while that answer has not come.
    Seen Look(const RootPosition& where);

private:
    void Ask();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::optional<xcb_query_pointer_cookie_t> pending_;
};

} // namespace platform
