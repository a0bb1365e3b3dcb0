#include "platform/linux/x11/pointer_probe.h"

#include <xcb/xcbext.h>

#include <cstdlib>

namespace platform {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
using QueryReply = std::unique_ptr<xcb_query_pointer_reply_t, FreeReply>;

} // namespace

PointerProbe::PointerProbe(const char* display)
    : connection_(xcb_connect(display, nullptr))
{
    if (xcb_connection_has_error(connection_) == 0)
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

PointerProbe::~PointerProbe() { xcb_disconnect(connection_); }

void PointerProbe::Ask()
{
    pending_ = xcb_query_pointer(connection_, root_);
    xcb_flush(connection_);
}

std::optional<RootPosition> PointerProbe::Now()
{
    if (xcb_connection_has_error(connection_) != 0)
        return std::nullopt;
    // An answer left from an earlier watch is stale.
    if (pending_)
        xcb_discard_reply(connection_, pending_->sequence);
    const QueryReply reply(xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr));
    Ask();
    if (!reply)
        return std::nullopt;
    return RootPosition{reply->root_x, reply->root_y};
}

PointerProbe::Seen PointerProbe::Look(const RootPosition& where)
{
    if (xcb_connection_has_error(connection_) != 0 || !pending_)
        return Seen::Lost;
    void* answer = nullptr;
    if (xcb_poll_for_reply(connection_, pending_->sequence, &answer, nullptr) == 0)
        return xcb_connection_has_error(connection_) != 0 ? Seen::Lost : Seen::NotYet;
    const QueryReply reply(static_cast<xcb_query_pointer_reply_t*>(answer));
    Ask();
    if (!reply)
        return Seen::Lost;
    return RootPosition{reply->root_x, reply->root_y} == where ? Seen::Same : Seen::Moved;
}

} // namespace platform
