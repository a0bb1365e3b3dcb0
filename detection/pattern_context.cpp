#include "detection/pattern_context.h"

#include "platform/foreground.h"

#include <utility>

TPatternContext ReadPatternContext()
{
    platform::ForegroundWindow window = platform::GetForegroundWindow();
    return {platform::AnyPointerButtonHeld(), window.fullScreen, std::move(window.windowClass)};
}
