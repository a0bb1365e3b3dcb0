#include "platform/linux/program_search.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

enum class Candidate { Runnable, NotPermitted, Absent };

Candidate Examine(const std::string& path)
{
    // A folder that cannot be searched hides nothing that could be run.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return Candidate::Absent;
    if (!S_ISREG(status.st_mode))
        return Candidate::Absent;
    return faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0 ? Candidate::Runnable : Candidate::NotPermitted;
}

} // namespace

ProgramLocation FindProgram(const std::string& name, const std::string& searchPath)
{
    if (name.empty())
        return {{}, ENOENT};
    if (name.find('/') != std::string::npos)
        return {name, 0};

    bool notPermitted = false;
    std::string_view rest = searchPath;
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string_view directory = rest.substr(0, colon);
        std::string candidate = directory.empty() ? std::string(".") : std::string(directory);
        candidate += '/';
        candidate += name;
        switch (Examine(candidate)) {
        case Candidate::Runnable:
            return {candidate, 0};
        case Candidate::NotPermitted:
            notPermitted = true;
            break;
        case Candidate::Absent:
            break;
        }
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return {{}, notPermitted ? EACCES : ENOENT};
}

std::string ProgramSearchPath()
{
    if (const char* path = std::getenv("PATH"))
        return path;
    const std::size_t size = confstr(_CS_PATH, nullptr, 0);
    std::string fallback(size, '\0');
    if (size == 0 || confstr(_CS_PATH, fallback.data(), size) == 0)
        return "/bin:/usr/bin";
    fallback.resize(size - 1);
    return fallback;
}

} // namespace platform
