#include "detection/pattern_context.h"

#include "platform/foreground.h"

#include <utility>

TPatternContext ReadPatternContext(const TGuardSettings& guards)
{
    TPatternContext context;
    if (guards.NotWhileButtonHeld)
        context.buttonHeld = platform::AnyPointerButtonHeld();
    if (guards.NotInFullScreen || guards.NotInListedPrograms) {
        platform::ForegroundWindow window = platform::GetForegroundWindow();
        context.fullScreen = window.fullScreen;
        context.windowClass = std::move(window.windowClass);
    }
    return context;
}
