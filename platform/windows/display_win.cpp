// Every interactive Windows session has its desktop; a program started
// without one (as a service) has no screen to watch. The desktop never goes
// away before the session, whose end the termination watch handles.

#include "platform/display.h"

#include "platform/windows/win32.h"

namespace platform {

TDisplayHold::TDisplayHold()
{
    if (::GetSystemMetrics(SM_CXSCREEN) <= 0)
        reason_ = "this session has no desktop";
}

TDisplayHold::~TDisplayHold() = default;

void WatchDisplayLoss(std::function<void()>) {}

} // namespace platform
