#pragma once
// Requests from outside to end the program: the system's termination
// signals and the end of the desktop session.

#include <functional>

namespace platform {

// Holds the termination signals back from here until WatchTerminationRequests
// takes them over, so that one arriving during start-up is not lost to the
// default action: it takes the orderly path once the message loop runs. Call
// it first thing in main, before any thread exists.
void HoldTerminationRequests();

// From now on `onRequest` runs on the user-interface thread, from the
// message loop, each time the program is asked to end. When the desktop
// session is about to end, `mayEndSession` is asked first; false refuses the
// end of the session and the program runs on. Call it once, after the
// application object exists.
void WatchTerminationRequests(std::function<void()> onRequest,
                              std::function<bool()> mayEndSession = [] { return true; });

} // namespace platform
