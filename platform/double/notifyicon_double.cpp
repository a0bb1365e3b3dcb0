#include "platform/double/notifyicon_double.h"

namespace platform {
namespace {
struct FakeShellState {
    std::vector<fake::ShellRequest> requests;
    bool succeeds = true;
};
FakeShellState state;
} // namespace

bool Shell_NotifyIconA(NotifyIconMessage message, const TNotifyIconData& data)
{
    state.requests.push_back({message, data});
    return state.succeeds;
}

namespace fake {
const std::vector<ShellRequest>& ShellRequests() { return state.requests; }
void SetShellSucceeds(bool succeeds) { state.succeeds = succeeds; }
void ResetShell() { state = FakeShellState{}; }
} // namespace fake

} // namespace platform
