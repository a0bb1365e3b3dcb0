// The foreground operations of the platform layer: from the compositor's
// source where one is in use and tells, else from the X server.

#include "platform/foreground.h"

#include "platform/linux/wayland/pointer_source.h"
#include "platform/linux/x11/active_window_x11.h"
#include "platform/linux/x11/pointer_x11.h"

#include <optional>
#include <utility>

namespace platform {

bool AnyPointerButtonHeld()
{
    // The X server's buttons are kept by its cursor reads, which stop while a
    // compositor's source is in use: they would be stale.
    if (const CompositorPointer* source = CompositorPointerInUse())
        return source->ButtonHeld().value_or(false);
    return x11::PointerButtonsHeld();
}

ForegroundWindow GetForegroundWindow()
{
    if (const CompositorPointer* source = CompositorPointerInUse()) {
        if (std::optional<ForegroundWindow> window = source->Foreground())
            return *std::move(window);
    }
    // In a Wayland session this is XWayland's window manager, which reports
    // the X11 windows it activates and no others.
    return x11::ActiveWindow();
}

} // namespace platform
