#pragma once
// One corner's surface: a single pixel on the overlay layer, anchored to its
// corner of an output, so that it sits above every window and panel. It takes
// no keyboard and neither pushes other surfaces aside nor is pushed by them.
// It shows a transparent pixel from the compositor's first configure on, and
// that pixel takes the pointer (its input region): the compositor then tells
// this client when the pointer enters it.

#include "platform/linux/wayland/proxy_owner.h"

#include <functional>

namespace platform::wayland {

// The program's numbers for the corner patterns.
enum class Corner { UpperLeft = 5, LowerLeft = 6, UpperRight = 7, LowerRight = 8 };

// What every corner surface is made with.
struct CornerParts {
    wl_compositor* compositor = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wl_buffer* pixel = nullptr;
};

class CornerSurface {
public:
    // `shown` is called once the pixel is committed, `closed` when the
    // compositor will show the surface no more (its output went, say); the
    // owner then destroys it.
    CornerSurface(const CornerParts& parts, wl_output* output, Corner corner, std::function<void()> shown,
                  std::function<void()> closed);
    CornerSurface(const CornerSurface&) = delete;
    CornerSurface& operator=(const CornerSurface&) = delete;

    Corner Which() const { return corner_; }
    bool Is(const wl_surface* surface) const { return surface == surface_.get(); }
    bool Shown() const { return shown_; }

private:
    static void OnConfigure(void* data, zwlr_layer_surface_v1* layerSurface, std::uint32_t serial, std::uint32_t,
                            std::uint32_t);
    static void OnClosed(void* data, zwlr_layer_surface_v1*);
    void Show();

    CornerParts parts_;
    Corner corner_;
    std::function<void()> onShown_;
    std::function<void()> onClosed_;
    bool shown_ = false;
    // The role goes before its surface.
    Owned<wl_surface> surface_;
    Owned<zwlr_layer_surface_v1> layerSurface_;
};

} // namespace platform::wayland
