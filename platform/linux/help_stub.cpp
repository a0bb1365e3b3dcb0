// No help viewer yet: every request reports that it was not carried out.

#include "platform/help.h"

namespace platform {

bool WinHelp(HelpOwner, const std::string&, std::uint32_t, std::uint32_t) { return false; }

} // namespace platform
