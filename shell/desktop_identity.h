#pragma once
// How the desktop knows the program: its name (the title of its tray item,
// and the class of its windows, which X11 task bars match to the entry),
// its desktop entry (by which Wayland docks group its windows under the
// menu entry) and the main icon on every window.

void SetDesktopIdentity();
