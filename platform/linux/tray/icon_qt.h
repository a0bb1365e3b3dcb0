#pragma once
// The images behind icon handles, for the other groups of this folder.

#include "platform/icon.h"

#include <QIcon>

namespace platform::icons {

// The image of a handle that LoadIconA gave; a transparent image of the
// standard size for 0 and for handles it did not give.
QIcon IconImage(IconHandle icon);

} // namespace platform::icons
