#include "platform/linux/process/program_search.h"

#include "platform/linux/process/command_line_words.h"

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

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

// The program file that `name` names, if it is one that could run now.
std::optional<std::string> RunnableProgram(const std::string& name, const std::string& searchPath)
{
    if (name.find('/') == std::string::npos) {
        ProgramLocation found = FindProgram(name, searchPath);
        return found.error == 0 ? std::optional(std::move(found.path)) : std::nullopt;
    }
    return Examine(name) == Candidate::Runnable ? std::optional(name) : std::nullopt;
}

// The unquoted start of the line up to a blank, for each blank in turn.
std::optional<ProgramInvocation> FindProgramWithBlanks(std::string_view line, const std::string& searchPath)
{
    const std::size_t start = line.find_first_not_of(WordBlanks);
    if (start == std::string_view::npos || line[start] == '"')
        return std::nullopt;
    for (std::size_t end = start; end <= line.size(); ++end) {
        if (end < line.size() && !IsWordBlank(line[end]))
            continue;
        if (IsWordBlank(line[end - 1]))
            continue; // a run of blanks is tried once
        const std::string name(line.substr(start, end - start));
        // Quotes are read by the rules of words from here on.
        if (name.find('"') != std::string::npos)
            return std::nullopt;
        if (auto path = RunnableProgram(name, searchPath)) {
            std::vector<std::string> arguments = SplitCommandLine(line.substr(end));
            arguments.insert(arguments.begin(), name);
            return ProgramInvocation{std::move(*path), std::move(arguments), 0};
        }
    }
    return std::nullopt;
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

ProgramInvocation FindInvocation(std::string_view commandLine, const std::string& searchPath)
{
    if (auto withBlanks = FindProgramWithBlanks(commandLine, searchPath))
        return std::move(*withBlanks);
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        return {{}, {}, ENOENT};
    ProgramLocation program = FindProgram(words.front(), searchPath);
    return {std::move(program.path), std::move(words), program.error};
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
