#include "platform/double/notifyicon_double.h"

namespace platform {
namespace {
struct FakeShellState {
    std::vector<fake::ShellRequest> requests;
    bool succeeds = true;
    MenuHandle offeredMenu = 0;
    bool areaPresent = true;
};
FakeShellState state;
} // namespace

bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data)
{
    state.requests.push_back({message, data});
    return state.succeeds;
}

bool OfferNotifyIconMenu(const TNotifyIconData& /*data*/, MenuHandle menu)
{
    state.offeredMenu = menu;
    return state.succeeds;
}

bool NotificationAreaPresent() { return state.areaPresent; }

namespace fake {
MenuHandle OfferedMenu() { return state.offeredMenu; }
const std::vector<ShellRequest>& ShellRequests() { return state.requests; }
void SetShellSucceeds(bool succeeds) { state.succeeds = succeeds; }
void SetNotificationAreaPresent(bool present) { state.areaPresent = present; }
void ResetShell() { state = FakeShellState{}; }
} // namespace fake

} // namespace platform
