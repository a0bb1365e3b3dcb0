#include "platform/foreground.h"
#include "platform/double/foreground_double.h"

namespace platform {
namespace {
struct FakeForeground {
    bool buttonHeld = false;
    ForegroundWindow window;
    int buttonReads = 0;
    int windowReads = 0;
};
FakeForeground state;
} // namespace

bool AnyPointerButtonHeld()
{
    ++state.buttonReads;
    return state.buttonHeld;
}

ForegroundWindow GetForegroundWindow()
{
    ++state.windowReads;
    return state.window;
}

namespace fake {
void SetPointerButtonHeld(bool held) { state.buttonHeld = held; }
void SetForegroundWindow(const ForegroundWindow& window) { state.window = window; }
int ButtonReads() { return state.buttonReads; }
int WindowReads() { return state.windowReads; }
void ResetForeground() { state = FakeForeground{}; }
} // namespace fake

} // namespace platform
