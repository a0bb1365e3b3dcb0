#pragma once
// Whether the program can reach the display server it needs.

#include <string>

namespace platform {

// Empty when an X server can be reached; otherwise the reason why not.
std::string DisplayUnavailableReason();

} // namespace platform
