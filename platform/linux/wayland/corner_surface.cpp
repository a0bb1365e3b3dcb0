#include "platform/linux/wayland/corner_surface.h"

#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <utility>

namespace platform::wayland {
namespace {

constexpr char Namespace[] = "quorzane-corner";

std::uint32_t Anchors(Corner corner)
{
    switch (corner) {
    case Corner::UpperLeft:
        return ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
    case Corner::LowerLeft:
        return ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
    case Corner::UpperRight:
        return ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    case Corner::LowerRight:
        return ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    }
    return 0;
}

// Said explicitly, although a new surface's input region is its whole area
// already: the pixel must take the pointer, or no enter would ever come.
void TakePointerOnPixel(wl_compositor* compositor, wl_surface* surface)
{
    const Owned<wl_region> pixel(wl_compositor_create_region(compositor));
    wl_region_add(pixel.get(), 0, 0, 1, 1);
    wl_surface_set_input_region(surface, pixel.get());
}

} // namespace

CornerSurface::CornerSurface(const CornerParts& parts, wl_output* output, Corner corner, std::function<void()> shown,
                             std::function<void()> closed)
    : parts_(parts)
    , corner_(corner)
    , onShown_(std::move(shown))
    , onClosed_(std::move(closed))
    , surface_(wl_compositor_create_surface(parts.compositor))
    , layerSurface_(zwlr_layer_shell_v1_get_layer_surface(parts.layerShell, surface_.get(), output,
                                                          ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, Namespace))
{
    static constexpr zwlr_layer_surface_v1_listener Listener = {
        .configure = OnConfigure,
        .closed = OnClosed,
    };
    zwlr_layer_surface_v1_add_listener(layerSurface_.get(), &Listener, this);
    zwlr_layer_surface_v1_set_size(layerSurface_.get(), 1, 1);
    zwlr_layer_surface_v1_set_anchor(layerSurface_.get(), Anchors(corner));
    // -1: on the output's very corner, also where a panel keeps an exclusive
    // zone (0 would move the pixel off the corner, out of the panel's way).
    zwlr_layer_surface_v1_set_exclusive_zone(layerSurface_.get(), -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layerSurface_.get(),
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    // The first commit carries no buffer: the compositor answers with the
    // configure after which the pixel may be attached.
    wl_surface_commit(surface_.get());
}

void CornerSurface::OnConfigure(void* data, zwlr_layer_surface_v1* layerSurface, std::uint32_t serial, std::uint32_t,
                                std::uint32_t)
{
    auto& corner = *static_cast<CornerSurface*>(data);
    zwlr_layer_surface_v1_ack_configure(layerSurface, serial);
    if (corner.shown_)
        wl_surface_commit(corner.surface_.get());
    else
        corner.Show();
}

void CornerSurface::OnClosed(void* data, zwlr_layer_surface_v1*)
{
    auto& corner = *static_cast<CornerSurface*>(data);
    // The owner may destroy this surface from here; nothing follows.
    const std::function<void()> closed = corner.onClosed_;
    closed();
}

// The size asked for is kept whatever the configure suggests: a pixel.
void CornerSurface::Show()
{
    TakePointerOnPixel(parts_.compositor, surface_.get());
    wl_surface_attach(surface_.get(), parts_.pixel, 0, 0);
    wl_surface_damage(surface_.get(), 0, 0, 1, 1);
    wl_surface_commit(surface_.get());
    shown_ = true;
    onShown_();
}

} // namespace platform::wayland
