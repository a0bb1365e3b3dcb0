#pragma once
// Test double of the icons: the program's fourteen icon names answer with
// fixed handles, every other name with none.

#include "platform/icon.h"

#include <string>

namespace platform::fake {

// The handle that LoadIconA gives for `name`: "ICON_<n>" for n = 1..13 is
// 0x100 + n, "MAINICON" is 0x200, any other name 0.
IconHandle IconHandleOf(const std::string& name);
int IconLoads();
void ResetIcons();

} // namespace platform::fake
