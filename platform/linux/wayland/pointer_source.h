#pragma once
// Where the program's cursor comes from: the X server, or, in a Wayland
// session, a source in the compositor that stands in for it.

#include "platform/linux/wayland/compositor_pointer.h"

namespace platform {

// Makes `source` the one in use, or the X server's pointer for nullptr. The
// source stays owned by its parent; it is dropped when it is destroyed.
void UseCompositorPointer(CompositorPointer* source);

// The source in use; nullptr while the X server's pointer is read.
CompositorPointer* CompositorPointerInUse();

// Whether the program runs in a Wayland session, on XWayland.
bool InWaylandSession();

} // namespace platform
