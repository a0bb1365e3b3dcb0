// The settings' share of start-up: the program's folder and help file, and
// the help that only the very first start opens.

#include "settings/startup.h"

#include "platform/double/help_double.h"
#include "platform/double/profile_double.h"
#include "platform/double/system_double.h"
#include "platform/system.h"
#include "settings/global.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>

namespace {

TEST(DirectoryWithBackslash, KeepsThePathUpToItsLastSeparator)
{
    struct Case {
        const char* path;
        const char* directory;
    };
    const Case posixCases[] = {
        {"/usr/lib/quorzane/quorzane", "/usr/lib/quorzane/"},
        {"/quorzane", "/"},
        {"/opt/q/", "/opt/q/"},
        {"quorzane", "/"},
        {"", "/"},
        // Here ":" is part of a name, never the end of a drive.
        {"/mnt/c:/tools/quorzane", "/mnt/c:/tools/"},
        {"/opt/a:b", "/opt/"},
    };
    const Case windowsCases[] = {
        {"C:\\Program Files\\Quorzane\\QRVN.EXE", "C:\\Program Files\\Quorzane\\"},
        {"C:\\QRVN.EXE", "C:\\"},
        {"C:\\Tools\\", "C:\\Tools\\"},
        {"C:QRVN.EXE", "C:\\"},
        {"\\\\server\\share\\QRVN.EXE", "\\\\server\\share\\"},
        {"QRVN.EXE", "\\"},
        {"", "\\"},
    };
    const std::span<const Case> cases =
        platform::PathSeparator == '\\' ? std::span(windowsCases) : std::span(posixCases);
    for (const Case& c : cases)
        EXPECT_EQ(DirectoryWithBackslash(c.path), c.directory) << c.path;
}

class SettingsStartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::ResetProfiles();
        platform::fake::ResetSystem();
        platform::fake::ResetHelp();
        Settings = TSettings{};
    }

    static void GivenTimesInProgram(const std::string& value)
    {
        platform::fake::SetProfileFileText("QRVN.INI", "[OPTIONS]\nTimesInProgram=" + value + "\n");
    }
};

TEST_F(SettingsStartUp, TheFirstStartOpensTheHelpBesideTheProgramAndCountsItself)
{
    const std::string bin = platform::PathSeparator == '\\' ? "C:\\Quorzane\\bin\\" : "/opt/quorzane/bin/";
    platform::fake::SetHelpResult(false); // a missing help file changes nothing here
    StartSettings(bin + "quorzane");

    EXPECT_EQ(ProgramDirectory, bin);
    EXPECT_EQ(ApplicationHelpFile, bin + "QRVN.HLP");
    const platform::fake::HelpRequest firstStartHelp{platform::NoHelpOwner, bin + "QRVN.HLP", platform::HelpContext,
                                                     1012};
    EXPECT_EQ(platform::fake::HelpRequests(), std::vector{firstStartHelp});
    EXPECT_EQ(Settings.TimesInProgram, 1);
    EXPECT_EQ(Settings.Event1, "?");
    // Counted in memory only: the file is written at the next save.
    EXPECT_TRUE(platform::fake::ProfileWrites().empty());
}

TEST_F(SettingsStartUp, TheStoredCountDecidesOnTheHelp)
{
    struct Case {
        const char* stored;
        bool help;
        std::int32_t counted;
    };
    const Case cases[] = {
        {"0", true, 1},
        {"", true, 1},
        {"many", true, 1},
        {"1", false, 2},
        {"41", false, 42},
        {"-1", false, 0},
        {"2147483647", false, std::numeric_limits<std::int32_t>::max()},
    };
    for (const Case& c : cases) {
        platform::fake::ResetHelp();
        GivenTimesInProgram(c.stored);
        StartSettings("/opt/q/quorzane");
        EXPECT_EQ(platform::fake::HelpRequests().size(), c.help ? 1u : 0u) << c.stored;
        EXPECT_EQ(Settings.TimesInProgram, c.counted) << c.stored;
    }
}

TEST_F(SettingsStartUp, AFirstStartSavesTheCountOneAndTheNextStartShowsNoHelp)
{
    StartSettings("/opt/q/quorzane");
    SaveSettings();
    platform::fake::ResetHelp();
    StartSettings("/opt/q/quorzane");
    EXPECT_TRUE(platform::fake::HelpRequests().empty());
    EXPECT_EQ(Settings.TimesInProgram, 2);
}

} // namespace
