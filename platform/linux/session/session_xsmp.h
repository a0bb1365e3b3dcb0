#pragma once
// The program as a client of the X session manager (XSMP), which the
// desktop names in SESSION_MANAGER: a checkpoint saves the settings and the
// program runs on; the end of the session may ask the user, saves, and the
// program ends when the manager says die; a cancelled end changes nothing.
// When the manager goes away the program runs on without it.

#include "platform/termination.h"

class QObject;

namespace platform {

// Connects when SESSION_MANAGER names a manager; the connection is owned by
// `owner` and answers the manager from its message loop.
void StartSessionClient(const TerminationHandlers& handlers, QObject& owner);

} // namespace platform
