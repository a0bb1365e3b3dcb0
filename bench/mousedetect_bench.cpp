// Cost of one detection tick: quiet, completing a shake, and resting on a
// corner, of the primary screen or of four monitors.

#include "detection/corner_map.h"
#include "detection/mousedetect.h"

#include "platform/double/cursor_double.h"

#include <benchmark/benchmark.h>

#include <limits>

namespace {

void StartAt(std::int32_t x, std::int32_t y)
{
    platform::fake::ResetCursorAndScreen();
    platform::fake::SetCursor(x, y);
    ResetMouseHistory();
}

void QuietTick(benchmark::State& state)
{
    StartAt(500, 400);
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectMousePattern(150, 200, 1000));
}
BENCHMARK(QuietTick);

void ShakeCompletingTick(benchmark::State& state)
{
    StartAt(380, 400);
    // The window five ticks into a left - right - left shake; the tick at
    // x = 380 completes it.
    const THistory window = {500, 500, 500, 500, 500, 420, 340, 450, 560, 480};
    for (auto _ : state) {
        HistoryX = window;
        benchmark::DoNotOptimize(DetectMousePattern(150, 200, 1000));
    }
}
BENCHMARK(ShakeCompletingTick);

void CornerTick(benchmark::State& state)
{
    StartAt(0, 0);
    // A dwell that never completes keeps every tick on the corner path.
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectMousePattern(150, 200, std::numeric_limits<std::int32_t>::max()));
}
BENCHMARK(CornerTick);

// Four monitors in a row: the map holds their eight outer corners, and the
// last monitor's lower right corner is looked up last.
void MonitorCornerTick(benchmark::State& state)
{
    const TCornerMap map({{0, 0, 800, 600}, {800, 0, 800, 600}, {1600, 0, 800, 600}, {2400, 0, 800, 600}});
    SetCornerMapReader([&map] { return &map; });
    StartAt(3199, 599);
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectMousePattern(150, 200, std::numeric_limits<std::int32_t>::max()));
    SetCornerMapReader({});
}
BENCHMARK(MonitorCornerTick);

} // namespace

BENCHMARK_MAIN();
