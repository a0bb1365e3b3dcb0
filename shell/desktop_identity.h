#pragma once
// How the desktop knows the program: its name (the title of its tray item),
// its desktop entry (so that task bars and docks group its windows under the
// menu entry) and the main icon on every window.

void SetDesktopIdentity();
