#include "platform/system.h"
#include "platform/double/system_double.h"

namespace platform {
namespace {
struct FakeSystemState {
    std::string windowsDirectory = "C:\\WINDOWS";
    std::uint32_t platformId = PlatformWin32Windows;
    int platformIdQueries = 0;
};
FakeSystemState state;
} // namespace

std::string GetWindowsDirectory() { return state.windowsDirectory; }

std::uint32_t GetPlatformId()
{
    ++state.platformIdQueries;
    return state.platformId;
}

namespace fake {
void SetWindowsDirectory(const std::string& directory) { state.windowsDirectory = directory; }
void SetPlatformId(std::uint32_t id) { state.platformId = id; }
int PlatformIdQueries() { return state.platformIdQueries; }
void ResetSystem() { state = FakeSystemState{}; }
} // namespace fake

} // namespace platform
