#pragma once
// Test double of the cursor and screen group: a cursor and a screen that the
// tests set by hand.

#include <cstdint>

namespace platform::fake {

void SetCursor(std::int32_t x, std::int32_t y);
// While set, every cursor read reports failure.
void SetCursorReadFails(bool fails);
void SetScreenSize(std::int32_t width, std::int32_t height);
// Number of cursor reads so far (failed ones included).
int CursorReads();
// An 800 x 600 screen, the cursor at (0, 0), reads succeeding, count 0.
void ResetCursorAndScreen();

} // namespace platform::fake
