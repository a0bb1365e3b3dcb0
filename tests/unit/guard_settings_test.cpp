// The section of the rules against unmeant patterns: absent until the user
// sets one, then kept; bad values read as the defaults and are said.

#include "settings/global.h"

#include "platform/double/profile_double.h"
#include "platform/double/system_double.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::fake::ProfileFileText;

class GuardSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetProfiles();
        platform::fake::ResetSystem();
        platform::fake::SetWindowsDirectory("/home/ann/.config/quorzane");
        Settings = TSettings{};
    }

    static std::string SavedGuards()
    {
        SaveSettings();
        const std::string text = ProfileFileText("QRVN.INI").value_or("");
        const std::size_t section = text.find("[GUARDS]");
        return section == std::string::npos ? std::string() : text.substr(section);
    }
};

TEST_F(GuardSettingsTest, TheSectionIsWrittenOnlyOnceSetAndThenKeptAfterOptions)
{
    LoadSettings();
    EXPECT_EQ(SavedGuards(), "");

    Settings.Guards.NotInFullScreen = true;
    Settings.Guards.ListedPrograms = {"Gimp", "mpv"};
    EXPECT_EQ(SavedGuards(), "[GUARDS]\n"
                             "NotWhileButtonHeld=0\n"
                             "NotInFullScreen=1\n"
                             "NotInListedPrograms=0\n"
                             "EveryMonitorCorners=0\n"
                             "ListedPrograms=Gimp;mpv\n");

    // Back at the defaults, the section stays and says so.
    LoadSettings();
    EXPECT_TRUE(Settings.Guards.InFile);
    EXPECT_EQ(Settings.Guards.ListedPrograms, (std::vector<std::string>{"Gimp", "mpv"}));
    Settings.Guards = TGuardSettings{};
    Settings.Guards.InFile = true;
    EXPECT_NE(SavedGuards().find("NotInFullScreen=0\n"), std::string::npos);
}

TEST_F(GuardSettingsTest, BadValuesReadAsTheDefaultsAndAreSaid)
{
    platform::fake::SetProfileFileText("QRVN.INI", "[guards]\n"
                                                   "NotWhileButtonHeld=yes\n"
                                                   "NotInFullScreen=2\n"
                                                   "EveryMonitorCorners=0x1\n"
                                                   "NotInListedPrograms=\n");
    testing::internal::CaptureStderr();
    LoadSettings();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(Settings.Guards.NotWhileButtonHeld);
    EXPECT_TRUE(Settings.Guards.NotInFullScreen);
    EXPECT_TRUE(Settings.Guards.EveryMonitorCorners);
    EXPECT_FALSE(Settings.Guards.NotInListedPrograms);
    EXPECT_NE(said.find("NotWhileButtonHeld=yes"), std::string::npos) << said;
    EXPECT_NE(said.find("NotInListedPrograms="), std::string::npos) << said;
    EXPECT_EQ(said.find("NotInFullScreen"), std::string::npos) << said;
}

TEST_F(GuardSettingsTest, ProgramListsSplitOnSemicolonsWithoutBlanksOrEmptyParts)
{
    EXPECT_EQ(SplitProgramList(" Gimp ;;mpv;  "), (std::vector<std::string>{"Gimp", "mpv"}));
    EXPECT_EQ(SplitProgramList(""), std::vector<std::string>{});
    EXPECT_EQ(JoinProgramList({"a", "", "b c"}), "a;b c");
}

} // namespace
