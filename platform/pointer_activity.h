#pragma once
// Pointer activity: tells a program that has stopped sampling the cursor
// while it stands still when it may have moved again. Real motion is
// reported at once; a change of the screen layout too; a pointer moved by a
// program (a warp, which sends no motion of a device) is seen by a slow
// check of the position.

#include "platform/cursor.h"

#include <functional>

namespace platform {

// About how often the slow check looks at the position while watching
// (milliseconds).
inline constexpr int PointerRestCheckInterval = 1000;

// Starts watching the pointer that now rests at `restingAt`. `moved` is
// called once, from the message loop, at the first sign that the pointer may
// have left it (also when the position can no longer be read or the display
// is lost); watching has ended by then. A second call replaces the first.
// False, calling nothing, where the pointer cannot be watched: the caller
// then goes on sampling.
bool WatchPointerRest(const Point& restingAt, std::function<void()> moved);

// Stops watching without calling anything; nothing when not watching.
void StopWatchingPointer();

// The user is about to deal with the program (its options are shown): a
// source of the pointer that says nothing when it goes away is asked whether
// it still runs, so that a lost one is said and replaced now rather than
// never. Nothing where the pointer's source tells of its own end.
void CheckPointerSource();

} // namespace platform
