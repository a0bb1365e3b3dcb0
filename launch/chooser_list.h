#pragma once
// The entries of the application chooser: every configured command.

#include "settings/global.h"

#include <string>
#include <vector>

// The commands of events 1..8 in order, leaving out the empty ones and the
// chooser request "?" itself; switched-off events are listed too.
std::vector<std::string> ChooserEntries(TSettings& settings);
