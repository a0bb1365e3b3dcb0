#pragma once
// Finding the program that a command line's first word names.

#include <string>

namespace platform {

struct ProgramLocation {
    std::string path;
    int error = 0; // an errno value when no program was found
};

// A name with a slash stands as it is, relative to the current directory; a
// bare name is searched in the directories of `searchPath` (PATH's form; an
// empty entry is the current directory), in order, for an executable regular
// file. Not found gives ENOENT; found only without execute permission EACCES.
ProgramLocation FindProgram(const std::string& name, const std::string& searchPath);

// PATH of this program's environment, or the system's default search path.
std::string ProgramSearchPath();

} // namespace platform
