#pragma once
// The compositors' own ways to let a program follow the pointer, in the
// order they are tried. Each returns its source, owned by the caller, or
// nullptr: with `why` empty where the desktop does not offer it, with the
// reason where it does and the source could not start.

#include "platform/linux/wayland/compositor_pointer.h"

#include <memory>

namespace platform {

// Plasma: a script that KWin runs, reporting over the session bus.
std::unique_ptr<CompositorPointer> StartKWinBridge(QString& why);

// GNOME: the program's Shell extension, reporting over the session bus.
std::unique_ptr<CompositorPointer> StartGnomeBridge(QString& why);

// wlroots desktops and others with wlr-layer-shell: the corner pixels only.
std::unique_ptr<CompositorPointer> StartCornerSurfaces(QString& why);

} // namespace platform
