// Every detection tick, quiet or not, must run without touching the heap.

#include "detection/corner_map.h"
#include "detection/mousedetect.h"

#include "platform/double/cursor_double.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

long AllocationsDuring(std::int32_t x, std::int32_t y, std::int32_t cornerWait, int expected)
{
    platform::fake::SetCursor(x, y);
    const long before = Allocations.load();
    const int event = DetectMousePattern(150, 200, cornerWait);
    const long after = Allocations.load();
    EXPECT_EQ(event, expected);
    return after - before;
}

TEST(DetectionTick, AllocatesNothingOnQuietShakeAndCornerTicks)
{
    platform::fake::ResetCursorAndScreen();
    std::int32_t interval = 50;
    SetDetectionIntervalReader([&interval] { return interval; });
    platform::fake::SetCursor(500, 400);
    ResetMouseHistory();

    EXPECT_EQ(AllocationsDuring(500, 400, 1000, 0), 0) << "quiet tick";
    for (const std::int32_t x : {420, 340, 450, 560, 480})
        EXPECT_EQ(AllocationsDuring(x, 400, 1000, 0), 0);
    EXPECT_EQ(AllocationsDuring(380, 400, 1000, 1), 0) << "tick completing a shake";
    EXPECT_EQ(AllocationsDuring(0, 0, 1000, 0), 0) << "corner tick";
    EXPECT_EQ(AllocationsDuring(0, 0, 0, 5), 0) << "tick firing a corner";
    EXPECT_EQ(AllocationsDuring(0, 0, 0, 0), 0) << "latched tick";
    SetDetectionIntervalReader({});
}

// The corners of every monitor are looked up in a map made beforehand.
TEST(DetectionTick, AllocatesNothingOnTheMonitorsCorners)
{
    platform::fake::ResetCursorAndScreen();
    const TCornerMap map({{0, 0, 800, 600}, {800, 0, 800, 600}});
    SetCornerMapReader([&map] { return &map; });
    platform::fake::SetCursor(500, 400);
    ResetMouseHistory();

    EXPECT_EQ(AllocationsDuring(799, 0, 0, 0), 0) << "tick on a seam";
    EXPECT_EQ(AllocationsDuring(1599, 0, 0, 7), 0) << "tick firing a corner";
    EXPECT_EQ(AllocationsDuring(0, 0, 0, 0), 0) << "latched tick";
    SetCornerMapReader({});
}

} // namespace
