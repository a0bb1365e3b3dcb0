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

struct TerminationHandlers {
    // Ends the program through the orderly path, for a request that nobody
    // is there to answer. Runs on the user-interface thread, from the loop.
    std::function<void()> endWithoutAsking = [] {};
    // The session is about to end and the user may still be asked: false
    // refuses the end of the session and the program runs on.
    std::function<bool()> mayEndSession = [] { return true; };
    // Writes the settings at once: the session takes a checkpoint, or it
    // ends and the program may be gone before its message loop runs again.
    std::function<void()> saveNow = [] {};
};

// From now on the handlers answer the requests. Call it once, after the
// application object exists.
void WatchTerminationRequests(TerminationHandlers handlers);

} // namespace platform
