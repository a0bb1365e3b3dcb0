#include "settings/startup.h"

#include "platform/help.h"
#include "platform/system.h"
#include "settings/global.h"

#include <limits>

std::string ProgramDirectory;
std::string ApplicationHelpFile;

std::string DirectoryWithBackslash(const std::string& path)
{
    // ":" ends a drive letter only where the separator is the backslash; on
    // this side of the platform layer it is an ordinary file-name character.
    const std::string ends = platform::PathSeparator == '\\' ? "\\:" : std::string(1, platform::PathSeparator);
    const std::size_t end = path.find_last_of(ends);
    std::string directory = end == std::string::npos ? std::string() : path.substr(0, end + 1);
    if (directory.empty() || directory.back() != platform::PathSeparator)
        directory += platform::PathSeparator;
    return directory;
}

void StartSettings(const std::string& programFile)
{
    ProgramDirectory = DirectoryWithBackslash(programFile);
    ApplicationHelpFile = ProgramDirectory + HelpFileName;
    LoadSettings();
    // No window exists yet to own the help viewer, and nobody waits for it.
    if (Settings.TimesInProgram == 0)
        platform::WinHelp(platform::NoHelpOwner, ApplicationHelpFile, platform::HelpContext, FirstStartHelpContext);
    // A hand-edited count at the top of the range stays there instead of
    // overflowing.
    if (Settings.TimesInProgram < std::numeric_limits<std::int32_t>::max())
        ++Settings.TimesInProgram;
}
