#pragma once
// Hints (tool tips) throughout the application: a hint appears once the mouse
// has rested on its control for HintPause and goes again a set time after it
// appeared.

// Milliseconds the mouse rests on a control before its hint appears.
inline constexpr int HintPause = 500;

// From now on every hint of the application is hidden `milliseconds` after it
// appeared, and appears after HintPause. Needs the application object.
void SetHintHidePause(int milliseconds);
