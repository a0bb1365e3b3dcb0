#include "platform/pointer_activity.h"
#include "platform/double/pointer_activity_double.h"

#include <utility>

namespace platform {

void CheckPointerSource() {}
namespace {
struct FakeWatch {
    bool available = true;
    bool watching = false;
    Point restingAt;
    std::function<void()> moved;
};
FakeWatch watch;
} // namespace

bool WatchPointerRest(const Point& restingAt, std::function<void()> moved)
{
    if (!watch.available)
        return false;
    watch = {true, true, restingAt, std::move(moved)};
    return true;
}

void StopWatchingPointer()
{
    watch.watching = false;
    watch.moved = nullptr;
}

namespace fake {

bool WatchingPointer() { return watch.watching; }
Point WatchedRest() { return watch.restingAt; }

void ReportPointerMotion()
{
    if (!watch.watching)
        return;
    const std::function<void()> moved = std::move(watch.moved);
    StopWatchingPointer();
    moved();
}

void SetPointerActivityAvailable(bool available) { watch.available = available; }
void ResetPointerActivity() { watch = {}; }

} // namespace fake
} // namespace platform
