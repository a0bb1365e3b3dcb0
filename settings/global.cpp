#include "settings/global.h"

#include "platform/system.h"

#include <array>
#include <cassert>

TSettings Settings;

namespace {

constexpr std::array<std::string TSettings::*, EventCount> EventCommands = {
    &TSettings::Event1, &TSettings::Event2, &TSettings::Event3, &TSettings::Event4,
    &TSettings::Event5, &TSettings::Event6, &TSettings::Event7, &TSettings::Event8,
};

constexpr std::array<bool TSettings::*, EventCount> EventSwitches = {
    &TSettings::DetectEvent1, &TSettings::DetectEvent2, &TSettings::DetectEvent3, &TSettings::DetectEvent4,
    &TSettings::DetectEvent5, &TSettings::DetectEvent6, &TSettings::DetectEvent7, &TSettings::DetectEvent8,
};

struct DefaultCommandRow {
    bool inWindowsDirectory;
    const char* nt;
    const char* other;
};

// Event 1 opens the chooser and events 7 and 8 have no command; the others
// name programs in the Windows directory, some of them by platform family.
constexpr std::array<DefaultCommandRow, EventCount> DefaultCommands = {{
    {false, "?", "?"},
    {true, "EXPLORER.EXE /n,/e,C:\\", "EXPLORER.EXE /n,/e,C:\\"},
    {true, "NOTEPAD.EXE", "NOTEPAD.EXE"},
    {true, "System32\\CALC.EXE", "CALC.EXE"},
    {true, "System32\\cmd.exe", "DOSPRMPT.PIF"},
    {true, "System32\\PBRUSH.EXE", "PBRUSH.EXE"},
    {false, "", ""},
    {false, "", ""},
}};

} // namespace

std::string& EventCommand(TSettings& settings, int event)
{
    assert(event >= 1 && event <= EventCount);
    return settings.*EventCommands[event - 1];
}

bool& EventEnabled(TSettings& settings, int event)
{
    assert(event >= 1 && event <= EventCount);
    return settings.*EventSwitches[event - 1];
}

std::string WindowsDirectory() { return platform::GetWindowsDirectory() + platform::PathSeparator; }

bool IsWindowsNT() { return platform::GetPlatformId() == platform::PlatformWin32NT; }

std::string DefaultCommand(int event, const std::string& windowsDirectory, bool nt)
{
    assert(event >= 1 && event <= EventCount);
    const DefaultCommandRow& row = DefaultCommands[event - 1];
    return (row.inWindowsDirectory ? windowsDirectory : std::string()) + (nt ? row.nt : row.other);
}
