#include "platform/help.h"

#include "platform/windows/win32.h"

namespace platform {

bool WinHelp(HelpOwner owner, const std::string& helpFile, std::uint32_t command, std::uint32_t data)
{
    return WinHelpA(win32::ToHwnd(owner), helpFile.c_str(), command, data) != 0;
}

} // namespace platform
