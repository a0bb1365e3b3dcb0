#pragma once
// Message windows as objects, for the other groups of the Linux layer.

#include "platform/messagewindow.h"

class QObject;

namespace platform::message_windows {

// The object behind a live message window, or nullptr.
QObject* Find(WindowHandle window);

} // namespace platform::message_windows
