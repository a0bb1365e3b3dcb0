#pragma once
// The rules that keep a pattern from firing when the user did not mean it:
// while a mouse button is held, while the active window is full screen, in
// listed programs; and the corners of every monitor. All are off by default,
// which is the program's plain behaviour. They live in a section of their
// own, written only once the user has set one of them.

#include "settings/profile_file.h"

#include <string>
#include <vector>

struct TGuardSettings {
    bool NotWhileButtonHeld = false;
    bool NotInFullScreen = false;
    bool NotInListedPrograms = false;
    // Window classes, compared without regard to case.
    std::vector<std::string> ListedPrograms;
    bool EveryMonitorCorners = false;
    // Whether the section is in the file (read from it, or written once):
    // from then on it is saved with the rest, even at its defaults.
    bool InFile = false;

    bool operator==(const TGuardSettings&) const = default;
};

inline constexpr const char* GuardSection = "GUARDS";

// Whether `values` differ from the defaults in anything but InFile.
bool GuardsChanged(const TGuardSettings& values);

// The listed programs as one entry's text, and back: classes separated by
// ";", blanks around each removed, empty ones left out.
std::string JoinProgramList(const std::vector<std::string>& classes);
std::vector<std::string> SplitProgramList(const std::string& text);

// Reads the section into `values`. A value that is not a number reads as the
// default and is said on standard error; a missing one is the default.
void LoadGuardSettings(const TProfileFile& file, TGuardSettings& values);

// Writes the section when it is in the file or differs from the defaults;
// false at the first entry that cannot be written.
bool SaveGuardSettings(const TProfileFile& file, TGuardSettings& values);
