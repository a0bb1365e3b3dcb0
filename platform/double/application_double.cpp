#include "platform/application.h"
#include "platform/double/application_double.h"

namespace platform {
namespace {
struct FakeApplicationState {
    int processMessagesCalls = 0;
    std::optional<int> quitRequested;
    int foregroundRequests = 0;
};
FakeApplicationState state;
} // namespace

void ProcessMessages() { ++state.processMessagesCalls; }
void PostQuitMessage(int exitCode) { state.quitRequested = exitCode; }
void SetForegroundWindow() { ++state.foregroundRequests; }

namespace fake {
int ProcessMessagesCalls() { return state.processMessagesCalls; }
std::optional<int> QuitRequested() { return state.quitRequested; }
int ForegroundRequests() { return state.foregroundRequests; }
void ResetApplication() { state = FakeApplicationState{}; }
} // namespace fake

} // namespace platform
