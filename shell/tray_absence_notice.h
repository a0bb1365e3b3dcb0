#pragma once
// On a desktop without a tray the icon never shows, and the program has no
// presence on screen at all: the user is told once how to reach it.

#include <chrono>
#include <iosfwd>

class QObject;

// Where no notification area shows the icon `wait` after this call, says once,
// on `errors` and as a desktop notice, that starting the program again opens
// its options. A tray that comes later changes nothing. The one timer is
// `owner`'s and goes with it.
void NoteMissingTrayAfter(std::chrono::milliseconds wait, QObject& owner, std::ostream& errors);
