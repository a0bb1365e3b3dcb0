#pragma once
// The help engine: opens the program's help file at a topic in a help viewer
// window, without waiting for it.

#include <cstdint>
#include <string>

namespace platform {

// The window that owns the help viewer: a native window id, or none.
using HelpOwner = std::uintptr_t;
inline constexpr HelpOwner NoHelpOwner = 0;

// Commands of WinHelp.
inline constexpr std::uint32_t HelpContext = 1; // open the topic with context number `data`

// Carries out `command` with `data` on the help file `helpFile`. Returns
// false when the request cannot be carried out; a missing or unreadable help
// file is reported to the user by the viewer itself.
bool WinHelp(HelpOwner owner, const std::string& helpFile, std::uint32_t command, std::uint32_t data);

} // namespace platform
