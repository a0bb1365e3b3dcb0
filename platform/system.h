#pragma once
// The system's folder for per-user settings and the platform's identity.

#include <cstdint>
#include <string>

namespace platform {

// The separator that ends a directory in the program's path rules.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// The folder where profile files named without a directory live, without a
// trailing separator (unless it is a root).
std::string GetWindowsDirectory();

inline constexpr std::uint32_t PlatformWin32s = 0;
inline constexpr std::uint32_t PlatformWin32Windows = 1;
inline constexpr std::uint32_t PlatformWin32NT = 2;

// The platform identifier of the running system.
std::uint32_t GetPlatformId();

} // namespace platform
