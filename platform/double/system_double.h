#pragma once
// Test double of the system group: a settings folder and platform identifier
// that the tests set by hand.

#include <cstdint>
#include <string>

namespace platform::fake {

void SetWindowsDirectory(const std::string& directory);
void SetPlatformId(std::uint32_t id);
int PlatformIdQueries();
// "C:\WINDOWS" on the Windows 95 family, queries counted from 0.
void ResetSystem();

} // namespace platform::fake
