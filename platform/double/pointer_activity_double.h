#pragma once
// Test double of pointer activity: records the watch, and lets the tests
// report motion by hand.

#include "platform/cursor.h"

namespace platform::fake {

bool WatchingPointer();
// Where the current or the last watch began.
Point WatchedRest();
// Ends the watch and calls its `moved`, as the first motion would; nothing
// when not watching.
void ReportPointerMotion();
// While false, the pointer cannot be watched.
void SetPointerActivityAvailable(bool available);
// Available, not watching.
void ResetPointerActivity();

} // namespace platform::fake
