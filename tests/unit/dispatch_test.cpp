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

TEST(Dispatch, RulesAgainstUnmeantPatternsHoldEveryEventBackOnlyWhenOn)
{
    struct Case {
        const char* what;
        void (*turnOn)(TGuardSettings&);
        TPatternContext held, free;
    };
    const Case cases[] = {
        {"button", [](TGuardSettings& g) { g.NotWhileButtonHeld = true; }, {true, false, ""}, {false, false, ""}},
        {"full screen", [](TGuardSettings& g) { g.NotInFullScreen = true; }, {false, true, ""}, {false, false, ""}},
        {"listed", [](TGuardSettings& g) { g.NotInListedPrograms = true; g.ListedPrograms = {"mpv", "Gimp"}; },
         {false, false, "gimp"}, {false, false, "Gimp-2.10"}},
    };
    for (const Case& c : cases) {
        TSettings settings = AllEnabled();
        settings.Event1 = "?";
        const auto in = [&](const TPatternContext& context) { return [context] { return context; }; };
        for (int event = 1; event <= EventCount; ++event) {
            const auto number = static_cast<TEventNumber>(event);
            // Off, nothing is held back, and nothing is even asked.
            EXPECT_NE(DispatchEvent(number, settings, [] { return ADD_FAILURE(), TPatternContext{}; }).kind,
                      TTickAction::Nothing);
            c.turnOn(settings.Guards);
            EXPECT_EQ(DispatchEvent(number, settings, in(c.held)).kind, TTickAction::Nothing) << c.what << event;
            EXPECT_NE(DispatchEvent(number, settings, in(c.free)).kind, TTickAction::Nothing) << c.what << event;
            settings.Guards = {};
        }
    }
    // A listed program whose list is empty, or a window of no known class, holds nothing back.
    TGuardSettings listedButEmpty;
    listedButEmpty.NotInListedPrograms = true;
    EXPECT_FALSE(PatternSuppressed(listedButEmpty, {false, false, "mpv"}));
    listedButEmpty.ListedPrograms = {"mpv"};
    EXPECT_FALSE(PatternSuppressed(listedButEmpty, {false, false, ""}));
}

} // namespace
