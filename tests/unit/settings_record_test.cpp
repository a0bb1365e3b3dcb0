#include "settings/global.h"

#include "platform/double/system_double.h"
#include "platform/system.h"

#include <gtest/gtest.h>

namespace {

const std::string Separator(1, platform::PathSeparator);

class SettingsRecord : public ::testing::Test {
protected:
    void SetUp() override { platform::fake::ResetSystem(); }
};

TEST_F(SettingsRecord, WindowsDirectoryAlwaysAppendsOneSeparator)
{
    platform::fake::SetWindowsDirectory("/home/ann/.config/quorzane");
    EXPECT_EQ(WindowsDirectory(), "/home/ann/.config/quorzane" + Separator);
    // A root keeps its own separator and gets a second one, as the rule says.
    const std::string root = platform::PathSeparator == '\\' ? "C:\\" : "/";
    platform::fake::SetWindowsDirectory(root);
    EXPECT_EQ(WindowsDirectory(), root + Separator);
}

TEST_F(SettingsRecord, OnlyTheNtPlatformIdentifierCountsAsNt)
{
    platform::fake::SetPlatformId(platform::PlatformWin32NT);
    EXPECT_TRUE(IsWindowsNT());
    for (const std::uint32_t other : {platform::PlatformWin32s, platform::PlatformWin32Windows, 3u}) {
        platform::fake::SetPlatformId(other);
        EXPECT_FALSE(IsWindowsNT()) << other;
    }
}

TEST_F(SettingsRecord, DefaultCommandsOfBothPlatformFamilies)
{
    const std::string w = "C:\\WINDOWS\\";
    const char* nt[] = {"?", "C:\\WINDOWS\\EXPLORER.EXE /n,/e,C:\\", "C:\\WINDOWS\\NOTEPAD.EXE",
                        "C:\\WINDOWS\\System32\\CALC.EXE", "C:\\WINDOWS\\System32\\cmd.exe",
                        "C:\\WINDOWS\\System32\\PBRUSH.EXE", "", ""};
    const char* other[] = {"?", "C:\\WINDOWS\\EXPLORER.EXE /n,/e,C:\\", "C:\\WINDOWS\\NOTEPAD.EXE",
                           "C:\\WINDOWS\\CALC.EXE", "C:\\WINDOWS\\DOSPRMPT.PIF", "C:\\WINDOWS\\PBRUSH.EXE", "", ""};
    for (int event = 1; event <= EventCount; ++event) {
        EXPECT_EQ(DefaultCommand(event, w, true), nt[event - 1]) << event;
        EXPECT_EQ(DefaultCommand(event, w, false), other[event - 1]) << event;
    }
}

TEST_F(SettingsRecord, DefaultCommandsOnThisPlatformUseTheSettingsFolder)
{
    platform::fake::SetWindowsDirectory("/home/ann/.config/quorzane");
    platform::fake::SetPlatformId(platform::PlatformWin32NT);
    EXPECT_EQ(DefaultCommand(5, WindowsDirectory(), IsWindowsNT()),
              "/home/ann/.config/quorzane" + Separator + "System32\\cmd.exe");
}

TEST_F(SettingsRecord, DispatchRowsNameTheirOwnFields)
{
    TSettings settings;
    for (int event = 1; event <= EventCount; ++event) {
        EventCommand(settings, event) = std::to_string(event);
        EventEnabled(settings, event) = event % 2 == 0;
    }
    EXPECT_EQ(settings.Event1, "1");
    EXPECT_EQ(settings.Event5, "5");
    EXPECT_EQ(settings.Event8, "8");
    EXPECT_FALSE(settings.DetectEvent1);
    EXPECT_TRUE(settings.DetectEvent4);
    EXPECT_FALSE(settings.DetectEvent7);
    EXPECT_TRUE(settings.DetectEvent8);
}

TEST_F(SettingsRecord, StartsZeroFalseAndEmpty)
{
    const TSettings fresh;
    EXPECT_TRUE(fresh.Event1.empty());
    EXPECT_EQ(fresh.SensitivityInPixels, 0);
    EXPECT_FALSE(fresh.TaskBarAnimation);
    EXPECT_EQ(fresh.TimesInProgram, 0);
    static_assert(sizeof(fresh.DetectMouseMoveMents) == 1, "a Boolean setting is one byte");
}

} // namespace
