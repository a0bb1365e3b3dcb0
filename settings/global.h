#pragma once
// The settings record: the program's whole configuration, one per process,
// read and assigned directly by every part of the program.

#include "settings/guard_settings.h"
#include "settings/profile_file.h"

#include <cstdint>
#include <stdexcept>
#include <string>

struct TSettings {
    std::string Event1;
    std::string Event2;
    std::string Event3;
    std::string Event4;
    std::string Event5;
    std::string Event6;
    std::string Event7;
    std::string Event8;
    std::int32_t SensitivityInPixels = 0;
    std::int32_t SensitivityInTime = 0;
    std::int32_t CornerWaitTime = 0;
    bool TaskBarAnimation = false;
    bool DetectMouseMoveMents = false;
    bool DetectEvent1 = false;
    bool DetectEvent2 = false;
    bool DetectEvent3 = false;
    bool DetectEvent4 = false;
    bool DetectEvent5 = false;
    bool DetectEvent6 = false;
    bool DetectEvent7 = false;
    bool DetectEvent8 = false;
    std::int32_t TimesInProgram = 0;
    // Kept in a section of their own after the 22 entries above.
    TGuardSettings Guards;

    bool operator==(const TSettings&) const = default;
};

// Zero, false and empty until the settings are loaded at start-up.
extern TSettings Settings;

inline constexpr int EventCount = 8;

// The command and the switch of event 1..8 (the dispatch table's rows).
std::string& EventCommand(TSettings& settings, int event);
bool& EventEnabled(TSettings& settings, int event);

inline constexpr std::int32_t DefaultSensitivityInPixels = 150;
inline constexpr std::int32_t DefaultSensitivityInTime = 200;
inline constexpr std::int32_t DefaultCornerWaitTime = 1000;
inline constexpr bool DefaultTaskBarAnimation = true;
inline constexpr bool DefaultDetectMouseMoveMents = true;
inline constexpr bool DefaultDetectEvent = true;
inline constexpr std::int32_t DefaultTimesInProgram = 0;

// The Windows directory with one separator appended, whatever its last
// character is.
std::string WindowsDirectory();

// True exactly when the platform identifies itself as the NT family.
bool IsWindowsNT();

// The default command of event 1..8 for the Windows directory `windowsDirectory`
// (as WindowsDirectory() gives it) and the platform family `nt`.
std::string DefaultCommand(int event, const std::string& windowsDirectory, bool nt);

// The settings file, named without a directory: it lives in the Windows
// directory. Holding the name touches nothing on the disk.
inline constexpr const char* SettingsFileName = "QRVN.INI";
extern const TProfileFile SettingsFile;

// Raised by SaveSettings when an entry cannot be written.
class ESettingsWriteError : public std::runtime_error {
public:
    explicit ESettingsWriteError(const std::string& fileName) : std::runtime_error("Unable to write to " + fileName) {}
};

// Fills every field of Settings from the settings file, entry by entry; an
// entry that is missing or unusable gives the field its default. Never fails.
void LoadSettings();

// Writes every field of Settings to the settings file, one entry at a time in
// the order of loading. Throws ESettingsWriteError at the first entry that
// cannot be written; the entries after it are not written.
void SaveSettings();

// SaveSettings for a shutdown that nobody is there to answer (a signal, the
// end of the session, a lost display): a failure goes to standard error as
// one line, and the caller goes on at once. True when everything was written.
bool SaveSettingsWithoutAsking();
