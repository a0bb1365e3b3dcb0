#pragma once
// Test double of the foreground group: a button state and an active window
// that the tests set by hand, and a count of the reads.

#include "platform/foreground.h"

namespace platform::fake {

void SetPointerButtonHeld(bool held);
void SetForegroundWindow(const ForegroundWindow& window);
// Reads of the buttons and of the active window so far.
int ButtonReads();
int WindowReads();
// No button held, no window, counts 0.
void ResetForeground();

} // namespace platform::fake
