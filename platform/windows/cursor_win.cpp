#include "platform/cursor.h"

#include "platform/windows/win32.h"

namespace platform {

bool GetCursorPos(Point& position)
{
    POINT cursor{};
    if (!::GetCursorPos(&cursor))
        return false;
    position.x = cursor.x;
    position.y = cursor.y;
    return true;
}

std::int32_t GetSystemMetrics(SystemMetric metric)
{
    return ::GetSystemMetrics(metric == SystemMetric::ScreenWidth ? SM_CXSCREEN : SM_CYSCREEN);
}

} // namespace platform
