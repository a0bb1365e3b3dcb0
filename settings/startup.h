#pragma once
// The settings' share of start-up: where the program and its help file are,
// the loading of the settings and the help on the very first start.

#include <cstdint>
#include <string>

inline constexpr const char* HelpFileName = "QRVN.HLP";
// The help topic that greets the user at the first start.
inline constexpr std::uint32_t FirstStartHelpContext = 1012;

// The folder of the program file, ending in a separator; set by StartSettings.
extern std::string ProgramDirectory;
// The application's help file: ProgramDirectory followed by "QRVN.HLP"; set
// by StartSettings and opened by the options dialog at its topics.
extern std::string ApplicationHelpFile;

// `path` up to and including its last separator (or, where paths carry drive
// letters, its last ":"), with a separator appended when the result does not
// end in one; "" gives a lone separator.
std::string DirectoryWithBackslash(const std::string& path);

// Runs before any form exists: sets ProgramDirectory and ApplicationHelpFile
// from `programFile` (the running executable's full path), loads the
// settings, opens the first-start help when TimesInProgram is 0 and then
// counts this start in memory.
void StartSettings(const std::string& programFile);
