#include "platform/double/help_double.h"
#include "platform/help.h"

namespace platform {
namespace {
struct FakeHelpState {
    std::vector<fake::HelpRequest> requests;
    bool result = true;
};
FakeHelpState state;
} // namespace

bool WinHelp(HelpOwner owner, const std::string& helpFile, std::uint32_t command, std::uint32_t data)
{
    state.requests.push_back({owner, helpFile, command, data});
    return state.result;
}

namespace fake {
const std::vector<HelpRequest>& HelpRequests() { return state.requests; }
void SetHelpResult(bool result) { state.result = result; }
void ResetHelp() { state = FakeHelpState{}; }
} // namespace fake

} // namespace platform
