// The corners of every monitor: which outer corners count, and the recogniser
// on them, following the monitors as they change.

#include "detection/corner_map.h"
#include "detection/monitor_corners.h"
#include "detection/mousedetect.h"

#include "platform/double/cursor_double.h"
#include "platform/double/monitors_double.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::MonitorRect;
using Pixel = std::pair<std::int32_t, std::int32_t>;

struct Layout {
    std::string name;
    std::vector<MonitorRect> monitors;
    // Every pixel that is a corner, with its event; every other corner pixel
    // of the monitors must be none.
    std::map<Pixel, int> corners;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

constexpr int UL = EventUpperLeftCorner;
constexpr int LL = EventLowerLeftCorner;
constexpr int UR = EventUpperRightCorner;
constexpr int LR = EventLowerRightCorner;

const MonitorRect Primary{0, 0, 800, 600};

std::vector<Layout> Layouts()
{
    return {
        {"OneMonitorHasThePrimaryScreensCorners", {Primary}, {{{0, 0}, UL}, {{799, 0}, UR}, {{0, 599}, LL}, {{799, 599}, LR}}},
        {"SideBySide", {Primary, {800, 0, 800, 600}}, {{{0, 0}, UL}, {{0, 599}, LL}, {{1599, 0}, UR}, {{1599, 599}, LR}}},
        {"Stacked", {Primary, {0, 600, 800, 600}}, {{{0, 0}, UL}, {{799, 0}, UR}, {{0, 1199}, LL}, {{799, 1199}, LR}}},
        // The taller primary's lower right corner stops the pointer: the
        // second monitor ends above it, and nothing lies below or beyond.
        {"OffsetHeights",
         {{0, 0, 1024, 768}, {1024, 0, 800, 600}},
         {{{0, 0}, UL}, {{0, 767}, LL}, {{1023, 767}, LR}, {{1823, 0}, UR}, {{1823, 599}, LR}}},
        {"LeftOfThePrimaryAtNegativeX",
         {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}},
         {{{-1280, 0}, UL}, {{-1280, 1023}, LL}, {{0, 1079}, LL}, {{1919, 0}, UR}, {{1919, 1079}, LR}}},
        {"AboveThePrimaryAtNegativeY",
         {Primary, {0, -600, 800, 600}},
         {{{0, -600}, UL}, {{799, -600}, UR}, {{0, 599}, LL}, {{799, 599}, LR}}},
        // Corner to corner: the pointer goes on diagonally from one into the
        // other, so neither of the touching corners counts.
        {"TouchingDiagonally",
         {Primary, {800, 600, 800, 600}},
         {{{0, 0}, UL}, {{799, 0}, UR}, {{0, 599}, LL}, {{1599, 600}, UR}, {{800, 1199}, LL}, {{1599, 1199}, LR}}},
        {"MirroredMonitorsShareTheirCorners",
         {Primary, Primary},
         {{{0, 0}, UL}, {{799, 0}, UR}, {{0, 599}, LL}, {{799, 599}, LR}}},
        {"EmptyMonitorsAreLeftOut", {Primary, {800, 0, 0, 600}, {0, 600, 800, -5}},
         {{{0, 0}, UL}, {{799, 0}, UR}, {{0, 599}, LL}, {{799, 599}, LR}}},
    };
}

std::vector<Pixel> CornerPixelsOf(const std::vector<MonitorRect>& monitors)
{
    std::vector<Pixel> pixels;
    for (const MonitorRect& m : monitors) {
        const std::int32_t right = m.x + m.width - 1;
        const std::int32_t bottom = m.y + m.height - 1;
        pixels.insert(pixels.end(), {{m.x, m.y}, {right, m.y}, {m.x, bottom}, {right, bottom}});
    }
    return pixels;
}

class CornerMapLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(CornerMapLayouts, OnlyOuterCornersThatStopThePointerCount)
{
    const Layout& layout = GetParam();
    const TCornerMap map(layout.monitors);
    for (const auto& [pixel, event] : layout.corners) {
        EXPECT_EQ(map.CornerAt({pixel.first, pixel.second}), event) << "(" << pixel.first << ", " << pixel.second << ")";
        EXPECT_TRUE(map.InCornerRegion({pixel.first, pixel.second}));
    }
    for (const Pixel& pixel : CornerPixelsOf(layout.monitors)) {
        if (!layout.corners.contains(pixel)) {
            EXPECT_EQ(map.CornerAt({pixel.first, pixel.second}), NoEvent)
                << "seam (" << pixel.first << ", " << pixel.second << ")";
            EXPECT_FALSE(map.InCornerRegion({pixel.first, pixel.second}));
        }
    }
    // Beside a corner, along either edge, is no corner.
    for (const auto& [pixel, event] : layout.corners) {
        for (const Pixel& beside : {Pixel{pixel.first + 1, pixel.second}, Pixel{pixel.first - 1, pixel.second},
                                    Pixel{pixel.first, pixel.second + 1}, Pixel{pixel.first, pixel.second - 1}}) {
            if (!layout.corners.contains(beside)) {
                EXPECT_EQ(map.CornerAt({beside.first, beside.second}), NoEvent);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, CornerMapLayouts, ::testing::ValuesIn(Layouts()),
                         [](const auto& info) { return info.param.name; });

TEST(CornerMap, NoMonitorsNoCorners)
{
    EXPECT_TRUE(TCornerMap().Empty());
    EXPECT_TRUE(TCornerMap({{0, 0, 0, 0}}).Empty());
    EXPECT_FALSE(TCornerMap({Primary}).Empty());
}

TEST(CornerMap, MonitorsAtTheEndOfTheRangeDoNotOverflow)
{
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    const TCornerMap map({{Max - 9, Max - 9, 10, 10}, {Min, Min, Max, Max}});
    EXPECT_EQ(map.CornerAt({Max, Max}), LR);
    EXPECT_EQ(map.CornerAt({Min, Min}), UL);
    EXPECT_EQ(map.CornerAt({-2, -2}), LR);
}

// The recogniser with the hidden form's reader: the monitors' corners while
// the option is on, the primary screen's while it is off.
class EveryMonitorCorners : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetCursorAndScreen();
        platform::fake::ResetMonitors();
        platform::fake::SetMonitors({Primary, {800, 0, 800, 600}});
        corners = std::make_unique<TMonitorCorners>();
        SetCornerMapReader([this] { return optionOn ? &corners->Map() : nullptr; });
        platform::fake::SetCursor(500, 400);
        ResetMouseHistory();
    }
    void TearDown() override
    {
        SetCornerMapReader({});
        corners.reset();
        EXPECT_FALSE(platform::fake::WatchingMonitors());
    }

    // Rests on (x, y) for 20 ticks (a CornerWait of 1000 ms) and tells what
    // the last reported; every tick before it must report nothing.
    static int RestOn(std::int32_t x, std::int32_t y)
    {
        platform::fake::SetCursor(x, y);
        for (int tick = 1; tick < 20; ++tick) {
            if (const int event = DetectMousePattern(150, 200, 1000); event != NoEvent)
                return -event;
        }
        return DetectMousePattern(150, 200, 1000);
    }
    // Leaves any corner for the middle of the primary screen.
    static void MoveAway()
    {
        platform::fake::SetCursor(400, 300);
        DetectMousePattern(150, 200, 1000);
        DetectMousePattern(150, 200, 1000);
    }

    bool optionOn = true;
    std::unique_ptr<TMonitorCorners> corners;
};

TEST_F(EveryMonitorCorners, OuterCornersFireAndSeamsDoNot)
{
    const std::pair<Pixel, int> rests[] = {
        {{1599, 0}, UR}, {{1599, 599}, LR}, {{0, 0}, UL}, {{0, 599}, LL},
        {{799, 0}, NoEvent}, {{799, 599}, NoEvent}, {{800, 0}, NoEvent}, {{800, 599}, NoEvent},
    };
    for (const auto& [pixel, event] : rests) {
        EXPECT_EQ(RestOn(pixel.first, pixel.second), event) << "(" << pixel.first << ", " << pixel.second << ")";
        MoveAway();
    }
}

TEST_F(EveryMonitorCorners, OffThePrimaryScreensCornersStayInUse)
{
    optionOn = false;
    EXPECT_EQ(RestOn(799, 0), UR);
    MoveAway();
    EXPECT_EQ(RestOn(1599, 0), NoEvent);
    MoveAway();
    EXPECT_EQ(RestOn(800, 599), NoEvent);
}

TEST_F(EveryMonitorCorners, MonitorsThatCannotBeToldLeaveThePrimaryScreensCorners)
{
    platform::fake::SetMonitors({});
    EXPECT_EQ(RestOn(799, 599), LR);
    MoveAway();
    EXPECT_EQ(RestOn(1599, 599), NoEvent);
}

TEST_F(EveryMonitorCorners, AMonitorUnpluggedWhileRunningIsFollowed)
{
    EXPECT_EQ(RestOn(799, 0), NoEvent);
    MoveAway();
    platform::fake::SetMonitors({Primary});
    EXPECT_EQ(RestOn(799, 0), UR);
    MoveAway();
    EXPECT_EQ(RestOn(799, 599), LR);
    MoveAway();
    platform::fake::SetMonitors({{-800, 0, 800, 600}, Primary});
    EXPECT_EQ(RestOn(0, 0), NoEvent);
    MoveAway();
    EXPECT_EQ(RestOn(-800, 599), LL);
}

TEST_F(EveryMonitorCorners, TheLatchHoldsFromCornerToCornerAndLetsGoOnAnEdgeOrASeam)
{
    EXPECT_EQ(RestOn(1599, 599), LR);
    EXPECT_TRUE(CornerLatched);
    platform::fake::SetCursor(0, 0);
    EXPECT_EQ(DetectMousePattern(150, 200, 0), NoEvent);
    EXPECT_TRUE(CornerLatched) << "straight to another corner";
    EXPECT_TRUE(MouseDetectInertAt({0, 0}));
    EXPECT_FALSE(MouseDetectInertAt({799, 0})) << "a seam is no corner region";
    platform::fake::SetCursor(799, 0);
    EXPECT_EQ(DetectMousePattern(150, 200, 0), NoEvent);
    EXPECT_FALSE(CornerLatched) << "on a seam";
    EXPECT_EQ(RestOn(1599, 0), UR);
    platform::fake::SetCursor(1599, 1);
    DetectMousePattern(150, 200, 0);
    EXPECT_FALSE(CornerLatched) << "along the edge";
}

TEST_F(EveryMonitorCorners, ACursorAtRestOnASeamIsInert)
{
    platform::fake::SetCursor(799, 0);
    ResetMouseHistory();
    EXPECT_TRUE(MouseDetectInertAt({799, 0}));
    EXPECT_FALSE(MouseDetectInertAt({1599, 0}));
    optionOn = false;
    EXPECT_FALSE(MouseDetectInertAt({799, 0}));
}

} // namespace
