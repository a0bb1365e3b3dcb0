// The program's icons are icon resources of its executable file. The
// system loads each at the standard icon size once and shares it; shared
// icons are never freed.

#include "platform/icon.h"

#include "platform/windows/win32.h"

namespace platform {

IconHandle LoadIconA(const std::string& name)
{
    return reinterpret_cast<IconHandle>(::LoadIconA(GetModuleHandleA(nullptr), name.c_str()));
}

} // namespace platform
