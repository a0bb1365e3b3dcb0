#pragma once
// The notice that a Wayland session limits what the program can see.

namespace platform {

// The program reads the cursor through X11, so in a Wayland session (it runs
// under XWayland there) it sees the cursor only while the cursor is over X11
// windows. Says so once, on standard error and in a balloon from the tray
// icon when one shows; does nothing outside a Wayland session.
void NoteWaylandSession();

} // namespace platform
