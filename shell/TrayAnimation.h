#pragma once
// The tray icon's animation: thirteen frames, "ICON_1" to "ICON_13", one per
// tick of the animation timer.

#include <string>

inline constexpr int FirstAnimationFrame = 1;
inline constexpr int LastAnimationFrame = 13;
inline constexpr int AnimationInterval = 100; // milliseconds per frame

// The frame that the tick after `frame` shows: the next one, after the last
// the first again, when the animation is on; the same one when it is off.
int NextAnimationFrame(int frame, bool animationOn);

// The name of the frame's icon resource, "ICON_" followed by the number.
std::string AnimationIconName(int frame);
