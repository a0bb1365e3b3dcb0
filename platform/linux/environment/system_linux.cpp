// The per-user settings folder of the XDG base directories stands in for the
// Windows directory; a multi-user system answers as the NT family does.

#include "platform/system.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {
namespace {

std::string HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::string ConfigHome()
{
    // Relative values are invalid by the XDG rules and are ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    std::string home = HomeDirectory();
    if (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return (home == "/" ? "" : home) + "/.config";
}

} // namespace

std::string GetWindowsDirectory()
{
    std::string config = ConfigHome();
    while (config.size() > 1 && config.back() == '/')
        config.pop_back();
    return (config == "/" ? "" : config) + "/quorzane";
}

std::uint32_t GetPlatformId() { return PlatformWin32NT; }

} // namespace platform
