#pragma once
// The program's own command line: --help and --version, handled before
// anything else starts. Every other argument is reported once and ignored, as
// the program has always ignored its command line.

#include <optional>
#include <ostream>

// The exit status when the program is to end at once (after --help or
// --version); nothing when it is to start.
std::optional<int> HandleProgramArguments(int argc, const char* const argv[], std::ostream& out, std::ostream& err);
