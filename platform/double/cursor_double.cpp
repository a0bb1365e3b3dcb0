#include "platform/cursor.h"
#include "platform/double/cursor_double.h"

namespace platform {
namespace {
struct FakeCursorState {
    Point cursor;
    bool readFails = false;
    std::int32_t width = 800;
    std::int32_t height = 600;
    int reads = 0;
};
FakeCursorState state;
} // namespace

bool GetCursorPos(Point& position)
{
    ++state.reads;
    if (state.readFails)
        return false;
    position = state.cursor;
    return true;
}

std::int32_t GetSystemMetrics(SystemMetric metric)
{
    return metric == SystemMetric::ScreenWidth ? state.width : state.height;
}

namespace fake {
void SetCursor(std::int32_t x, std::int32_t y) { state.cursor = {x, y}; }
void SetCursorReadFails(bool fails) { state.readFails = fails; }
void SetScreenSize(std::int32_t width, std::int32_t height)
{
    state.width = width;
    state.height = height;
}
int CursorReads() { return state.reads; }
void ResetCursorAndScreen() { state = FakeCursorState{}; }
} // namespace fake

} // namespace platform
