#pragma once
// Finding the program that a command line starts.

#include <string>
#include <string_view>
#include <vector>

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

struct ProgramInvocation {
    std::string path;
    std::vector<std::string> arguments; // the first is the program's name as written
    int error = 0;                      // an errno value when no program was found
};

// The program that `commandLine` starts and its arguments. A line that does
// not begin with a quote may name a program whose path holds blanks: the
// text up to each blank is tried in turn, shortest first, and the first that
// names a program file (found as FindProgram finds one) wins; the rest of the
// line gives the arguments. Otherwise, and when no such text names one, the
// first word of the line is the program.
ProgramInvocation FindInvocation(std::string_view commandLine, const std::string& searchPath);

// PATH of this program's environment, or the system's default search path.
std::string ProgramSearchPath();

} // namespace platform
