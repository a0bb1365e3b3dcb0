#include "detection/mousedetect.h"

#include "platform/double/cursor_double.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using platform::fake::SetCursor;

constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();

struct Thresholds {
    std::int32_t distance = 150;
    std::int32_t time = 200;
    std::int32_t cornerWait = 1000;
};

struct Tick {
    std::int32_t x;
    std::int32_t y;
    int event;  // what the tick must report
};

// One example: the samples of successive ticks and the event of each tick,
// starting from a reset with the cursor at (500, 400) on an 800 x 600 screen.
struct Example {
    std::string name;
    Thresholds thresholds;
    std::vector<Tick> ticks;
};

std::vector<Tick> AlongX(const std::vector<std::int32_t>& xs, int lastEvent)
{
    std::vector<Tick> ticks;
    for (const std::int32_t x : xs)
        ticks.push_back({x, 400, 0});
    ticks.back().event = lastEvent;
    return ticks;
}

std::vector<Tick> AlongY(const std::vector<std::int32_t>& ys, int lastEvent)
{
    std::vector<Tick> ticks;
    for (const std::int32_t y : ys)
        ticks.push_back({500, y, 0});
    ticks.back().event = lastEvent;
    return ticks;
}

std::vector<Tick> Repeat(Tick tick, int count)
{
    std::vector<Tick> ticks(static_cast<std::size_t>(count), Tick{tick.x, tick.y, 0});
    ticks.back().event = tick.event;
    return ticks;
}

std::vector<Tick> Join(std::initializer_list<std::vector<Tick>> parts)
{
    std::vector<Tick> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void PrintTo(const Example& example, std::ostream* out) { *out << example.name; }

class Recogniser : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetCursorAndScreen();
        SetDetectionIntervalReader({});
        SetCursor(500, 400);
        ResetMouseHistory();
    }

    static void Play(const Example& example)
    {
        int number = 0;
        for (const Tick& tick : example.ticks) {
            ++number;
            SetCursor(tick.x, tick.y);
            const Thresholds& t = example.thresholds;
            ASSERT_EQ(DetectMousePattern(t.distance, t.time, t.cornerWait), tick.event)
                << example.name << ", tick " << number << " at (" << tick.x << ", " << tick.y << ")";
        }
    }
};

class RecogniserExamples : public Recogniser, public ::testing::WithParamInterface<Example> {};

TEST_P(RecogniserExamples, ReportsTheEventOfEachTick) { Play(GetParam()); }

struct RecogniserState {
    THistory x = HistoryX;
    THistory y = HistoryY;
    bool latched = CornerLatched;
    std::int32_t dwell = CornerDwell;
    bool operator==(const RecogniserState&) const = default;
};

// Where the recogniser calls itself inert, a tick changes nothing whatever the
// thresholds, so pausing there and resuming leaves the state as continuous
// ticking does; and a cursor that stays put makes it inert in the end.
TEST_P(RecogniserExamples, IsInertOnlyWhereATickChangesNothing)
{
    const Thresholds& t = GetParam().thresholds;
    const Thresholds extremes[] = {t, {Min, Min, Min}, {0, Max, 0}, {Max, 0, Max}, {-1, Min, 0}};
    std::vector<Tick> ticks = GetParam().ticks;
    const Tick last = ticks.back();
    const std::vector<Tick> rest = Repeat({last.x, last.y, 0}, 40);
    ticks.insert(ticks.end(), rest.begin(), rest.end());
    int number = 0;
    for (const Tick& tick : ticks) {
        ++number;
        SetCursor(tick.x, tick.y);
        if (!MouseDetectInertAt({tick.x, tick.y})) {
            EXPECT_LT(number, static_cast<int>(ticks.size())) << "a cursor at rest never made the state inert";
            DetectMousePattern(t.distance, t.time, t.cornerWait);
            continue;
        }
        ASSERT_TRUE(MouseDetectSettled());
        const RecogniserState before;
        for (const Thresholds& any : extremes) {
            ASSERT_EQ(DetectMousePattern(any.distance, any.time, any.cornerWait), 0) << "tick " << number;
            ASSERT_EQ(RecogniserState{}, before) << "tick " << number;
        }
    }
}

TEST_F(Recogniser, NotInertWhileTheStateCanStillChange)
{
    EXPECT_TRUE(MouseDetectInertAt({500, 400}));
    EXPECT_FALSE(MouseDetectInertAt({501, 400})) << "a new sample";
    Play({"", {}, {{420, 400, 0}}});
    EXPECT_FALSE(MouseDetectSettled()) << "samples that differ";
    Play({"", {}, Repeat({0, 0, 0}, 12)});
    EXPECT_FALSE(MouseDetectInertAt({0, 0})) << "dwell time grows on a corner pixel";
    Play({"", {}, Repeat({0, 0, 5}, 8)});
    EXPECT_TRUE(MouseDetectInertAt({0, 0})) << "latched in the corner";
    EXPECT_TRUE(MouseDetectInertAt({799, 0})) << "latched in another corner";
    EXPECT_FALSE(MouseDetectInertAt({0, 1})) << "the latch would clear";
    Play({"", {}, {{0, 1, 0}, {1, 0, 0}}});
    EXPECT_FALSE(MouseDetectInertAt({1, 0})) << "dwell time went back to zero, but samples differ";
}

const std::vector<std::int32_t> LeftRightLeft = {420, 340, 450, 560, 480, 380};
const std::vector<std::int32_t> UpDownUp = {320, 240, 350, 460, 380, 280};
const std::vector<std::int32_t> SpeedTest = {420, 340, 420, 500, 450, 400, 340};

INSTANTIATE_TEST_SUITE_P(
    Shakes, RecogniserExamples,
    ::testing::Values(
        Example{"left right left", {}, AlongX(LeftRightLeft, 1)},
        Example{"right left right", {}, AlongX({580, 660, 550, 440, 520, 620}, 2)},
        Example{"up down up", {}, AlongY(UpDownUp, 3)},
        Example{"down up down", {}, AlongY({480, 560, 450, 340, 420, 520}, 4)},
        Example{"fast enough at 125", {150, 125, 1000}, AlongX(SpeedTest, 1)},
        Example{"too slow at 100, and never later", {150, 100, 1000},
                Join({AlongX(SpeedTest, 0), Repeat({340, 400, 0}, 12)})},
        Example{"too slow for the window", {150, Max, 1000},
                AlongX({460, 420, 380, 340, 400, 460, 520, 470, 420, 360}, 0)},
        Example{"exactly the distance does not count", {}, AlongX({350, 501, 350}, 0)},
        Example{"one pixel more does", {}, AlongX({349, 500, 349}, 1)},
        Example{"distance zero", {0, 200, 1000}, AlongX({499, 500, 499}, 1)},
        Example{"horizontal wins over vertical",
                {},
                {{420, 320, 0}, {340, 240, 0}, {450, 350, 0}, {560, 460, 0}, {480, 380, 0}, {380, 280, 1}}},
        Example{"negative distance: no shakes", {-1, 200, 1000},
                Join({AlongX(LeftRightLeft, 0), AlongY(UpDownUp, 0), AlongX({0, 800, 0, 800, 0}, 0)})},
        Example{"negative distance: corners still", {Min, 200, 1000}, Repeat({0, 0, 5}, 20)},
        Example{"a shake's samples make no second event", {},
                Join({AlongX(LeftRightLeft, 1), AlongX({380, 380, 380, 380}, 0)})}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

INSTANTIATE_TEST_SUITE_P(
    Corners, RecogniserExamples,
    ::testing::Values(
        Example{"rest, latch, release", {},
                Join({Repeat({0, 0, 5}, 20), Repeat({0, 0, 0}, 3), {{799, 599, 0}, {0, 599, 0}, {3, 599, 0}},
                      Repeat({0, 0, 5}, 20)})},
        Example{"each corner pixel", {150, 200, 0},
                {{0, 0, 5}, {400, 300, 0}, {0, 599, 6}, {400, 300, 0}, {799, 0, 7}, {400, 300, 0}, {799, 599, 8}}},
        Example{"one pixel off never fires", {},
                Join({Repeat({1, 0, 0}, 30), Repeat({0, 598, 0}, 30), Repeat({798, 599, 0}, 30)})},
        Example{"one dwell shared by all corners", {}, Join({Repeat({0, 0, 0}, 10), Repeat({799, 0, 7}, 10)})},
        Example{"leaving the corner restarts the dwell", {},
                Join({Repeat({0, 0, 0}, 19), {{1, 0, 0}}, Repeat({0, 0, 5}, 20)})},
        Example{"corner wait zero", {150, 200, 0}, {{0, 599, 6}, {0, 599, 0}, {5, 599, 0}, {0, 599, 6}}},
        Example{"corner wait rounds up to whole ticks", {150, 200, 1001}, Repeat({799, 599, 8}, 21)},
        Example{"latch holds along a corner region", {150, 200, 0},
                {{0, 0, 5}, {-20, -20, 0}, {0, 650, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 5}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_F(Recogniser, ShakeLeavesTenCopiesOfItsLastSample)
{
    Play({"left right left", {}, AlongX(LeftRightLeft, 1)});
    for (int slot = 0; slot < HistoryLength; ++slot) {
        EXPECT_EQ(HistoryX[slot], 380);
        EXPECT_EQ(HistoryY[slot], 400);
    }
}

TEST_F(Recogniser, SamplesEnterAtTheNewEndAndLeaveAtTheOld)
{
    Play({"", {}, AlongX({420, 340, 450}, 0)});
    const THistory expected = {500, 500, 500, 500, 500, 500, 500, 420, 340, 450};
    EXPECT_EQ(HistoryX, expected);
}

TEST_F(Recogniser, LatchedTicksRecordNothing)
{
    Play({"", {150, 200, 0}, {{0, 0, 5}, {0, 599, 0}, {799, 599, 0}, {3, 599, 0}}});
    EXPECT_FALSE(CornerLatched);
    EXPECT_EQ(CornerDwell, 0);
    for (int slot = 0; slot < HistoryLength; ++slot)
        EXPECT_EQ(HistoryX[slot], 0) << slot;
}

TEST_F(Recogniser, OnePixelOffSetsTheDwellBackToZero)
{
    Play({"", {}, Repeat({0, 0, 0}, 5)});
    EXPECT_EQ(CornerDwell, 250);
    Play({"", {}, {{0, 598, 0}}});
    EXPECT_EQ(CornerDwell, 0);
}

TEST_F(Recogniser, FailedReadsChangeNothingWhileTracking)
{
    const std::vector<Tick> shake = AlongX(LeftRightLeft, 1);
    for (std::size_t n = 0; n < shake.size(); ++n) {
        platform::fake::SetCursorReadFails(true);
        const THistory before = HistoryX;
        const std::int32_t dwell = CornerDwell;
        EXPECT_EQ(DetectMousePattern(150, 200, 1000), 0);
        EXPECT_EQ(HistoryX, before);
        EXPECT_EQ(CornerDwell, dwell);
        platform::fake::SetCursorReadFails(false);
        SetCursor(shake[n].x, shake[n].y);
        EXPECT_EQ(DetectMousePattern(150, 200, 1000), shake[n].event) << "tick " << n;
    }
}

TEST_F(Recogniser, FailedReadsNeitherCountDwellNorReleaseTheLatch)
{
    Play({"", {}, Repeat({0, 0, 0}, 10)});
    platform::fake::SetCursorReadFails(true);
    EXPECT_EQ(DetectMousePattern(150, 200, 1000), 0);
    EXPECT_EQ(CornerDwell, 500);
    platform::fake::SetCursorReadFails(false);
    Play({"", {}, Repeat({0, 0, 5}, 10)});
    ASSERT_TRUE(CornerLatched);

    platform::fake::SetCursorReadFails(true);
    EXPECT_EQ(DetectMousePattern(150, 200, 1000), 0);
    EXPECT_TRUE(CornerLatched);
    platform::fake::SetCursorReadFails(false);
    Play({"", {}, {{0, 0, 0}, {400, 300, 0}, {0, 0, 0}}});
    EXPECT_FALSE(CornerLatched);
}

TEST_F(Recogniser, ResetWithoutACursorStillClearsLatchAndDwell)
{
    Play({"", {150, 200, 0}, {{0, 0, 5}}});
    platform::fake::SetCursorReadFails(true);
    ResetMouseHistory();
    EXPECT_FALSE(CornerLatched);
    EXPECT_EQ(CornerDwell, 0);
    EXPECT_EQ(HistoryX[0], 0);
}

TEST_F(Recogniser, CornerDwellGrowsByTheIntervalInForceAtEachTick)
{
    std::int32_t interval = 100;
    SetDetectionIntervalReader([&interval] { return interval; });
    Play({"", {}, Repeat({0, 0, 0}, 5)});
    EXPECT_EQ(CornerDwell, 500);
    interval = 250;
    Play({"", {}, {{0, 0, 0}, {0, 0, 5}}});
}

TEST_F(Recogniser, TheScreenSizeIsAskedAtEveryTick)
{
    Play({"", {150, 200, 0}, {{799, 599, 8}, {400, 300, 0}}});
    platform::fake::SetScreenSize(1024, 768);
    Play({"", {150, 200, 0}, {{799, 599, 0}, {1023, 767, 8}}});
}

TEST_F(Recogniser, ShakeDistancesBeyondThe32BitRangeAreMeasuredTrue)
{
    // Each leg spans more than 2^31 pixels: wrapped 32-bit arithmetic would
    // see no movement at all.
    Play({"", {Max - 1, Max, 1000}, {{Min, 400, 0}, {Max, 400, 0}, {Min, 400, 1}}});
    Play({"", {Min, Max, 1000}, {{Max, 400, 0}, {Min, 400, 0}, {Max, 400, 0}}});
    Play({"", {150, Min, 1000}, AlongX(LeftRightLeft, 0)});
}

TEST_F(Recogniser, DwellTimeSaturatesInsteadOfWrapping)
{
    std::int32_t interval = 10;
    SetDetectionIntervalReader([&interval] { return interval; });
    Play({"", {150, 200, Max}, {{799, 599, 0}}});
    interval = Max;
    Play({"", {150, 200, Max}, {{799, 599, 8}}});

    interval = Min;
    Play({"", {150, 200, 0}, {{400, 300, 0}, {0, 0, 0}, {0, 0, 0}}});
    EXPECT_EQ(CornerDwell, Min);
    Play({"", {150, 200, Min}, {{0, 0, 5}}});
}

TEST_F(Recogniser, ExtremeScreenSizesMatchNoCornerButTheOrigin)
{
    for (const auto& [width, height] : {std::pair{Min, Min}, std::pair{Max, Max}, std::pair{0, 0}}) {
        platform::fake::SetScreenSize(width, height);
        Play({"", {-1, 200, 0}, {{Max, Max, 0}, {Min, Min, 0}, {-2, -2, 0}}});
    }
}

} // namespace
