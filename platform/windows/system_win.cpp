#include "platform/system.h"

#include "platform/windows/win32.h"

#include <array>

namespace platform {
namespace {

// The classic size of the version record, which the system checks.
constexpr DWORD VersionRecordSize = 148;
static_assert(sizeof(OSVERSIONINFOA) == VersionRecordSize);

} // namespace

std::string GetWindowsDirectory()
{
    std::array<char, 512> buffer{};
    const UINT length = ::GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    // A longer path than the buffer holds reports the size it needs instead.
    if (length == 0 || length >= buffer.size())
        return {};
    return std::string(buffer.data(), length);
}

std::uint32_t GetPlatformId()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = VersionRecordSize;
    ::GetVersionExA(&version);
    return version.dwPlatformId;
}

} // namespace platform
