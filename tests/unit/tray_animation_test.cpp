#include "shell/TrayAnimation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The frames that `ticks` ticks show from `frame`, the animation switched
// off after `onFor` ticks.
std::vector<std::string> Shown(int frame, int ticks, int onFor)
{
    std::vector<std::string> names;
    for (int tick = 0; tick < ticks; ++tick) {
        names.push_back(AnimationIconName(frame));
        frame = NextAnimationFrame(frame, tick < onFor);
    }
    return names;
}

TEST(TrayAnimation, AFullCycleShowsAllThirteenFramesThenStartsOver)
{
    const auto names = Shown(1, 14, 14);
    EXPECT_EQ(names.front(), "ICON_1");
    EXPECT_EQ(names[12], "ICON_13");
    EXPECT_EQ(names.back(), "ICON_1");
}

TEST(TrayAnimation, SwitchedOffAfterFrameSixItKeepsShowingFrameSeven)
{
    const auto names = Shown(1, 12, 6);
    EXPECT_EQ(names[5], "ICON_6");
    for (std::size_t i = 6; i < names.size(); ++i)
        EXPECT_EQ(names[i], "ICON_7") << i;
}

TEST(TrayAnimation, OffFromTheStartStaysOnFrameOne)
{
    EXPECT_EQ(Shown(1, 3, 0), (std::vector<std::string>{"ICON_1", "ICON_1", "ICON_1"}));
}

} // namespace
