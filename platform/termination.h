#pragma once
// Requests from outside to end the program: the system's termination
// signals and the end of the desktop session.

#include <functional>

namespace platform {

// From now on `onRequest` runs on the user-interface thread, from the
// message loop, each time the program is asked to end. Call it once, after
// the application object exists.
void WatchTerminationRequests(std::function<void()> onRequest);

} // namespace platform
