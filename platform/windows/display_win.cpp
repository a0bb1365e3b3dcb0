// Every interactive Windows session has its desktop; a program started
// without one (as a service) has no screen to watch.

#include "platform/display.h"

#include "platform/windows/win32.h"

namespace platform {

std::string DisplayUnavailableReason()
{
    if (::GetSystemMetrics(SM_CXSCREEN) > 0)
        return {};
    return "this session has no desktop";
}

} // namespace platform
