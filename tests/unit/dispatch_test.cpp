#include "detection/dispatch.h"

#include <gtest/gtest.h>

namespace {

TSettings AllEnabled()
{
    TSettings settings;
    settings.DetectMouseMoveMents = true;
    for (int event = 1; event <= EventCount; ++event) {
        EventEnabled(settings, event) = true;
        EventCommand(settings, event) = "/usr/bin/prog" + std::to_string(event);
    }
    return settings;
}

TEST(Dispatch, EachEventLaunchesItsOwnCommand)
{
    TSettings settings = AllEnabled();
    for (int event = 1; event <= EventCount; ++event) {
        const TTickAction action = DispatchEvent(static_cast<TEventNumber>(event), settings);
        ASSERT_EQ(action.kind, TTickAction::Launch) << event;
        EXPECT_EQ(*action.command, "/usr/bin/prog" + std::to_string(event));
    }
}

TEST(Dispatch, NoEventAndNumbersOutsideTheTableDoNothing)
{
    TSettings settings = AllEnabled();
    for (const int event : {0, 9, 200, 255})
        EXPECT_EQ(DispatchEvent(static_cast<TEventNumber>(event), settings).kind, TTickAction::Nothing) << event;
}

TEST(Dispatch, SwitchesDropTheEvent)
{
    TSettings settings = AllEnabled();
    settings.DetectEvent3 = false;
    EXPECT_EQ(DispatchEvent(3, settings).kind, TTickAction::Nothing);
    for (const int other : {1, 2, 4, 5, 6, 7, 8})
        EXPECT_EQ(DispatchEvent(static_cast<TEventNumber>(other), settings).kind, TTickAction::Launch) << other;

    settings.DetectMouseMoveMents = false;
    for (int event = 1; event <= EventCount; ++event)
        EXPECT_EQ(DispatchEvent(static_cast<TEventNumber>(event), settings).kind, TTickAction::Nothing) << event;
}

TEST(Dispatch, OnlyAnExactQuestionMarkOpensTheChooser)
{
    TSettings settings = AllEnabled();
    settings.Event1 = "?";
    EXPECT_EQ(DispatchEvent(1, settings).kind, TTickAction::ShowChooser);
    for (const char* nearly : {" ?", "? ", "??", "?\n"}) {
        settings.Event1 = nearly;
        const TTickAction action = DispatchEvent(1, settings);
        ASSERT_EQ(action.kind, TTickAction::Launch) << nearly;
        EXPECT_EQ(*action.command, nearly);
    }
}

TEST(Dispatch, AnEmptyCommandDoesNothing)
{
    TSettings settings = AllEnabled();
    settings.Event7 = "";
    EXPECT_EQ(DispatchEvent(7, settings).kind, TTickAction::Nothing);
}

TEST(Dispatch, ReadsTheSettingsAsTheyStandAtTheTick)
{
    TSettings settings = AllEnabled();
    EXPECT_EQ(*DispatchEvent(2, settings).command, "/usr/bin/prog2");
    settings.Event2 = "/usr/bin/other";
    EXPECT_EQ(*DispatchEvent(2, settings).command, "/usr/bin/other");
}

} // namespace
