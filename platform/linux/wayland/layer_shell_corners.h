#pragma once
// Corner rests on desktops that offer wlr-layer-shell (sway, Hyprland, labwc,
// river, Wayfire; KWin too): an X11 client cannot read the pointer there, but
// a Wayland client is told when the pointer enters one of its surfaces. So
// four transparent one-pixel surfaces sit on the overlay layer at the corners
// of the output at the origin (corner_output.h), on a Wayland connection of
// their own that the Qt event loop serves, and their enters and leaves are
// reported. Corners are all this source can tell: no position, no shakes.
//
// The corners follow outputs that come, go and move. Nothing runs while the
// pointer is elsewhere: no timer, and the compositor sends nothing.
//
// The pixels take the pointer, clicks included: a click on a corner pixel
// reaches no window below it.

#include <functional>
#include <memory>
#include <string>

namespace platform::wayland {

class LayerShellCorners {
public:
    // Each is called from the event loop, never from within Start or the
    // destructor; the watcher may be destroyed from any of them.
    struct Callbacks {
        // The pointer entered the pixel of corner 5 (upper left), 6 (lower
        // left), 7 (upper right) or 8 (lower right).
        std::function<void(int corner)> entered;
        // It left the corner it entered; also when that corner's surface
        // went (its output went) while the pointer was on it.
        std::function<void()> left;
        // Optional: the four corners are on an output and take the pointer,
        // after the start and after each move to another output.
        std::function<void()> placed;
        // The compositor went or ended the connection: nothing more comes,
        // and the corners are gone. Called once.
        std::function<void(const std::string& reason)> lost;
    };

    // Needs a QCoreApplication. Null, with the reason in `whyNot`, when
    // there is no Wayland display to connect to or it offers no
    // wlr-layer-shell (Weston, GNOME).
    static std::unique_ptr<LayerShellCorners> Start(Callbacks callbacks, std::string& whyNot);

    ~LayerShellCorners();
    LayerShellCorners(const LayerShellCorners&) = delete;
    LayerShellCorners& operator=(const LayerShellCorners&) = delete;

private:
    class Watch;
    explicit LayerShellCorners(std::unique_ptr<Watch> watch);

    std::unique_ptr<Watch> watch_;
};

} // namespace platform::wayland
