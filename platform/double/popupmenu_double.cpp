#include "platform/double/popupmenu_double.h"

namespace platform {
namespace {
struct FakePopupState {
    std::vector<fake::PopupRequest> requests;
    std::function<void()> whileOpen;
};
FakePopupState state;
} // namespace

bool TrackPopupMenu(MenuHandle menu, std::uint32_t flags, std::int32_t x, std::int32_t y)
{
    state.requests.push_back({menu, flags, x, y});
    if (state.whileOpen)
        state.whileOpen();
    return menu != 0;
}

namespace fake {
const std::vector<PopupRequest>& PopupRequests() { return state.requests; }
void SetWhilePopupOpen(std::function<void()> action) { state.whileOpen = std::move(action); }
void ResetPopupMenus() { state = FakePopupState{}; }
} // namespace fake

} // namespace platform
