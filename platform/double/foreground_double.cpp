#include "platform/foreground.h"
#include "platform/double/foreground_double.h"

namespace platform {
namespace {
struct FakeForeground {
    bool buttonHeld = false;
    ForegroundWindow window;
    int reads = 0;
};
FakeForeground state;
} // namespace

bool AnyPointerButtonHeld()
{
    ++state.reads;
    return state.buttonHeld;
}

ForegroundWindow GetForegroundWindow()
{
    ++state.reads;
    return state.window;
}

namespace fake {
void SetPointerButtonHeld(bool held) { state.buttonHeld = held; }
void SetForegroundWindow(const ForegroundWindow& window) { state.window = window; }
int ForegroundReads() { return state.reads; }
void ResetForeground() { state = FakeForeground{}; }
} // namespace fake

} // namespace platform
