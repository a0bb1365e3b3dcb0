#include "settings/global.h"

#include "platform/system.h"

#include <array>
#include <cassert>
#include <cstdio>
#include <string_view>

TSettings Settings;
const TProfileFile SettingsFile(SettingsFileName);

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

namespace {

constexpr const char* Section = "OPTIONS";

// The command keys are read as "Event1" and written as "EVENT1"; the file's
// keys match without regard to case, so both name the same entry.
std::string CommandKeyAsRead(int event) { return "Event" + std::to_string(event); }
std::string CommandKeyAsWritten(int event) { return "EVENT" + std::to_string(event); }
std::string SwitchKey(int event) { return "DetectEvent" + std::to_string(event); }

bool DefaultCommandDependsOnPlatform(int event)
{
    const DefaultCommandRow& row = DefaultCommands[event - 1];
    return std::string_view(row.nt) != row.other;
}

void RaiseUnlessWritten(bool written)
{
    if (!written)
        throw ESettingsWriteError(SettingsFile.FileName());
}

} // namespace

void LoadSettings()
{
    const std::string windowsDirectory = WindowsDirectory();
    for (int event = 1; event <= EventCount; ++event) {
        const bool nt = DefaultCommandDependsOnPlatform(event) && IsWindowsNT();
        EventCommand(Settings, event) =
            SettingsFile.ReadString(Section, CommandKeyAsRead(event), DefaultCommand(event, windowsDirectory, nt));
    }
    Settings.SensitivityInPixels = SettingsFile.ReadInteger(Section, "SensitivityInPixels", DefaultSensitivityInPixels);
    Settings.SensitivityInTime = SettingsFile.ReadInteger(Section, "SensitivityInTime", DefaultSensitivityInTime);
    Settings.CornerWaitTime = SettingsFile.ReadInteger(Section, "CornerWaitTime", DefaultCornerWaitTime);
    Settings.TaskBarAnimation = SettingsFile.ReadBool(Section, "TaskBarAnimation", DefaultTaskBarAnimation);
    Settings.DetectMouseMoveMents =
        SettingsFile.ReadBool(Section, "DetectMouseMoveMents", DefaultDetectMouseMoveMents);
    for (int event = 1; event <= EventCount; ++event)
        EventEnabled(Settings, event) = SettingsFile.ReadBool(Section, SwitchKey(event), DefaultDetectEvent);
    Settings.TimesInProgram = SettingsFile.ReadInteger(Section, "TimesInProgram", DefaultTimesInProgram);
    LoadGuardSettings(SettingsFile, Settings.Guards);
}

void SaveSettings()
{
    for (int event = 1; event <= EventCount; ++event)
        RaiseUnlessWritten(
            SettingsFile.WriteString(Section, CommandKeyAsWritten(event), EventCommand(Settings, event)));
    RaiseUnlessWritten(SettingsFile.WriteInteger(Section, "SensitivityInPixels", Settings.SensitivityInPixels));
    RaiseUnlessWritten(SettingsFile.WriteInteger(Section, "SensitivityInTime", Settings.SensitivityInTime));
    RaiseUnlessWritten(SettingsFile.WriteInteger(Section, "CornerWaitTime", Settings.CornerWaitTime));
    RaiseUnlessWritten(SettingsFile.WriteBool(Section, "TaskBarAnimation", Settings.TaskBarAnimation));
    RaiseUnlessWritten(SettingsFile.WriteBool(Section, "DetectMouseMoveMents", Settings.DetectMouseMoveMents));
    for (int event = 1; event <= EventCount; ++event)
        RaiseUnlessWritten(SettingsFile.WriteBool(Section, SwitchKey(event), EventEnabled(Settings, event)));
    RaiseUnlessWritten(SettingsFile.WriteInteger(Section, "TimesInProgram", Settings.TimesInProgram));
    RaiseUnlessWritten(SaveGuardSettings(SettingsFile, Settings.Guards));
}

bool SaveSettingsWithoutAsking()
{
    try {
        SaveSettings();
        return true;
    } catch (const ESettingsWriteError& error) {
        std::fprintf(stderr, "Quorzane: %s.\n", error.what());
        return false;
    }
}
