// The Windows platform layer's cursor, system and profile groups against the
// system itself, and the settings file on it.

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/monitors.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "settings/global.h"
#include "platform/windows/win32.h"

#include "tests/conformance/temp_folder.h"
#include "tests/windows/windows_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(WindowsSystem, TheWindowsDirectoryIsAFolderWithoutAClosingSeparator)
{
    const std::string folder = platform::GetWindowsDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_EQ(WindowsDirectory(), folder + "\\");
}

TEST(WindowsSystem, AnNtSystemAnswersAsNt)
{
    EXPECT_EQ(platform::GetPlatformId(), platform::PlatformWin32NT);
    EXPECT_TRUE(IsWindowsNT());
    EXPECT_EQ(platform::TDisplayHold().UnavailableReason(), "");
}

TEST(WindowsCursor, ReadsWhereTheCursorIsAndHowLargeTheScreenIs)
{
    for (const POINT place : {POINT{100, 120}, POINT{0, 0}, POINT{5, 700}}) {
        ASSERT_TRUE(SetCursorPos(place.x, place.y));
        platform::Point cursor{-1, -1};
        ASSERT_TRUE(platform::GetCursorPos(cursor));
        EXPECT_EQ(cursor.x, place.x);
        EXPECT_EQ(cursor.y, place.y);
    }
    EXPECT_GT(platform::GetSystemMetrics(platform::SystemMetric::ScreenWidth), 0);
    EXPECT_EQ(platform::GetSystemMetrics(platform::SystemMetric::ScreenWidth), ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(platform::GetSystemMetrics(platform::SystemMetric::ScreenHeight), ::GetSystemMetrics(SM_CYSCREEN));
}

// The primary monitor is where the cursor's coordinates start; a change of
// the display, broadcast to the top-level windows, is reported while
// watching and not after.
TEST(WindowsMonitors, ThePrimaryStartsAtTheOriginAndChangesAreReported)
{
    const std::vector<platform::MonitorRect> monitors = platform::GetMonitorRects();
    const platform::MonitorRect primary{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_NE(std::find(monitors.begin(), monitors.end(), primary), monitors.end());

    int changes = 0;
    platform::WatchMonitors([&changes] { ++changes; });
    const LPARAM size = MAKELPARAM(primary.width, primary.height);
    SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, size, SMTO_NORMAL, 5000, nullptr);
    EXPECT_TRUE(wintest::PumpUntil([&changes] { return changes > 0; }));
    platform::StopWatchingMonitors();
    const int watched = changes;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, size, SMTO_NORMAL, 5000, nullptr);
    wintest::PumpUntil([] { return false; }, 200);
    EXPECT_EQ(changes, watched);
}

class WindowsProfile : public ::testing::Test {
protected:
    void SetUp() override { fs::current_path(folder.Path()); }
    void TearDown() override { fs::current_path(startDirectory); }

    const fs::path startDirectory = fs::current_path();
    conformance::TempFolder folder;
};

TEST_F(WindowsProfile, ANameWithoutFolderLivesInTheWindowsDirectory)
{
    const std::string name = "quorzane-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
    const fs::path path = fs::path(platform::GetWindowsDirectory()) / name;
    ASSERT_TRUE(platform::WritePrivateProfileString("OPTIONS", "EVENT1", "x", name));
    EXPECT_TRUE(fs::exists(path));
    EXPECT_FALSE(fs::exists(folder.Path() / name));
    EXPECT_EQ(platform::GetPrivateProfileString("OPTIONS", "Event1", "", 1024, name), "x");
    fs::remove(path);
}

TEST_F(WindowsProfile, ANameWithAFolderStartsFromTheCurrentDirectory)
{
    ASSERT_TRUE(platform::WritePrivateProfileString("OPTIONS", "EVENT1", "x", "sub\\q.ini"));
    EXPECT_TRUE(fs::exists(folder.Path() / "sub" / "q.ini"));
    EXPECT_EQ(platform::GetPrivateProfileString("OPTIONS", "Event1", "", 1024, "sub/q.ini"), "x");
}

// The settings file of a first start, in the Windows directory, on the
// system's own profile functions.
TEST(WindowsSettingsFile, AFirstStartWritesTheWholeFileAndReadsItBack)
{
    const fs::path file = fs::path(platform::GetWindowsDirectory()) / SettingsFileName;
    fs::remove(file);
    Settings = TSettings{};
    LoadSettings();
    const std::string w = WindowsDirectory();
    EXPECT_EQ(Settings.Event4, w + "System32\\CALC.EXE");
    Settings.TimesInProgram = 1;
    SaveSettings();

    std::string lines;
    for (const char* line : {"[OPTIONS]", "EVENT1=?"})
        lines += std::string(line) + "\r\n";
    lines += "EVENT2=" + w + "EXPLORER.EXE /n,/e,C:\\\r\nEVENT3=" + w + "NOTEPAD.EXE\r\nEVENT4=" + w +
             "System32\\CALC.EXE\r\nEVENT5=" + w + "System32\\cmd.exe\r\nEVENT6=" + w + "System32\\PBRUSH.EXE\r\n";
    for (const char* line : {"EVENT7=", "EVENT8=", "SensitivityInPixels=150", "SensitivityInTime=200",
                             "CornerWaitTime=1000", "TaskBarAnimation=1", "DetectMouseMoveMents=1", "DetectEvent1=1",
                             "DetectEvent2=1", "DetectEvent3=1", "DetectEvent4=1", "DetectEvent5=1", "DetectEvent6=1",
                             "DetectEvent7=1", "DetectEvent8=1", "TimesInProgram=1"})
        lines += std::string(line) + "\r\n";
    EXPECT_EQ(conformance::FileBytes(file), lines);

    const TSettings saved = Settings;
    Settings = TSettings{};
    LoadSettings();
    EXPECT_TRUE(Settings == saved);
    fs::remove(file);
}

} // namespace
