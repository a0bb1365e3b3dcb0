#include "launch/chooser_list.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ChooserEntries, ListsConfiguredCommandsInEventOrderWithoutMerging)
{
    TSettings settings;
    const char* commands[] = {"NOTEPAD.EXE", "?", "", "CALC.EXE", "?", "", "", "NOTEPAD.EXE"};
    for (int event = 1; event <= EventCount; ++event)
        EventCommand(settings, event) = commands[event - 1];
    EXPECT_THAT(ChooserEntries(settings), ElementsAre("NOTEPAD.EXE", "CALC.EXE", "NOTEPAD.EXE"));
}

TEST(ChooserEntries, NearlyAQuestionMarkAndSwitchedOffEventsAreListed)
{
    TSettings settings;
    settings.Event2 = " ?";
    settings.Event3 = "??";
    settings.Event6 = "/usr/bin/xterm -e top";
    settings.DetectEvent6 = false;
    EXPECT_THAT(ChooserEntries(settings), ElementsAre(" ?", "??", "/usr/bin/xterm -e top"));
}

TEST(ChooserEntries, LongEntriesStayWholeAndNothingConfiguredGivesNothing)
{
    TSettings settings;
    EXPECT_THAT(ChooserEntries(settings), IsEmpty());
    settings.Event8 = std::string(300, 'x');
    EXPECT_THAT(ChooserEntries(settings), ElementsAre(std::string(300, 'x')));
}

} // namespace
